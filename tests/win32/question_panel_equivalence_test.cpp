// Everything the question panel shows once its pictures are all decoded, for
// quizzes shaped like the examples, with missing, unreadable and odd-sized
// pictures, with and without a results file: controls (class, id, style, place,
// text, font, bitmap pixels), grades, score, code, reveals, focus and extent.
// The fingerprints were recorded from the construction that decoded every picture
// and stepped the focus through every box (the two-box ones again since the
// captions end at the number labels); on a mismatch the test prints what it saw.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "player/header_panel/header_panel.h"
#include "pictures/picture_loader.h"
#include "question_panel_harness.h"

namespace panel_test {
namespace {

struct Fingerprint {
    unsigned long long hash = 1469598103934665603ull;  // FNV-1a
    std::string text;

    void add(const std::string& part) {
        text += part + "\n";
        for (unsigned char c : part + "\n") {
            hash ^= c;
            hash *= 1099511628211ull;
        }
    }
};

std::string number(long long value) { return std::to_string(value); }

std::string bitmap_digest(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return "no bitmap";
    std::vector<unsigned char> bits(static_cast<std::size_t>(info.bmWidthBytes) * info.bmHeight);
    GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
    Fingerprint pixels;
    pixels.add(std::string(bits.begin(), bits.end()));
    return number(info.bmWidth) + "x" + number(info.bmHeight) + " " + number(static_cast<long long>(pixels.hash));
}

std::string describe(HWND control) {
    char class_name[64] = "";
    GetClassNameA(control, class_name, sizeof class_name);
    const std::vector<int> rect = rect_in_parent(control);  // x, y, width, height
    std::string line = std::string(class_name) + " " + number(GetDlgCtrlID(control)) + " " +
                       number(GetWindowLongA(control, GWL_STYLE)) + " " + number(rect[0]) + "," + number(rect[1]) +
                       " " + number(rect[2]) + "x" + number(rect[3]) + " [" + text_of(control) + "] font " +
                       number(SendMessageA(control, WM_GETFONT, 0, 0) != 0);
    if (GetDlgCtrlID(control) > picture_control_id_base)
        line += " " + bitmap_digest(reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    return line;
}

struct Scenario {
    const char* name;
    int kind;
    int boxes;
    int reveal_mode;
    int questions;
    const char* saved_answers;  // nullptr: no results file
    unsigned long long expected;
};

// Questions 10 and 12 to 15 of a picture quiz: missing, not a picture, 333 x 251,
// 40 x 30 (enlarged), 2 x 900 (fits to nothing). Answer 13 is a portrait.
const char* const mixed_answers =
    "reponse1\r\nreponse2\r\nfaux\r\nreponse4\r\n\r\nreponse6\r\nreponse7\r\n reponse8\r\nreponse9\r\n"
    "reponse10\r\nreponse11\r\nreponse12\r\nreponse13\r\nreponse14\r\nreponse15\r\n";
const char* const paired_answers =
    "reponse1\r\nbis1\r\nreponse2\r\nfaux\r\n\r\nbis3\r\nreponse4\r\nbis4\r\nreponse5\r\nbis5\r\n"
    "reponse6\r\nbis6\r\nreponse7\r\nbis7\r\nreponse8\r\nbis8\r\nreponse9\r\nbis9\r\nreponse10\r\nbis10\r\n"
    "reponse11\r\nbis11\r\nreponse12\r\nbis12\r\nreponse13\r\nbis13\r\nreponse14\r\nbis14\r\n";

const Scenario scenarios[] = {
    {"text, reveal text", text_quiz, 1, 2, 5, "reponse1\r\nfaux\r\nreponse3\r\n", 0x4678454ce7799525ull},
    {"pictures, text and picture", picture_quiz, 1, 3, 15, mixed_answers, 0x3572f5912bf77b94ull},
    {"pictures, picture, no results file", picture_quiz, 1, 1, 15, nullptr, 0x691314d65b4d3fa6ull},
    {"pictures, two boxes, text", picture_quiz, 2, 2, 15, paired_answers, 0x815637a350278b22ull},
    {"sound, reveal text", sound_quiz, 1, 2, 4, "reponse1\r\nreponse2\r\nfaux\r\nreponse4\r\n", 0x7cc15d73a7b11788ull},
    {"video, two boxes", video_quiz, 2, 0, 4, "reponse1\r\nbis1\r\nfaux\r\n", 0x4a3e431b74996d86ull},
};

class PanelEquivalence : public PanelTest {
protected:
    Fingerprint shown() const {
        Fingerprint fingerprint;
        for (HWND control = GetWindow(panel, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
            fingerprint.add(describe(control));
        fingerprint.add("score [" + score() + "] code [" + code() + "]");
        fingerprint.add("focus " + number(GetDlgCtrlID(GetFocus())) + " extent " + number(content_width) + "x" +
                        number(content_height));
        return fingerprint;
    }
};

TEST_F(PanelEquivalence, ShowsWhatTheFormerConstructionShowed) {
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        TearDown();
        SetUp();
        fill_numbered(scenario.kind, scenario.boxes, scenario.reveal_mode, scenario.questions);
        if (scenario.saved_answers) write_file(own_results_file_name(), scenario.saved_answers);
        if (scenario.kind == sound_quiz || scenario.kind == video_quiz) start_media();
        create_panel();
        const Fingerprint fingerprint = shown();
        EXPECT_EQ(fingerprint.hash, scenario.expected) << fingerprint.text;
    }
}

// Construction decodes only 412, which has no JPEG header; once the panel has its
// size, rows 1 and 2, which it shows, are decoded; the others wait.
TEST_F(PanelEquivalence, PicturesOutOfViewAreDecodedOnePerMessageUntilTheLoopIsToldToEnd) {
    fill_numbered(picture_quiz, 1, 0, 15);
    const long before = picture_decode_count();
    panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1001), top, question_panel_proc, 0);
    EXPECT_EQ(picture_decode_count() - before, 1);
    SetWindowPos(panel, nullptr, 0, 0, 1300, 400, SWP_NOZORDER | SWP_NOMOVE);
    decode_pictures_in_view(panel);
    EXPECT_EQ(picture_decode_count() - before, 7);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, panel, decode_next_picture_message, decode_next_picture_message, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_EQ(picture_decode_count() - before, 8);
    PostQuitMessage(0);
    pump(panel);
    EXPECT_EQ(picture_decode_count() - before, 8);
}

}  // namespace
}  // namespace panel_test
