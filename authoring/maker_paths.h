// Paths as the maker typed them: what the tools print and write keeps the
// maker's own form (relative or full, '/' or '\').
#pragma once

#include <string>

// `name` in `folder`, joined with the separator the maker used in `folder`
// (the platform's own when it holds none); `name` alone for an empty folder.
std::string joined_path(const std::string& folder, const std::string& name);

// The folder's last name: "Peintres" for "C:\Quiz\Peintres\" as for "Peintres";
// "." names the current folder.
std::string folder_name(const std::string& folder);

// FOLDER/FOLDER.exe for FOLDER/quiz.toml: the executable that build writes
// beside a source when told no other, named after the source's folder.
std::string default_output(const std::string& source_path);
