#include "base/system_error.h"

#include <windows.h>

#include "base/wide_text.h"

Message windows_error(const Message& what) {
    const DWORD code = GetLastError();
    return what + Message{": ", " : "} + windows_error_words(code);
}

Message windows_error_words(unsigned long code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return {"no such file", "ce fichier n'existe pas"};
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return {"the folder does not exist", "le dossier n'existe pas"};
    case ERROR_ACCESS_DENIED:
        return {"access denied (no permission, or the file is read-only or open in another program)",
                u8"accès refusé (pas d'autorisation, ou le fichier est en lecture seule ou ouvert dans un autre programme)"};
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return {"the file is in use by another program", u8"le fichier est utilisé par un autre programme"};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return {"the disk is full", "le disque est plein"};
    case ERROR_WRITE_PROTECT:
        return {"the disk is write-protected", u8"le disque est protégé en écriture"};
    case ERROR_NOT_READY:
        return {"the drive is not ready", u8"le lecteur n'est pas prêt"};
    case ERROR_INVALID_NAME:
        return {"the name holds characters that Windows does not allow",
                u8"le nom contient des caractères que Windows n'accepte pas"};
    case ERROR_FILENAME_EXCED_RANGE:
        return {"the path is too long", "le chemin est trop long"};
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string words = length ? utf8_text(text) : std::string();
    LocalFree(text);
    while (!words.empty() && std::string("\r\n. ").find(words.back()) != std::string::npos) words.pop_back();
    const std::string system_words = words.empty() ? std::string() : words + " ";
    return {system_words + "(Windows error " + std::to_string(code) + ")",
            system_words + "(erreur Windows " + std::to_string(code) + ")"};
}
