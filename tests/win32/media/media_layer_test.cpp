// The media layer's own steps: staying out of the way of text and picture
// quizzes, a missing hosting library or player, writing media files, and the
// clean-up at exit.
#include <windows.h>

#include <gtest/gtest.h>

#include "media_harness.h"
#include "player_spy.h"
#include "question_panel/panel_layout.h"
#include "question_panel/question_panel.h"

namespace media_test {
namespace {

using panel_test::read_file;
using panel_test::write_file;
using Names = std::vector<std::string>;

// Files a text or picture quiz must leave alone.
const Names planted_files = {"quizz0.mp3", "quizz1.avi", "quizz1.mp3", "quizz96.mp3"};

class InactiveKind : public MediaTest, public ::testing::WithParamInterface<int> {};

TEST_P(InactiveKind, LoadsCreatesAndDeletesNothing) {
    ASSERT_EQ(GetModuleHandleA("atl.dll"), nullptr) << "an earlier test left atl.dll loaded";
    for (const std::string& name : planted_files) write_file(name, "earlier run");
    start(GetParam(), 4);

    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    EXPECT_EQ(item(player_host_id), nullptr);
    play_question_media(1);
    SendMessageA(panel, WM_COMMAND, play_button_id_base + 2, 0);
    stop_question_media();
    release_media_layer(top);

    EXPECT_TRUE(IsWindow(top)) << "the exit of a text or picture quiz leaves the window alone";
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    EXPECT_EQ(media_files(), planted_files);
    EXPECT_TRUE(shown_messages().empty());
}

INSTANTIATE_TEST_SUITE_P(TextAndPicture, InactiveKind, ::testing::Values(text_quiz, picture_quiz));

struct MissingHost {
    const char* library;
    int kind;
};

class MissingHostingLibrary : public MediaTest, public ::testing::WithParamInterface<MissingHost> {};

// Without atl.dll (or without its AtlAxAttachControl) the player cannot be
// hosted: the panel stays empty and the player is told why, once.
TEST_P(MissingHostingLibrary, LeavesThePanelEmptyAndSaysSo) {
    set_hosting_library(GetParam().library);
    write_file("quizz7.mp3", "earlier run");
    write_file("quizz7.avi", "earlier run");
    start(GetParam().kind, 4);

    EXPECT_EQ(child_count(), 0);
    EXPECT_EQ(content_width, 0);
    EXPECT_EQ(content_height, 0);
    ASSERT_EQ(shown_messages().size(), 1u);
    EXPECT_EQ(shown_messages()[0], Message(player_unavailable, "Information"));

    stop_question_media();  // without a player: nothing to stop, nothing to delete
    EXPECT_EQ(media_files(), Names({"quizz7.avi", "quizz7.mp3"}));
    release_media_layer(top);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(media_files(), Names({GetParam().kind == sound_quiz ? "quizz7.avi" : "quizz7.mp3"}));
}

INSTANTIATE_TEST_SUITE_P(Libraries, MissingHostingLibrary,
                         ::testing::Values(MissingHost{"missing_host.dll", sound_quiz},
                                           MissingHost{"missing_host.dll", video_quiz},
                                           MissingHost{"kernel32.dll", sound_quiz}));

TEST_F(MediaTest, MissingPlayerLeavesThePanelEmptyAndSaysSo) {
    PlayerSpy spy(PlayerKind::missing);
    ASSERT_TRUE(spy.registered());
    start(sound_quiz, 4);

    EXPECT_EQ(spy.created, 1);
    EXPECT_TRUE(IsEqualIID(spy.requested_iid, IID_IWMPPlayer));
    EXPECT_EQ(child_count(), 0) << "not even the player host stays";
    EXPECT_EQ(content_height, 0);
    ASSERT_EQ(shown_messages().size(), 1u);
    EXPECT_EQ(shown_messages()[0], Message(player_unavailable, "Information"));
}

struct Extraction {
    unsigned resource_id;
    int media_kind;
    const char* file;  // nullptr: no file
};

class ExtractMedia : public MediaTest, public ::testing::WithParamInterface<Extraction> {};

// The file is a copy of the resource, whatever an earlier run left under that
// name; a missing or empty resource writes nothing and says nothing.
TEST_P(ExtractMedia, CopiesTheResourceOrNothing) {
    const Extraction& e = GetParam();
    if (e.file) write_file(e.file, std::string(40000, 'x'));

    EXPECT_EQ(extract_media(e.resource_id, e.media_kind), e.file ? 1 : 0);

    if (e.file) {
        EXPECT_EQ(media_files(), Names({e.file}));
        const std::string resource = media_resource(e.resource_id);
        ASSERT_FALSE(resource.empty());
        EXPECT_TRUE(read_file(e.file) == resource) << "the file is not the resource";
    } else {
        EXPECT_TRUE(media_files().empty());
    }
    EXPECT_TRUE(shown_messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Resources, ExtractMedia,
                         ::testing::Values(Extraction{403, 1, "quizz3.mp3"}, Extraction{405, 1, "quizz5.mp3"},
                                           Extraction{413, 2, "quizz13.avi"}, Extraction{415, 2, "quizz15.avi"},
                                           Extraction{403, 2, "quizz3.avi"},  // the kind names the file
                                           Extraction{402, 1, nullptr}, Extraction{414, 2, nullptr},
                                           Extraction{404, 1, nullptr}));  // empty resource

struct CleanUp {
    int kind;
    Names planted;
    Names left;
};

class ReleaseMediaLayer : public MediaTest, public ::testing::WithParamInterface<CleanUp> {};

// Exit removes quizz1 to quizz96 of the quiz's own kind, present or not, then
// destroys the main window and lets atl.dll go.
TEST_P(ReleaseMediaLayer, RemovesEveryMediaFileOfItsKind) {
    for (const std::string& name : GetParam().planted) write_file(name, "earlier run");
    fill_numbered(GetParam().kind, 1, 0, 3);
    init_media_layer();
    ASSERT_NE(GetModuleHandleA("atl.dll"), nullptr);

    release_media_layer(top);

    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    EXPECT_EQ(media_files(), GetParam().left);
}

// The host is subclassed by atl.dll, which exit unloads: the host goes first,
// even when the window given is not the panel's ancestor.
TEST_F(MediaTest, ReleaseTakesThePlayerHostWithAnyWindow) {
    PlayerSpy spy(PlayerKind::real);
    start(sound_quiz, 3);
    HWND host = item(player_host_id);
    ASSERT_NE(host, nullptr);

    release_media_layer(nullptr);
    EXPECT_FALSE(IsWindow(host));
    EXPECT_TRUE(IsWindow(panel));
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    SendMessageA(panel, WM_VSCROLL, SB_LINEDOWN, 0);  // the panel lives on without the host
    panel_test::pump(panel);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReleaseMediaLayer,
    ::testing::Values(CleanUp{sound_quiz,
                              {"quizz0.mp3", "quizz1.avi", "quizz1.mp3", "quizz2.mp3", "quizz50.mp3", "quizz96.mp3",
                               "quizz97.mp3"},
                              {"quizz0.mp3", "quizz1.avi", "quizz97.mp3"}},
                      CleanUp{video_quiz,
                              {"quizz1.avi", "quizz1.mp3", "quizz33.avi", "quizz96.avi", "quizz97.avi"},
                              {"quizz1.mp3", "quizz97.avi"}}));

}  // namespace
}  // namespace media_test
