// The media layer with Wine's media player on a real question panel: the files
// each click leaves, where a video shows, a missing host, and the clean-up at exit.
// The bytes written and removal on stop and close: tests/e2e/sound_quiz.sh.
// Its own resources (type "img"): 401, 403, 405 spoken MP3s, 404 empty, 413 and
// 415 AVI clips.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "player/media/wmp_player.h"
#include "question_panel_harness.h"

namespace media_test {
namespace {

class MediaTest : public panel_test::PanelTest {
protected:
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

using Names = std::vector<std::string>;
using panel_test::rect_in_parent;
using panel_test::write_file;

// Text and picture quizzes load nothing and delete nothing; a sound quiz without
// its host says so, shows no questions and deletes its own kind's files only.
TEST_F(MediaTest, OnlyItsOwnKindAndWithoutItsHostNoQuestions) {
    const Names planted = {"quizz7.avi", "quizz7.mp3"};
    for (const std::string& name : planted) write_file(name, "earlier run");
    for (int kind : {text_quiz, picture_quiz}) {
        start(kind, 4);
        EXPECT_EQ(item(player_host_id), nullptr);
        SendMessageA(panel, WM_COMMAND, play_button_id_base + 1, 0);
        release_media_layer(top);
        EXPECT_TRUE(IsWindow(top));
        EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
        destroy_panel();
    }
    EXPECT_EQ(media_files(), planted);
    set_hosting_library("missing_host.dll");
    start(sound_quiz, 4);
    EXPECT_EQ(GetWindow(panel, GW_CHILD), nullptr);
    EXPECT_EQ(content_height, 0);
    EXPECT_EQ(panel_test::shown_messages,
              Names({"Le lecteur multim\xE9" "dia n'est pas disponible : les sons et les vid\xE9os de ce quiz ne peuvent "
                     "pas \xEAtre lus.", "Information"}));
    release_media_layer(top);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(media_files(), Names({"quizz7.avi"}));
}

// Stands in for the media player's class while registered: hands out the real
// player and keeps a reference to it, so that a test can read the player's
// settings and state, and see the layer let go of it.
struct KeepingFactory : IClassFactory {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        const HRESULT result = real->CreateInstance(outer, iid, object);
        if (SUCCEEDED(result) && IsEqualIID(iid, IID_IWMPPlayer)) {
            player = static_cast<IWMPPlayer*>(*object);
            player->AddRef();
        }
        return result;
    }
    IClassFactory* real = nullptr;
    IWMPPlayer* player = nullptr;
};
KeepingFactory player_factory;

TEST_F(MediaTest, SoundPlaysOneFileAtATimeAndExitRemovesThem) {
    write_file("quizz0.mp3", "not a question");  // no question has played yet: the first stop removes it
    CoInitialize(nullptr);
    CoGetClassObject(CLSID_WindowsMediaPlayer, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                     reinterpret_cast<void**>(&player_factory.real));
    DWORD registration = 0;
    ASSERT_TRUE(player_factory.real);
    CoRegisterClassObject(CLSID_WindowsMediaPlayer, &player_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration);
    start(sound_quiz, 6);
    CoRevokeClassObject(registration);
    ASSERT_NE(player_factory.player, nullptr);
    IWMPSettings* settings = nullptr;
    VARIANT_BOOL auto_start = VARIANT_TRUE;
    if (SUCCEEDED(player_factory.player->get_settings(&settings))) settings->get_autoStart(&auto_start);
    if (settings) settings->Release();
    EXPECT_EQ(auto_start, VARIANT_FALSE);  // given a file, the player waits for play
    click(play_button_id_base + 3);
    EXPECT_EQ(media_files(), Names({"quizz3.mp3"}));
    click(play_button_id_base + 5);
    EXPECT_EQ(media_files(), Names({"quizz5.mp3"}));
    const auto last_written = [] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA("quizz5.mp3", GetFileExInfoStandard, &data);
        return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    };
    const ULONGLONG first = last_written();
    Sleep(50);
    click(play_button_id_base + 5);  // replaying writes the file anew: the player let go of it
    EXPECT_GT(last_written(), first);
    click(play_button_id_base + 2);  // no media there: what played stops and goes
    EXPECT_EQ(media_files(), Names());
    click(play_button_id_base + 4);  // an empty media resource writes no file
    EXPECT_EQ(media_files(), Names());
    click(play_button_id_base + 1);
    click(stop_button_id_base + 4);  // any row's stop button stops what plays
    EXPECT_EQ(media_files(), Names());
    EXPECT_EQ(rect_in_parent(item(player_host_id)), std::vector<int>({0, 0, 0, 0}));  // no picture in a sound quiz
    EXPECT_EQ(extract_media(413, 2), 1);  // the kind names the file
    for (const char* name : {"quizz96.mp3", "quizz97.mp3", "quizz2.avi"}) write_file(name, "left");
    click(play_button_id_base + 1);  // still playing at exit
    release_media_layer(top);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    EXPECT_EQ(media_files(), Names({"quizz13.avi", "quizz2.avi", "quizz97.mp3"}));
    EXPECT_TRUE(panel_test::shown_messages.empty());
    IWMPControls* controls = nullptr;
    double position = 0;
    player_factory.player->get_controls(&controls);
    EXPECT_EQ(controls->get_currentPosition(&position), S_FALSE);  // stopped: nothing is open
    controls->Release();
    EXPECT_EQ(player_factory.player->Release(), 0u);  // the layer holds no reference any more
    player_factory.real->Release();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK);  // the layer's own initialisation is undone
    CoUninitialize();
}

TEST_F(MediaTest, VideoShowsAboveItsRowAndFollowsScrolling) {
    start(video_quiz, 15);
    ShowWindow(top, SW_SHOWNORMAL);  // ScrollWindow moves nothing in a hidden window
    SendMessageA(panel, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(panel, WM_VSCROLL, SB_LINEDOWN, 0);
    panel_test::pump(panel);
    click(play_button_id_base + 15);  // fifth grid row, 270 pixels each, scrolled by 100
    EXPECT_EQ(media_files(), Names({"quizz15.avi"}));
    EXPECT_EQ(rect_in_parent(item(player_host_id)), std::vector<int>({46 + 2 * 390, 4 * 270 + 5 - 100, 360, 205}));
    EXPECT_TRUE(IsWindowVisible(item(player_host_id)));
    SendMessageA(panel, WM_VSCROLL, SB_LINEUP, 0);
    panel_test::pump(panel);
    EXPECT_EQ(rect_in_parent(item(player_host_id))[1], 4 * 270 + 5 - 50);
    click(play_button_id_base + 14);  // no video there: the band goes
    EXPECT_FALSE(IsWindowVisible(item(player_host_id)));
}

}  // namespace
}  // namespace media_test
