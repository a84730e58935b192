// Play and stop on a real question panel with Wine's media player: the files
// each click leaves in the current directory, what the player was handed, and
// where a video is shown.
#include <windows.h>

#include <gtest/gtest.h>

#include "media_harness.h"
#include "player_spy.h"
#include "question_panel/panel_layout.h"

namespace media_test {
namespace {

using panel_test::read_file;
using panel_test::rect_in_parent;
using panel_test::write_file;
using Names = std::vector<std::string>;

std::string player_url(IWMPPlayer* player) {
    BSTR url = nullptr;
    if (!player || FAILED(player->get_URL(&url))) return "<no answer>";
    const std::string text = narrow(url);
    SysFreeString(url);
    return text;
}

bool starts_alone(IWMPPlayer* player) {
    IWMPSettings* settings = nullptr;
    if (!player || FAILED(player->get_settings(&settings)) || !settings) return true;
    VARIANT_BOOL auto_start = VARIANT_TRUE;
    settings->get_autoStart(&auto_start);
    settings->Release();
    return auto_start != VARIANT_FALSE;
}

struct PlaySteps {
    int kind;
    int question_count;
    int first;   // question played first
    int second;  // then this one
    const char* first_file;
    const char* second_file;
};

class PlayAndStop : public MediaTest, public ::testing::WithParamInterface<PlaySteps> {
protected:
    PlayerSpy spy{PlayerKind::real};
};

TEST_P(PlayAndStop, KeepsOnlyThePlayingFile) {
    const PlaySteps& s = GetParam();
    ASSERT_TRUE(spy.registered());
    write_file(s.kind == sound_quiz ? "quizz0.mp3" : "quizz0.avi", "not a question");  // current_media starts at 0
    start(s.kind, s.question_count);
    ASSERT_NE(spy.real_player, nullptr) << "the layer did not create the player";
    EXPECT_FALSE(starts_alone(spy.real_player)) << "put_URL would start the file before play does";

    click(play_button_id_base + s.first);
    EXPECT_EQ(media_files(), Names({s.first_file}));
    EXPECT_TRUE(read_file(s.first_file) == media_resource(400 + s.first));
    EXPECT_EQ(player_url(spy.real_player), s.first_file);

    click(play_button_id_base + s.second);
    EXPECT_EQ(media_files(), Names({s.second_file}));
    EXPECT_TRUE(read_file(s.second_file) == media_resource(400 + s.second));
    EXPECT_EQ(player_url(spy.real_player), s.second_file);

    click(stop_button_id_base + 1);  // any row's stop button stops what plays
    EXPECT_TRUE(media_files().empty());
    EXPECT_TRUE(shown_messages().empty());
}

ULONGLONG last_written(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Replaying the same question writes its file anew and starts it over: the
// player must let go of the file first, or the rewrite fails.
TEST_P(PlayAndStop, ReplayRewritesTheFile) {
    const PlaySteps& s = GetParam();
    start(s.kind, s.question_count);
    click(play_button_id_base + s.first);
    const ULONGLONG first_write = last_written(s.first_file);
    ASSERT_NE(first_write, 0u);
    Sleep(50);
    click(play_button_id_base + s.first);
    EXPECT_GT(last_written(s.first_file), first_write);
    EXPECT_EQ(media_files(), Names({s.first_file}));
    EXPECT_TRUE(read_file(s.first_file) == media_resource(400 + s.first));
    EXPECT_EQ(player_url(spy.real_player), s.first_file);
}

// Question 2 (and 14) has no media resource, question 4 an empty one: play
// there stops and removes what played, then ends without a word.
TEST_P(PlayAndStop, QuestionWithoutMediaEndsSilently) {
    const PlaySteps& s = GetParam();
    start(s.kind, s.question_count);
    click(play_button_id_base + s.first);
    ASSERT_EQ(media_files(), Names({s.first_file}));

    click(play_button_id_base + s.first + 1);
    EXPECT_TRUE(media_files().empty());
    EXPECT_EQ(player_url(spy.real_player), s.first_file) << "no new file was handed to the player";
    if (s.kind == sound_quiz) {
        click(play_button_id_base + 4);
        EXPECT_TRUE(media_files().empty());
    }
    EXPECT_TRUE(shown_messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, PlayAndStop,
                         ::testing::Values(PlaySteps{sound_quiz, 6, 3, 5, "quizz3.mp3", "quizz5.mp3"},
                                           PlaySteps{video_quiz, 15, 13, 15, "quizz13.avi", "quizz15.avi"}),
                         [](const ::testing::TestParamInfo<PlaySteps>& info) {
                             return std::string(info.param.kind == sound_quiz ? "Sound" : "Video");
                         });

class PlayerHost : public MediaTest {
protected:
    HWND host() const { return item(player_host_id); }

    // The band above question n's controls, from where its play button is now.
    void expect_in_band_of(int question_number) {
        const RECT button = rect_in_parent(item(play_button_id_base + question_number));
        const RECT band = rect_in_parent(host());
        EXPECT_EQ(band.left, button.left);
        EXPECT_EQ(band.top, button.top - 210);
        EXPECT_EQ(band.right - band.left, 360);
        EXPECT_EQ(band.bottom, button.top - 5);
        EXPECT_TRUE(IsWindowVisible(host()));
    }

    void scroll_down(int lines) {
        for (int i = 0; i < lines; ++i) SendMessageA(panel, WM_VSCROLL, SB_LINEDOWN, 0);
        panel_test::pump(panel);
    }

    PlayerSpy spy{PlayerKind::real};
};

// Created at the origin with no size; a sound quiz never moves it.
TEST_F(PlayerHost, StaysEmptyAtTheOriginInASoundQuiz) {
    start(sound_quiz, 6);
    click(play_button_id_base + 3);
    ASSERT_NE(host(), nullptr);
    EXPECT_EQ(GetParent(host()), panel);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(host(), GWL_STYLE)), 0x50800000u);
    char class_name[16] = "";
    GetClassNameA(host(), class_name, sizeof class_name);
    EXPECT_STREQ(CharUpperA(class_name), "STATIC");
    const RECT rect = rect_in_parent(host());
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 0);
    EXPECT_EQ(rect.bottom, 0);
}

// The video shows above the row that plays, moves with it when the panel
// scrolls, and goes away on stop.
TEST_F(PlayerHost, ShowsTheVideoAboveItsRowAndFollowsScrolling) {
    start(video_quiz, 15);
    ShowWindow(top, SW_SHOWNORMAL);  // ScrollWindow moves nothing in a hidden window
    panel_test::pump(panel);
    click(play_button_id_base + 13);
    expect_in_band_of(13);
    const RECT before = rect_in_parent(host());

    scroll_down(2);
    const RECT after = rect_in_parent(host());
    EXPECT_EQ(after.top, before.top - 100);
    EXPECT_EQ(after.left, before.left);
    expect_in_band_of(13);

    click(play_button_id_base + 14);  // no video there: the player stops and the band goes
    EXPECT_FALSE(IsWindowVisible(host()));

    click(play_button_id_base + 15);  // the band of a scrolled row comes from where its row is now
    expect_in_band_of(15);
    EXPECT_EQ(rect_in_parent(host()).left, 46 + 2 * 390);
    EXPECT_EQ(rect_in_parent(host()).top, 4 * 270 + 5 - 100) << "fifth grid row, 270 pixels each, scrolled by 100";

    click(stop_button_id_base + 1);
    EXPECT_FALSE(IsWindowVisible(host()));
}

}  // namespace
}  // namespace media_test
