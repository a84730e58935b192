#include "authoring/maker_paths.h"

#include <filesystem>

std::string joined_path(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const std::size_t separator = folder.find_last_of("/\\");
    const char typed = separator == std::string::npos ? static_cast<char>(std::filesystem::path::preferred_separator)
                                                      : folder[separator];
    return separator == folder.size() - 1 ? folder + name : folder + typed + name;
}

std::string folder_name(const std::string& folder) {
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::u8path(folder)).lexically_normal();
    std::string name = absolute.filename().u8string();
    if (name.empty() || name == ".") name = absolute.parent_path().filename().u8string();
    return name;
}

std::string default_output(const std::string& source_path) {
    // The folder with its separator: "Peintres/", "C:\", "/"; empty for the current folder.
    const std::string folder = source_path.substr(0, source_path.find_last_of("/\\") + 1);
    const std::string name = folder_name(folder.empty() ? "." : folder);
    return folder + (name.empty() ? "quiz" : name) + ".exe";
}
