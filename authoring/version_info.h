// The version information resource (VS_VERSIONINFO): a tree of nodes, each a
// UTF-16 key with a text or binary value, that a packed quiz rewrites to carry
// its title as the file description.
#pragma once

#include <string>
#include <vector>

// Sets the value of every "FileDescription" in the string tables of a version
// resource to `cp1252_text`. Returns false, leaving `resource` unchanged, when
// the bytes are not a version resource or the text does not fit.
bool set_file_description(std::vector<unsigned char>& resource, const std::string& cp1252_text);
