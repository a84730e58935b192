// Saves that fail for real reasons: the player is told why and where, chooses on
// closing, and the previous results file stays whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/main_window.h"
#include "question_panel_harness.h"

namespace panel_test {
namespace {

struct Shown {
    std::string text;
    std::string caption;
};
std::vector<Shown> told;   // OK boxes
std::vector<Shown> asked;  // Cancel / Try Again / Continue boxes
std::vector<RetryChoice> choices;
std::function<void()> on_ask;  // what the player does before answering
bool quit_while_asked = false;

void record_told(const char* text, const char* caption) { told.push_back({text, caption}); }

RetryChoice answer_asked(const char* text, const char* caption) {
    asked.push_back({text, caption});
    MSG message;
    quit_while_asked |= PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    if (on_ask) on_ask();
    const RetryChoice choice = choices.front();
    choices.erase(choices.begin());
    return choice;
}

bool quit_posted() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// Another program holding the results file open without sharing.
HANDLE lock_file(const std::string& name) {
    return CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string current_folder() {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

class SaveFailure : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        set_message_sink(record_told);
        set_retry_sink(answer_asked);
        told.clear();
        asked.clear();
        choices.clear();
        on_ask = nullptr;
        quit_while_asked = false;
        fill_numbered(text_quiz, 1, 0, 2);
        create_panel();
        SetWindowTextA(box(1), "nouveau");
    }
    void TearDown() override {
        set_retry_sink(nullptr);
        on_ask = nullptr;
        PanelTest::TearDown();
    }
    void press_f2() { SendMessageA(box(1), WM_KEYUP, VK_F2, 0xC0000001); }
};

TEST_F(SaveFailure, F2TellsWhereAndWhyAndKeepsThePreviousFile) {
    const std::string previous = "ancien\r\n\r\n";
    const std::string home = current_folder();
    HANDLE lock = INVALID_HANDLE_VALUE;
    const struct {
        const char* label;
        std::function<void()> break_it;
        std::function<void()> repair;
        const char* reason;
    } cases[] = {
        {"held open by another program", [&] { lock = lock_file(own_results_file_name()); }, [&] { CloseHandle(lock); },
         "le fichier est ouvert par un autre programme"},
        {"name taken by a folder",
         [&] {
             DeleteFileA(own_results_file_name().c_str());
             CreateDirectoryA(own_results_file_name().c_str(), nullptr);
         },
         [&] { RemoveDirectoryA(own_results_file_name().c_str()); }, "un dossier porte déjà ce nom"},
        // Wine lets a folder above the current one move away, so the current folder is gone.
        {"current folder gone",
         [&] {
             CreateDirectoryA("cle", nullptr);
             CreateDirectoryA("cle\\quiz", nullptr);
             SetCurrentDirectoryA("cle\\quiz");
             MoveFileA((home + "\\cle").c_str(), (home + "\\retiree").c_str());
         },
         [&] {
             SetCurrentDirectoryA(home.c_str());
             RemoveDirectoryA("retiree\\quiz");
             RemoveDirectoryA("retiree");
         },
         "son dossier n'existe plus"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        write_file(own_results_file_name(), previous);
        told.clear();
        c.break_it();
        const std::string full_path = current_folder() + "\\" + own_results_file_name();
        press_f2();
        const std::vector<std::string> left = files_matching("dvn*.tmp");
        c.repair();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].caption, "Information");
        EXPECT_NE(told[0].text.find(full_path), std::string::npos) << told[0].text;
        EXPECT_NE(told[0].text.find(c.reason), std::string::npos) << told[0].text;
        EXPECT_TRUE(left.empty());
        if (GetFileAttributesA(own_results_file_name().c_str()) != INVALID_FILE_ATTRIBUTES) {
            EXPECT_EQ(read_file(own_results_file_name()), previous);
        }
    }
    told.clear();
    press_f2();
    EXPECT_TRUE(told.empty()) << "a save that succeeds shows nothing";
    EXPECT_EQ(read_file(own_results_file_name()), "nouveau\r\n\r\n");
    EXPECT_TRUE(asked.empty());
}

TEST_F(SaveFailure, ClosingAsksUntilSavedOrLeftAndEndingTheSessionAsksNothing) {
    ASSERT_TRUE(register_main_window_class(GetModuleHandleA(nullptr)) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
    HWND main_window = create_main_window(GetModuleHandleA(nullptr), "Quiz");
    ASSERT_NE(main_window, nullptr);
    question_panel_window = panel;
    write_file(own_results_file_name(), "ancien\r\n\r\n");
    HANDLE lock = lock_file(own_results_file_name());

    choices = {RetryChoice::cancel};
    SendMessageA(main_window, WM_CLOSE, 0, 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "Information");
    EXPECT_NE(asked[0].text.find("le fichier est ouvert par un autre programme"), std::string::npos);
    EXPECT_NE(asked[0].text.find("Annuler : revenir au quiz"), std::string::npos);
    EXPECT_FALSE(quit_posted()) << "cancel goes back to the quiz";

    // Try again while the file is still held, then again once it is free.
    choices = {RetryChoice::try_again, RetryChoice::try_again};
    on_ask = [&] {
        if (asked.size() == 3) CloseHandle(lock);
    };
    SendMessageA(main_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_TRUE(quit_posted());
    EXPECT_EQ(read_file(own_results_file_name()), "nouveau\r\n\r\n");

    lock = lock_file(own_results_file_name());
    SetWindowTextA(box(1), "perdu");
    choices = {RetryChoice::continue_on};
    on_ask = nullptr;
    SendMessageA(main_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(asked.size(), 4u);
    EXPECT_TRUE(quit_posted()) << "continue closes without saving";
    EXPECT_FALSE(quit_while_asked) << "nothing closes before the player chose";

    SendMessageA(main_window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(asked.size(), 4u);
    EXPECT_TRUE(told.empty());
    CloseHandle(lock);
    EXPECT_EQ(read_file(own_results_file_name()), "nouveau\r\n\r\n");
    EXPECT_TRUE(files_matching("dvn*.tmp").empty());
    SendMessageA(main_window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(read_file(own_results_file_name()), "perdu\r\n\r\n");

    question_panel_window = nullptr;
    DestroyWindow(main_window);
    quit_posted();
}

}  // namespace
}  // namespace panel_test
