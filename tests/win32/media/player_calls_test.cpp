// What the media layer asks of the player, in order, seen through a fake
// player that logs every call: Wine's player cannot tell whether it was asked
// to play (get_playState is not implemented there).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "media_harness.h"
#include "player_spy.h"
#include "question_panel/panel_layout.h"

namespace media_test {
namespace {

using Calls = std::vector<std::string>;
using Names = std::vector<std::string>;

const Calls attach_calls = {"get_controls", "put_uiMode none", "get_settings"};

class PlayerCalls : public MediaTest {
protected:
    // The calls made since the last look.
    Calls new_calls() {
        Calls calls(spy_->log.calls.begin() + static_cast<std::ptrdiff_t>(seen_), spy_->log.calls.end());
        seen_ = spy_->log.calls.size();
        return calls;
    }

    void use(PlayerKind kind) { spy_ = std::make_unique<PlayerSpy>(kind); }

    std::unique_ptr<PlayerSpy> spy_;
    std::size_t seen_ = 0;
};

TEST_F(PlayerCalls, PlayAndStopInTheirOrder) {
    use(PlayerKind::fake);
    start(sound_quiz, 6);
    EXPECT_EQ(new_calls(), attach_calls);

    click(play_button_id_base + 3);
    EXPECT_EQ(new_calls(), Calls({"stop", "put_URL quizz3.mp3", "play"}));
    click(play_button_id_base + 5);
    EXPECT_EQ(new_calls(), Calls({"stop", "put_URL quizz5.mp3", "play"}));
    click(stop_button_id_base + 2);
    EXPECT_EQ(new_calls(), Calls({"stop"}));
    EXPECT_TRUE(media_files().empty());

    click(play_button_id_base + 2);  // no media resource: stopped, and nothing handed over
    EXPECT_EQ(new_calls(), Calls({"stop"}));
}

TEST_F(PlayerCalls, VideoFileNames) {
    use(PlayerKind::fake);
    start(video_quiz, 15);
    new_calls();
    click(play_button_id_base + 13);
    EXPECT_EQ(new_calls(), Calls({"stop", "put_URL quizz13.avi", "play"}));
    EXPECT_EQ(media_files(), Names({"quizz13.avi"}));
}

// The fake holds the file it plays, as a real player does: exit must stop it
// before the clean-up can remove that file.
TEST_F(PlayerCalls, ExitWhilePlayingRemovesThePlayingFile) {
    use(PlayerKind::fake);
    start(sound_quiz, 6);
    click(play_button_id_base + 3);
    new_calls();

    release_media_layer(top);
    EXPECT_EQ(new_calls(), Calls({"stop"}));
    EXPECT_TRUE(media_files().empty());
}

// A player that supplied no transport controls is never called through them:
// play only writes the file, stop does nothing, the exit removes what is left.
TEST_F(PlayerCalls, WithoutControlsOnlyFilesChange) {
    use(PlayerKind::fake_without_controls);
    start(sound_quiz, 6);
    EXPECT_EQ(new_calls(), attach_calls);

    click(play_button_id_base + 3);
    EXPECT_EQ(media_files(), Names({"quizz3.mp3"}));
    click(stop_button_id_base + 3);
    EXPECT_EQ(media_files(), Names({"quizz3.mp3"}));
    click(play_button_id_base + 5);
    EXPECT_EQ(media_files(), Names({"quizz5.mp3"}));
    EXPECT_TRUE(new_calls().empty());

    release_media_layer(top);
    EXPECT_TRUE(media_files().empty());
}

}  // namespace
}  // namespace media_test
