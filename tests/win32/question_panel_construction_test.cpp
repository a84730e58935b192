// Construction of the question panel on real windows: every control's class,
// id, style, text, font and place, the pictures, saved answers and scroll ranges.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "answers/evaluation.h"
#include "pictures/picture_loader.h"
#include "question_panel_harness.h"

namespace panel_test {
namespace {

enum class Font { none, gui, answer };

struct Expected {
    const char* class_name;  // lower case
    int id;
    DWORD style;
    std::string text;
    ControlRect rect;
    Font font;
};

std::string lower_class_name(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    std::string lowered = name;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

// Edit controls read back without WS_BORDER.
DWORD comparable_style(HWND window, DWORD style) {
    return lower_class_name(window) == "edit" ? style & ~static_cast<DWORD>(WS_BORDER) : style;
}

class PanelConstruction : public PanelTest {
protected:
    HGDIOBJ font_of(Font font) const {
        switch (font) {
        case Font::gui: return GetStockObject(DEFAULT_GUI_FONT);
        case Font::answer: return record->answer_font.get();
        default: return nullptr;
        }
    }

    // The panel's children in creation order must be exactly `expected`.
    void expect_children(const std::vector<Expected>& expected) {
        std::vector<HWND> children;
        for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgCtrlID(child) != player_host_id) children.push_back(child);  // the media layer's
        ASSERT_EQ(children.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Expected& e = expected[i];
            HWND child = children[i];
            SCOPED_TRACE(testing::Message() << "child " << i << ", id " << e.id);
            EXPECT_EQ(lower_class_name(child), e.class_name);
            EXPECT_EQ(GetDlgCtrlID(child), e.id);
            EXPECT_EQ(comparable_style(child, static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE))),
                      comparable_style(child, e.style));
            EXPECT_EQ(text_of(child), e.text);
            expect_rect(child, e.rect);
            EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)), font_of(e.font));
        }
    }

    SIZE picture_size(int question_number) const {
        HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(
            SendMessageA(item(picture_control_id_base + question_number), STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP info = {};
        if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
        return {info.bmWidth, info.bmHeight};
    }
};

std::string number_text(int n) { return std::to_string(n) + "."; }

TEST_F(PanelConstruction, TextQuizRows) {
    fill(text_quiz, 1, 0,
         {{"un", "", "Combien font 50 % de 2 ?", nullptr},
          {"deux", "", "Capitale de l'Égypte %s %d", nullptr},
          {"trois", "", "Troisième", nullptr}});
    create_panel();
    std::vector<Expected> expected;
    for (int n = 1; n <= 3; ++n) {
        const int y = 5 + 25 * (n - 1);
        const std::string text = question_at(*record, n - 1)->question_text;
        expected.push_back({"static", 153, 0x50000002, number_text(n), {26, y + 2, 19, 17}, Font::none});
        expected.push_back({"static", 3000, 0x50800201, text, {50, y, 550, 20}, Font::gui});
        expected.push_back({"edit", 4000 + n, 0x50810281, "", {610, y, 100, 20}, Font::answer});
        expected.push_back({"static", 5000 + n, 0x50800201, "?", {720, y, 100, 20}, Font::none});
    }
    expect_children(expected);
    EXPECT_EQ(text_of(item(3000)), "Combien font 50 % de 2 ?");
    EXPECT_EQ(content_width, 850);
    EXPECT_EQ(content_height, 80);
    EXPECT_EQ(SendMessageA(box(1), EM_GETLIMITTEXT, 0, 0), 259);
}

TEST_F(PanelConstruction, TextQuizAnnouncingTwoBoxesStillHasOneBoxPerQuestion) {
    fill_numbered(text_quiz, 2, 0, 3);
    create_panel();
    for (int b = 1; b <= 3; ++b) EXPECT_NE(box(b), nullptr) << b;
    EXPECT_EQ(box(4), nullptr);
    expect_rect(box(3), {610, 55, 100, 20});
    EXPECT_EQ(content_width, 910);
    EXPECT_EQ(content_height, 80);
}

TEST_F(PanelConstruction, PictureQuizOfFour) {
    fill_numbered(picture_quiz, 1, 0, 4);
    create_panel();
    const int origins[] = {46, 436, 826, 46};
    const int row_tops[] = {5, 5, 5, 345};
    std::vector<Expected> expected;
    for (int n = 1; n <= 4; ++n) {
        const int x0 = origins[n - 1];
        const int y = row_tops[n - 1];
        const int ry = y + 280;
        expected.push_back({"static", 9900 + n, 0x5080020E, "", {x0, y, 360, 270}, Font::none});
        expected.push_back({"static", 153, 0x50000002, number_text(n), {x0 - 28, ry + 2, 27, 17}, Font::none});
        expected.push_back({"edit", 4000 + n, 0x50810081, "", {x0, ry, 360, 20}, Font::answer});
        expected.push_back({"static", 5000 + n, 0x50800201, "?", {x0, ry + 19, 360, 20}, Font::none});
    }
    expect_children(expected);
    for (int n = 1; n <= 4; ++n) {
        const SIZE size = picture_size(n);
        EXPECT_EQ(size.cx, 360) << n;
        EXPECT_EQ(size.cy, 270) << n;
    }
    EXPECT_EQ(content_width, 1210);
    EXPECT_EQ(content_height, 685);
}

TEST_F(PanelConstruction, PortraitMakesItsRowTallAndLandscapesSitCentred) {
    fill_numbered(picture_quiz, 1, 0, 9);  // row 3: 407 and 408 landscape, 409 portrait
    create_panel();
    const int row_top = 5 + 2 * 340;
    expect_rect(item(9907), {46, row_top + 37, 360, 270});
    expect_rect(item(9908), {436, row_top + 37, 360, 270});
    expect_rect(item(9909), {826 + 51, row_top, 258, 345});
    EXPECT_EQ(picture_size(9).cx, 258);
    EXPECT_EQ(picture_size(9).cy, 345);
    for (int b = 7; b <= 9; ++b) EXPECT_EQ(rect_in_parent(box(b)).top, row_top + 355) << b;
    EXPECT_EQ(content_height, row_top + 355 + 60);
}

TEST_F(PanelConstruction, PicturesPastTheLastQuestionAreMeasuredThenLeftOut) {
    fill_numbered(picture_quiz, 1, 0, 7);  // 408 and 409 measured for question 7's row, from their headers
    const long decodes_before = picture_decode_count();
    create_panel();
    EXPECT_EQ(picture_decode_count() - decodes_before, 7);
    const int row_top = 5 + 2 * 340;
    expect_rect(item(9907), {46, row_top + 37, 360, 270});
    EXPECT_EQ(rect_in_parent(box(7)).top, row_top + 355);
    EXPECT_EQ(item(9908), nullptr);
}

TEST_F(PanelConstruction, EachQuestionPictureIsDecodedOnce) {
    fill_numbered(picture_quiz, 1, 0, 6);
    const long decodes_before = picture_decode_count();
    create_panel();
    EXPECT_EQ(picture_decode_count() - decodes_before, 6);
}

TEST_F(PanelConstruction, MissingPictureLeavesAnEmptyControlOverTheWholeCell) {
    fill_numbered(picture_quiz, 1, 0, 11);  // 410 is missing, 411 is a landscape
    create_panel();
    const int row_top = 5 + 2 * 340 + 355 + 60;
    expect_rect(item(9910), {46, row_top, 360, 270});
    EXPECT_EQ(SendMessageA(item(9910), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    expect_rect(item(9911), {436, row_top, 360, 270});
    EXPECT_EQ(picture_size(11).cx, 360);
}

TEST_F(PanelConstruction, SoundQuizCellsHavePlayAndStopButtons) {
    fill_numbered(sound_quiz, 1, 0, 4);
    start_media();
    create_panel();
    const int origins[] = {46, 436, 826, 46};
    const int control_tops[] = {5, 5, 5, 65};
    std::vector<Expected> expected;
    for (int n = 1; n <= 4; ++n) {
        const int x0 = origins[n - 1];
        const int ry = control_tops[n - 1];
        expected.push_back({"static", 153, 0x50000002, number_text(n), {x0 - 28, ry + 2, 27, 17}, Font::none});
        expected.push_back({"button", 6000 + n, 0x50010041, "", {x0, ry, 20, 20}, Font::none});
        expected.push_back({"button", 7000 + n, 0x50010041, "", {x0, ry + 20, 20, 19}, Font::none});
        expected.push_back({"edit", 4000 + n, 0x50810081, "", {x0 + 20, ry, 340, 20}, Font::answer});
        expected.push_back({"static", 5000 + n, 0x50800201, "?", {x0 + 20, ry + 19, 340, 20}, Font::none});
    }
    expect_children(expected);
    HICON play = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1004));
    HICON stop = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1005));
    ASSERT_NE(play, nullptr);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(item(6003), BM_GETIMAGE, IMAGE_ICON, 0)), play);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(item(7003), BM_GETIMAGE, IMAGE_ICON, 0)), stop);
    EXPECT_EQ(content_width, 1210);
    EXPECT_EQ(content_height, 125);
}

TEST_F(PanelConstruction, PlayerThatCannotBeAttachedLeavesThePanelEmpty) {
    fill_numbered(sound_quiz, 1, 0, 4);
    write_file(results_file(), "reponse1\r\n");
    set_hosting_library("absent_de_ce_systeme.dll");
    start_media();
    set_hosting_library(nullptr);
    record->answer_font.reset();
    create_panel();
    EXPECT_EQ(GetWindow(panel, GW_CHILD), nullptr);
    EXPECT_FALSE(record->answer_font);
    EXPECT_EQ(content_width, 0);
    EXPECT_EQ(content_height, 0);
    save_answers(panel);
    EXPECT_EQ(read_file(results_file()), "reponse1\r\n");
}

TEST_F(PanelConstruction, VideoQuizLeavesABandAboveEachCell) {
    fill_numbered(video_quiz, 1, 0, 4);
    start_media();
    create_panel();
    expect_rect(box(1), {66, 215, 340, 20});
    expect_rect(item(6002), {436, 215, 20, 20});
    expect_rect(box(4), {66, 215 + 60 + 210, 340, 20});
    EXPECT_EQ(content_height, 215 + 60 + 210 + 60);
}

TEST_F(PanelConstruction, TwoBoxCellsWithCaptionsAtEachRowStart) {
    fill_numbered(sound_quiz, 2, 0, 4);
    start_media();
    copy_text(record->answer_label_1, "Prénom - Nom");
    copy_text(record->answer_label_2, "Manga / Anime");
    create_panel();
    std::vector<Expected> expected;
    for (int n = 1; n <= 4; ++n) {
        const int x0 = 106 + 390 * ((n - 1) % 3);
        const int ry = n == 4 ? 65 : 5;
        if (n == 1 || n == 4) {
            expected.push_back({"static", 156, 0x50000000, "Prénom - Nom", {3, ry + 2, 95, 20}, Font::gui});
            expected.push_back({"static", 156, 0x50000000, "Manga / Anime", {3, ry + 22, 95, 20}, Font::gui});
        }
        expected.push_back({"static", 153, 0x50000002, number_text(n), {x0 - 28, ry + 2, 27, 17}, Font::none});
        expected.push_back({"button", 6000 + n, 0x50010041, "", {x0, ry, 20, 20}, Font::none});
        expected.push_back({"button", 7000 + n, 0x50010041, "", {x0, ry + 20, 20, 19}, Font::none});
        for (int k = 1; k <= 2; ++k) {
            const int b = 2 * (n - 1) + k;
            const int y = ry + 19 * (k - 1);
            expected.push_back({"edit", 4000 + b, 0x50810081, "", {x0 + 20, y, 281, 20}, Font::answer});
            expected.push_back({"static", 5000 + b, 0x50800201, "?", {x0 + 300, y, 60, 20}, Font::gui});
        }
    }
    expect_children(expected);
    EXPECT_EQ(content_width, 1270);
}

TEST_F(PanelConstruction, RevealLabelsStartEmptyBelowTheBoxes) {
    fill_numbered(picture_quiz, 1, 2, 4);
    create_panel();
    const int origins[] = {46, 436, 826, 46};
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        HWND reveal = item(8000 + n);
        ASSERT_NE(reveal, nullptr);
        const int ry = n == 4 ? 285 + 140 + 280 : 285;
        expect_rect(reveal, {origins[n - 1], ry + 46, 360, 65});
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(reveal, GWL_STYLE)), 0x50000001u);
        EXPECT_EQ(text_of(reveal), "");
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(reveal, WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT));
        // created after the question's boxes and label
        EXPECT_EQ(GetWindow(item(5000 + n), GW_HWNDNEXT), reveal);
    }
    EXPECT_EQ(content_height, 285 + 140 + 280 + 140);
}

TEST_F(PanelConstruction, QuizKindOutsideTheFourBuildsNoRows) {
    fill_numbered(7, 2, 0, 3);
    create_panel();
    EXPECT_EQ(GetWindow(panel, GW_CHILD), nullptr);
    EXPECT_EQ(content_width, 80);
    EXPECT_EQ(content_height, 0);
}

TEST_F(PanelConstruction, FailedDecodeShowsNoRowsAndSurvivesEvaluations) {
    // As left by a quiz stream that cannot be decoded: two questions announced, no entries.
    ASSERT_EQ(record->first_question, nullptr);
    write_file(results_file(), "garder\r\n");
    for (int kind : {text_quiz, picture_quiz}) {
        SCOPED_TRACE(kind);
        record->quiz_kind = kind;
        create_panel();
        EXPECT_EQ(GetWindow(panel, GW_CHILD), nullptr);
        EXPECT_EQ(content_width, 20);
        EXPECT_EQ(content_height, 0);
        for (int id : {4001, 4002, 4003, 3999, 0}) evaluate_answer(*record, panel, id);
        update_score(*record, panel);
        EXPECT_EQ(header_text(32), " 0 / 2");
        EXPECT_EQ(header_text(30), "      ");
        save_answers(panel);
        EXPECT_EQ(read_file(results_file()), "garder\r\n");
        destroy_panel();
    }
}

TEST_F(PanelConstruction, ScoreAndCodeStartAtZeroOfTheQuestionCount) {
    fill_numbered(text_quiz, 1, 0, 45);
    SetDlgItemTextA(header, 30, "autre");
    create_panel();
    EXPECT_EQ(header_text(32), " 0 / 45");
    EXPECT_EQ(header_text(30), "      ");
}

TEST_F(PanelConstruction, ScrollBarsFollowTheContentAndTheClient) {
    fill_numbered(picture_quiz, 1, 0, 4);
    create_panel(800, 400);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(panel, SB_HORZ, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 1208);
    EXPECT_EQ(info.nPage, 799u);
    ASSERT_TRUE(GetScrollInfo(panel, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 683);
    EXPECT_EQ(info.nPage, 399u);
}

// Restored answers: line b of the results file becomes box b's text.
TEST_F(PanelConstruction, TextRowsRestoreAnswersButShowQuestionMarksUntilEvaluated) {
    fill_numbered(text_quiz, 1, 0, 3);
    write_file(results_file(), "reponse1\r\nxyz\r\n");
    create_panel();
    EXPECT_EQ(text_of(box(1)), "reponse1");
    EXPECT_EQ(text_of(box(2)), "xyz");
    EXPECT_EQ(text_of(box(3)), "");
    for (int b = 1; b <= 3; ++b) EXPECT_EQ(feedback(b), "?") << b;
    EXPECT_EQ(header_text(32), " 0 / 3");
}

TEST_F(PanelConstruction, GridRestoredAnswersAreGradedByTheFocusSteps) {
    fill_numbered(picture_quiz, 1, 0, 4);
    write_file(results_file(), "reponse1\r\nreponse\r\nrien du tout");  // last line without CR LF
    create_panel();
    EXPECT_EQ(text_of(box(3)), "rien du tout");
    EXPECT_EQ(text_of(box(4)), "");
    EXPECT_EQ(feedback(1), "BRAVO");
    EXPECT_EQ(feedback(2), "Quasiment");
    EXPECT_EQ(feedback(3), "FAUX");
    EXPECT_EQ(header_text(32), " 1 / 4");
}

TEST_F(PanelConstruction, TwoBoxGridRestoresBothBoxesOfEachQuestion) {
    fill_numbered(picture_quiz, 2, 0, 2);
    write_file(results_file(), "reponse1\r\nbis1\r\nfaux\r\nbis2\r\n");
    create_panel();
    const char* texts[] = {"reponse1", "bis1", "faux", "bis2"};
    const char* grades[] = {"BRAVO", "BRAVO", "FAUX", "BRAVO"};
    for (int b = 1; b <= 4; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(text_of(box(b)), texts[b - 1]);
        EXPECT_EQ(feedback(b), grades[b - 1]);
    }
}

TEST_F(PanelConstruction, OverlongSavedLineIsCutTo259Bytes) {
    fill_numbered(picture_quiz, 1, 0, 2);
    write_file(results_file(), std::string(300, 'a') + "\r\nreponse2\r\n");
    create_panel();
    EXPECT_EQ(text_of(box(1)), std::string(259, 'a'));
    EXPECT_EQ(text_of(box(2)), "reponse2");
}

TEST_F(PanelConstruction, RestoredExactAnswerRevealsTheAnswerPictureAtOnce) {
    fill_numbered(picture_quiz, 1, 1, 2);
    write_file(results_file(), "reponse1\r\n");
    create_panel();
    EXPECT_EQ(picture_size(1).cx, 258);  // answer picture 10401 is a portrait
    EXPECT_EQ(picture_size(2).cx, 360);
}

}  // namespace
}  // namespace panel_test
