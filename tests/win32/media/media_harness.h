// The media layer under test on a real question panel: the media files of the
// current directory and the media resources of this executable (type "img",
// 401, 403, 405 spoken MP3s, 404 empty, 413 and 415 AVI clips).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "question_panel_harness.h"

namespace media_test {

// The bytes of media resource `id` of this executable; empty when there is none.
inline std::string media_resource(unsigned id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "img");
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(nullptr, found))) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

class MediaTest : public panel_test::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        for (const std::string& name : media_files()) DeleteFileA(name.c_str());
    }
    // Exit as the player does it; for sound and video quizzes the top window goes, and the panels with it.
    void TearDown() override {
        release_media_layer(top);
        if (!IsWindow(top)) top = header = panel = nullptr;
        set_hosting_library(nullptr);
        PanelTest::TearDown();
        for (const std::string& name : media_files()) DeleteFileA(name.c_str());
    }
    // The media files of the current directory, in name order.
    static std::vector<std::string> media_files() {
        std::vector<std::string> names = panel_test::files_matching("quizz*");
        std::sort(names.begin(), names.end());
        return names;
    }
    // Start-up's order: the quiz, the media layer, then the question panel.
    void start(int kind, int question_count) {
        fill_numbered(kind, 1, 0, question_count);
        init_media_layer();
        create_panel();
    }
    void click(int id) {
        SendMessageA(item(id), BM_CLICK, 0, 0);
        panel_test::pump(panel);
    }
};

}  // namespace media_test
