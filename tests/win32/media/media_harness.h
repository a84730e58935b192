// The media layer under test on a real question panel: the quiz record, the
// panel built by question_panel_proc, the messages the layer shows, the media
// files of the current directory and the media resources of this executable.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "media/media_layer.h"
#include "question_panel_harness.h"

namespace media_test {

using Message = std::pair<std::string, std::string>;  // text, caption

inline std::vector<Message>& shown_messages() {
    static std::vector<Message> messages;
    return messages;
}

inline void record_message(const char* text, const char* caption) { shown_messages().emplace_back(text, caption); }

inline const char* const player_unavailable =
    "Le lecteur multimédia n'est pas disponible : les sons et les vidéos de ce quiz ne peuvent pas être lus.";

// The bytes of media resource `id` of this executable; empty when there is none.
inline std::string media_resource(unsigned id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "img");
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

// The media files of the current directory, in name order.
inline std::vector<std::string> media_files() {
    std::vector<std::string> names = panel_test::files_matching("quizz*");
    std::sort(names.begin(), names.end());
    return names;
}

inline void remove_media_files() {
    for (const std::string& name : media_files()) DeleteFileA(name.c_str());
}

class MediaTest : public panel_test::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        remove_media_files();
        shown_messages().clear();
        set_message_sink(record_message);
    }

    // Exit as the player does it; for sound and video quizzes the top window
    // goes, and the panels with it.
    void TearDown() override {
        release_media_layer(top);
        if (!IsWindow(top)) top = header = panel = nullptr;
        set_hosting_library(nullptr);
        set_message_sink(nullptr);
        PanelTest::TearDown();
        remove_media_files();
    }

    // Start-up's order: the quiz, the media layer, then the question panel.
    void start(int kind, int question_count) {
        fill_numbered(kind, 1, 0, question_count);
        init_media_layer();
        create_panel();
    }

    // A click on a play or stop button, as the player makes it.
    void click(int id) {
        ASSERT_NE(item(id), nullptr) << "no control " << id;
        SendMessageA(item(id), BM_CLICK, 0, 0);
        panel_test::pump(panel);
    }

    int child_count() const {
        int count = 0;
        for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++count;
        return count;
    }
};

}  // namespace media_test
