// A real question panel for tests: a top-level window (hidden unless a test
// shows it: showing costs seconds under Xvfb without a window manager) holding the header panel
// (template 1002) and the question panel (template 1001), a quiz record filled
// by hand, and a message pump that offers every message to the panel's dialog
// navigation first, as the player's loop does.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "answers/answer_box.h"
#include "app/messages.h"
#include "header_panel/header_panel.h"
#include "media/media_layer.h"
#include "question_panel/panel_layout.h"
#include "question_panel/question_panel.h"
#include "quiz_data/quiz_record.h"

namespace panel_test {

inline int wheel_messages_at_top = 0;  // WM_MOUSEWHEEL that reached the top-level window

inline LRESULT CALLBACK top_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_MOUSEWHEEL) {
        ++wheel_messages_at_top;
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

inline HWND create_top_window() {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = top_window_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = "QuestionPanelTestTop";
    RegisterClassA(&window_class);  // a second registration fails harmlessly
    HWND top = CreateWindowExA(0, "QuestionPanelTestTop", "test", WS_OVERLAPPEDWINDOW, 0, 0, 1000,
                               700, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(top);
    return top;
}

inline void pump(HWND panel) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (panel && IsDialogMessageA(panel, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

inline std::vector<std::string> shown_messages;  // message boxes, recorded instead of shown

inline void record_message(const char* text, const char*) { shown_messages.push_back(text); }

inline std::string text_of(HWND window) {
    char text[text_size] = "";
    GetWindowTextA(window, text, text_size);
    return text;
}

inline RECT rect_in_parent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline void expect_rect(HWND child, const ControlRect& expected) {
    ASSERT_NE(child, nullptr);
    const RECT rect = rect_in_parent(child);
    EXPECT_EQ(rect.left, expected.x);
    EXPECT_EQ(rect.top, expected.y);
    EXPECT_EQ(rect.right - rect.left, expected.width);
    EXPECT_EQ(rect.bottom - rect.top, expected.height);
}

// The file the panel restores from and saves to, in the current directory.
inline std::string results_file() { return own_results_file_name(); }

inline void write_file(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

// The file's bytes, or "<missing>".
inline std::string read_file(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

// Files of the current directory whose names match the pattern.
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

struct QuestionText {
    const char* answer_1;
    const char* answer_2;
    const char* question_text;
    const char* reveal_text;
};

// Owns the record (made `quiz` for the test), the windows and the results file.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(results_file().c_str());
        shown_messages.clear();
        set_message_sink(record_message);
        record = std::make_unique<QuizRecord>();
        quiz = record.get();
        top = create_top_window();
        ASSERT_NE(top, nullptr);
        header = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1002), top, header_panel_proc, 0);
        ASSERT_NE(header, nullptr);
        SetWindowPos(header, nullptr, 5, 2, 980, 49, SWP_NOZORDER);
        record->header_panel = header;
        wheel_messages_at_top = 0;
    }

    void TearDown() override {
        destroy_panel();
        if (media_started) release_media_layer(nullptr);  // the top-level window goes below
        media_started = false;
        set_message_sink(nullptr);
        if (header) DestroyWindow(header);
        if (top) DestroyWindow(top);
        pump(nullptr);
        quiz = nullptr;
        record.reset();
        DeleteFileA(results_file().c_str());
    }

    // Fills the record: kind, boxes per question, reveal mode and the entries
    // (question_count follows the entries).
    void fill(int kind, int boxes, int reveal_mode, const std::vector<QuestionText>& questions) {
        record->quiz_kind = kind;
        record->answers_per_question = boxes;
        record->reveal_mode = reveal_mode;
        record->question_count = static_cast<int>(questions.size());
        for (const QuestionText& q : questions) {
            append_question(*record, q.answer_1, q.answer_2, q.question_text);
            if (q.reveal_text) copy_text(record->last_question->reveal_text, q.reveal_text);
        }
    }

    // `count` questions whose answers are "reponse1", "reponse2" ... (second box "bis1" ...).
    void fill_numbered(int kind, int boxes, int reveal_mode, int count) {
        answers.clear();
        seconds.clear();
        texts.clear();
        reveals.clear();
        for (int n = 1; n <= count; ++n) {
            answers.push_back("reponse" + std::to_string(n));
            seconds.push_back("bis" + std::to_string(n));
            texts.push_back("Question " + std::to_string(n));
            reveals.push_back("Révélation " + std::to_string(n));
        }
        std::vector<QuestionText> questions;
        for (int i = 0; i < count; ++i)
            questions.push_back({answers[i].c_str(), seconds[i].c_str(), texts[i].c_str(), reveals[i].c_str()});
        fill(kind, boxes, reveal_mode, questions);
    }

    // Sound and video quizzes: the media layer starts before the panel, as at start-up.
    void start_media() {
        init_media_layer();
        media_started = true;
    }

    // Creates the panel as start-up does, then gives it a client area of the given size.
    void create_panel(int client_width = 800, int client_height = 400) {
        panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1001), top, question_panel_proc, 0);
        ASSERT_NE(panel, nullptr);
        ShowWindow(panel, SW_SHOWNORMAL);
        resize_client(client_width, client_height);
        pump(panel);
    }

    void resize_client(int client_width, int client_height) {
        RECT frame;
        RECT client;
        GetWindowRect(panel, &frame);
        GetClientRect(panel, &client);
        const int extra_width = (frame.right - frame.left) - client.right;
        const int extra_height = (frame.bottom - frame.top) - client.bottom;
        SetWindowPos(panel, nullptr, 5, 50, client_width + extra_width, client_height + extra_height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void destroy_panel() {
        if (panel) DestroyWindow(panel);
        panel = nullptr;
    }

    HWND item(int id) const { return GetDlgItem(panel, id); }
    HWND box(int b) const { return item(answer_box_id_base + b); }
    std::string feedback(int b) const { return text_of(item(feedback_label_id_base + b)); }
    std::string header_text(int id) const { return text_of(GetDlgItem(header, id)); }

    // Types an answer and releases Enter in the box, through the message queue.
    void answer(int b, const char* text) {
        SetWindowTextA(box(b), text);
        PostMessageA(box(b), WM_KEYDOWN, VK_RETURN, 1);
        PostMessageA(box(b), WM_KEYUP, VK_RETURN, 0xC0000001);
        pump(panel);
    }

    std::unique_ptr<QuizRecord> record;
    std::vector<std::string> answers, seconds, texts, reveals;
    HWND top = nullptr;
    HWND header = nullptr;
    HWND panel = nullptr;
    bool media_started = false;
};

}  // namespace panel_test
