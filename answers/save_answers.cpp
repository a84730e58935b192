#include "answers/answer_box.h"

#include "answers/evaluation.h"
#include "answers/results_file.h"
#include "app/owned_handle.h"
#include "question_panel/panel_layout.h"
#include "quiz_data/quiz_record.h"

namespace {

std::string results_file_bytes(HWND panel, int box_count) {
    std::string bytes;
    for (int b = 1; b <= box_count; ++b) {
        char text[text_size];
        read_control_text(panel, answer_box_id_base + b, text, text_size);
        append_results_line(bytes, text);
    }
    return bytes;
}

bool write_whole_file(const char* name, const std::string& bytes) {
    OwnedFile file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const DWORD size = static_cast<DWORD>(bytes.size());  // at most 192 lines of 261 bytes
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), size, &written, nullptr) || written != size) return false;
    return FlushFileBuffers(file.get()) != 0;
}

}  // namespace

std::string own_results_file_name() {
    char path[text_size] = "";
    GetModuleFileNameA(nullptr, path, text_size);
    return results_file_name(path);
}

// The new answers go to a temporary file beside the results file, which then
// replaces it in one step: a save that fails half-way keeps the previous answers.
void save_answers(HWND question_panel) {
    // A panel without answer boxes would save empty lines over an earlier run's answers.
    if (!question_panel || !quiz || !GetDlgItem(question_panel, answer_box_id_base + 1)) return;
    const int box_count = shown_box_count(*quiz);
    const std::string bytes = results_file_bytes(question_panel, box_count);
    const std::string name = own_results_file_name();

    char temporary[MAX_PATH];
    if (!GetTempFileNameA(".", "dvn", 0, temporary)) return;
    if (write_whole_file(temporary, bytes) &&
        MoveFileExA(temporary, name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return;
    DeleteFileA(temporary);
}
