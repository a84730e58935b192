#include "authoring/quiz_build_win32.h"

#include <windows.h>

#include "authoring/maker_paths.h"
#include "authoring/picture_cache_folder.h"
#include "authoring/player_format.h"
#include "authoring/resource_update.h"
#include "base/owned_handle.h"
#include "base/wide_text.h"
#include "layout/panel_layout.h"
#include "layout/window_layout.h"

namespace {

std::string default_template() {
    wchar_t own_path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, own_path, MAX_PATH);
    const std::string own = length < MAX_PATH ? utf8_text(own_path) : std::string();
    const std::size_t slash = own.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : own.substr(0, slash + 1)) + "devinette.exe";
}

bool same_file(const std::string& first, const std::string& second) {
    wchar_t first_full[MAX_PATH];
    wchar_t second_full[MAX_PATH];
    return GetFullPathNameW(wide_text(first).c_str(), MAX_PATH, first_full, nullptr) &&
           GetFullPathNameW(wide_text(second).c_str(), MAX_PATH, second_full, nullptr) &&
           lstrcmpiW(first_full, second_full) == 0;
}

long long file_size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide_text(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

namespace {

int text_width_in(HFONT font, const std::string& cp1252) {
    OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || !font) return 0;
    const HGDIOBJ previous = SelectObject(dc.get(), font);
    SIZE size = {};
    const BOOL measured = GetTextExtentPoint32A(dc.get(), cp1252.data(), static_cast<int>(cp1252.size()), &size);
    SelectObject(dc.get(), previous);
    return measured ? size.cx : 0;
}

int answer_text_width(const std::string& cp1252) {
    LOGFONTA description = {};
    description.lfHeight = answer_font_height;
    description.lfWeight = answer_font_weight;
    OwnedFont font(CreateFontIndirectA(&description));
    return text_width_in(font.get(), cp1252);
}

HFONT stock_font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int code_text_width(const std::string& cp1252) { return text_width_in(stock_font(), cp1252); }

// The margins an edit control keeps in the stock font, as the header's code box has them.
int code_box_margins() {
    OwnedWindow edit(CreateWindowExA(0, "edit", "", WS_POPUP, 0, 0, 50, 16, nullptr, nullptr, nullptr, nullptr));
    if (!edit) return 0;
    SendMessageA(edit.get(), WM_SETFONT, reinterpret_cast<WPARAM>(stock_font()), FALSE);
    const LRESULT margins = SendMessageA(edit.get(), EM_GETMARGINS, 0, 0);
    return LOWORD(margins) + HIWORD(margins);
}

}  // namespace

Measures player_measures() {
    return {answer_text_width, {code_text_width, code_text_width(code_label_text), code_box_margins()}};
}

QuizBuild build_quiz(const std::string& source_path, const BuildSettings& settings) {
    QuizBuild build;
    PictureLoading conversion;
    conversion.cache.folder = picture_cache_folder();
    conversion.progress = settings.progress;
    build.check = check_quiz(source_path, {player_measures(), settings.warnings_as_errors, conversion, settings.source_text});
    if (has_error(build.check.diagnostics)) return build;
    PlayerQuiz packed;
    if (!pack_quiz(build.check.quiz, source_path, build.check.data, packed, build.failures)) return build;
    build.output = settings.output.empty() ? default_output(source_path) : settings.output;
    const std::string template_path = settings.template_path.empty() ? default_template() : settings.template_path;
    if (same_file(template_path, build.output)) {
        build.failures.push_back(file_error(build.output, {"is the template itself; the template is never changed", u8"est le modèle lui-même ; le modèle n'est jamais modifié"}));
        return build;
    }
    const QuizIdentity identity{packed.content.title, std::move(build.check.icon)};
    Diagnostic failure;
    if (!write_packed_executable(template_path, build.output, packed.resources, identity, failure)) {
        build.failures.push_back(failure);
        return build;
    }
    build.size = file_size(build.output);
    return build;
}
