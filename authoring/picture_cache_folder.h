// Where the tools keep the pictures they converted (see picture_cache.h).
#pragma once

#include <string>

// "Devinette\NAME" in the user's local application data folder; empty when it
// cannot be had. UTF-8; the folder may not exist yet.
std::string local_data_folder(const std::string& name);

// The folder named by the environment variable DEVINETTE_CACHE when it is set,
// else local_data_folder("cache"); empty (no cache) when neither can be had. UTF-8.
std::string picture_cache_folder();
