// A real question panel for tests: a hidden top-level window holding the header
// panel (template 1002) and the question panel (template 1001), a quiz record
// filled by hand, and a pump that offers every message to the panel's dialog
// navigation first, as the player's loop does. Message boxes are recorded.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "player/answer_boxes/answer_box.h"
#include "base/message_box.h"
#include "player/header_panel/header_panel.h"
#include "player/media/media_layer.h"
#include "layout/panel_layout.h"
#include "player/question_panel/question_panel.h"
#include "quiz_data/quiz_record.h"

namespace panel_test {

inline int wheel_messages_at_top = 0;  // WM_MOUSEWHEEL that reached the top-level window
inline std::vector<std::string> shown_messages;  // text, then caption

inline LRESULT CALLBACK top_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_MOUSEWHEEL) return DefWindowProcA(window, message, wparam, lparam);
    ++wheel_messages_at_top;
    return 0;
}

inline void pump(HWND panel) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (panel && IsDialogMessageA(panel, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

inline std::string text_of(HWND window) {
    char text[text_size] = "";
    GetWindowTextA(window, text, text_size);
    return text;
}

// The control shows `full`, or a start of it followed by an ellipsis, and what it
// shows fits inside it in its own font, on one line or wrapped as it wraps.
inline void expect_shown_whole(HWND control, const std::string& full, bool wraps) {
    const std::string shown = text_of(control);
    const std::size_t kept = shown.empty() ? 0 : shown.size() - 1;  // before the ellipsis
    EXPECT_TRUE(shown == full || (kept > 0 && shown.back() == '\x85' && full.compare(0, kept, shown, 0, kept) == 0))
        << shown;
    RECT client;
    GetClientRect(control, &client);
    char class_name[8] = "";
    GetClassNameA(control, class_name, sizeof class_name);
    const LRESULT margins = lstrcmpiA(class_name, "Edit") ? 0 : SendMessageA(control, EM_GETMARGINS, 0, 0);
    const LONG width = client.right - LOWORD(margins) - HIWORD(margins);
    RECT needed = {0, 0, width, 0};
    HDC dc = GetDC(control);
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    DrawTextA(dc, shown.c_str(), -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    EXPECT_TRUE(needed.right <= width && needed.bottom <= client.bottom) << shown;
}

// x, y, width, height in the parent's client coordinates.
inline std::vector<int> rect_in_parent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

inline void write_file(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

// The file's bytes, or "<missing>".
inline std::string read_file(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

// Names of the current directory's files that match the pattern, in the order found.
inline std::vector<std::string> files_matching(const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Owns the record (made `quiz` for the test), the windows and the results file.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(own_results_file_name().c_str());
        shown_messages.clear();
        set_message_sink([](const char* text, const char* caption) {
            shown_messages.insert(shown_messages.end(), {text, caption});
        });
        record = std::make_unique<QuizRecord>();
        quiz = record.get();
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = top_window_proc;
        window_class.lpszClassName = "QuestionPanelTestTop";
        RegisterClassA(&window_class);  // a second registration fails harmlessly
        top = CreateWindowExA(0, "QuestionPanelTestTop", "test", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr,
                              nullptr, nullptr, nullptr);
        header = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1002), top, header_panel_proc, 0);
        ASSERT_NE(header, nullptr);
        SetWindowPos(header, nullptr, 5, 2, 980, 49, SWP_NOZORDER);
        record->header_panel = header;
        wheel_messages_at_top = 0;
    }

    void TearDown() override {
        if (panel) DestroyWindow(panel);
        if (media_started) release_media_layer(nullptr);
        set_message_sink(nullptr);
        if (top) DestroyWindow(top);
        pump(nullptr);
        quiz = nullptr;
        record.reset();
        DeleteFileA(own_results_file_name().c_str());
    }

    // `count` questions answered "reponse1", "reponse2" ... (second box "bis1" ...),
    // asking "Question 1" ... and revealing "Révélation 1" ...
    void fill_numbered(int kind, int boxes, int reveal_mode, int count) {
        record->quiz_kind = kind;
        record->answers_per_question = boxes;
        record->reveal_mode = reveal_mode;
        record->question_count = count;
        for (int n = 1; n <= count; ++n) {
            const std::string number = std::to_string(n);
            append_question(*record, ("reponse" + number).c_str(), ("bis" + number).c_str(),
                            ("Question " + number).c_str());
            copy_text(record->last_question->reveal_text, ("Révélation " + number).c_str());
        }
    }

    // Sound and video quizzes: the media layer starts before the panel, as at start-up.
    void start_media() {
        init_media_layer();
        media_started = true;
    }

    // Creates the panel as start-up does, then gives it a client area of the given size.
    void create_panel(int client_width = 800, int client_height = 400) {
        panel = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1001), top, question_panel_proc, 0);
        ASSERT_NE(panel, nullptr);
        ShowWindow(panel, SW_SHOWNORMAL);
        resize_client(client_width, client_height);
        pump(panel);
    }

    void resize_client(int client_width, int client_height) {
        RECT frame, client;
        GetWindowRect(panel, &frame);
        GetClientRect(panel, &client);
        SetWindowPos(panel, nullptr, 5, 50, client_width + frame.right - frame.left - client.right,
                     client_height + frame.bottom - frame.top - client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        pump(panel);
    }

    void destroy_panel() {
        DestroyWindow(panel);
        panel = nullptr;
    }

    HWND item(int id) const { return GetDlgItem(panel, id); }
    HWND box(int b) const { return item(answer_box_id_base + b); }
    std::string feedback(int b) const { return text_of(item(feedback_label_id_base + b)); }
    std::string score() const { return text_of(GetDlgItem(header, score_label_id)); }
    std::string code() const { return text_of(GetDlgItem(header, code_box_id)); }
    void key(int b, WPARAM key) { SendMessageA(box(b), WM_KEYUP, key, 0xC0000001); }

    // Types an answer and releases Enter in the box, through the message queue.
    void answer(int b, const char* text) {
        SetWindowTextA(box(b), text);
        PostMessageA(box(b), WM_KEYDOWN, VK_RETURN, 1);
        PostMessageA(box(b), WM_KEYUP, VK_RETURN, 0xC0000001);
        pump(panel);
    }

    std::unique_ptr<QuizRecord> record;
    HWND top = nullptr;
    HWND header = nullptr;
    HWND panel = nullptr;
    bool media_started = false;
};

}  // namespace panel_test
