// Where the tools keep the pictures they converted (see picture_cache.h).
#pragma once

#include <string>

// The folder named by the environment variable DEVINETTE_CACHE when it is set,
// else "Devinette\cache" in the user's local application data folder; empty
// (no cache) when neither can be had. UTF-8.
std::string picture_cache_folder();
