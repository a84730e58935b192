#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/owned_handle.h"
#include "quiz_data/quiz_record.h"
#include "quiz_data/stream_decoder.h"

namespace {

// Fault injection for the decoder's output buffer, the one allocation failure the
// player is told about: while `output_buffers_before_failure` is not negative, it
// counts down the nothrow array allocations of that size, and the one reaching zero fails.
int output_buffers_before_failure = -1;

}  // namespace

// The default array deletion frees with free(), so malloc() here matches it.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (size == decoded_capacity && output_buffers_before_failure >= 0 &&
        output_buffers_before_failure-- == 0)
        return nullptr;
    return std::malloc(size ? size : 1);
}

namespace {

struct Message {
    std::string text;
    std::string caption;
    bool operator==(const Message& other) const { return text == other.text && caption == other.caption; }
};

void PrintTo(const Message& message, std::ostream* out) {
    *out << '"' << message.text << "\" / \"" << message.caption << '"';
}

std::vector<Message> recorded_messages;

void record_message(const char* text, const char* caption) { recorded_messages.push_back({text, caption}); }

// Records messages instead of showing them, for the length of one test.
class MessageRecorder : public ::testing::Test {
protected:
    void SetUp() override {
        recorded_messages.clear();
        set_message_sink(record_message);
    }
    void TearDown() override { set_message_sink(nullptr); }
};

// Fixture DLLs lie in "fixtures" beside the test executable.
OwnedModule load_fixture(const std::string& name) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, length);
    file.erase(file.find_last_of('\\') + 1);
    file += "fixtures\\" + name + ".dll";
    return OwnedModule(LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

void expect_solid_brush(HBRUSH brush, COLORREF colour) {
    LOGBRUSH logical = {};
    ASSERT_EQ(GetObjectA(brush, sizeof logical, &logical), static_cast<int>(sizeof logical));
    EXPECT_EQ(logical.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(logical.lbColor, colour);
}

struct ExpectedEntry {
    const char* answer_1;
    const char* answer_2;
    const char* question_text;
    const char* reveal_text;
};

struct ExpectedQuiz {
    int quiz_kind;
    const char* title;
    const char* creator;
    const char* explanations;
    const char* answer_label_1;
    const char* answer_label_2;
    int question_count;
    int answers_per_question;
    int reveal_mode;
    COLORREF colour;
    std::vector<ExpectedEntry> entries;
    std::vector<const char*> codes;  // codes from 0; every later one is empty
};

const ExpectedQuiz constructed_quiz = {
    0, "nom du quizz", " createur", "", "", "", 2, 1, 0, RGB(90, 95, 150), {}, {}};

const ExpectedQuiz fallback_quiz = {
    1,
    "Nom du quizz",
    "Createur quizz",
    "Explications du quizz",
    "Prénom - Nom",
    "Manga / Anime",
    7,
    1,
    3,
    10734389,
    {{"test", "test", "emplacement", ""}, {"test", "test", "emplacement", ""}},
    {}};

const ExpectedQuiz full_quiz = {
    1,
    "Châteaux de la Loire",
    "Amélie Poulain",
    "Trouvez le château et qui l'a fait bâtir.",
    "Château",
    "Bâtisseur",
    3,
    2,
    3,
    RGB(12, 200, 34),
    {{"Chambord", "François Ier", "Le plus grand", "Commencé en 1519"},
     {"Chenonceau", "Thomas Bohier", "Le château des dames", "Enjambe le Cher"},
     {"Azay-le-Rideau", "Gilles Berthelot", "Sur une île de l'Indre", "Reflété dans l'eau"}},
    {"ÉTOILE", "LUNE", "SOLEIL"}};

ExpectedQuiz without_codes(ExpectedQuiz quiz) {
    quiz.codes.clear();
    return quiz;
}

// Written byte by byte in the fixture: the zero byte inside "Extrait 2" and in "DEUX" is dropped.
const ExpectedQuiz one_box_quiz = {
    2,
    "Musiques de films",
    "Jean Dupré",
    "Écoutez et nommez le film.",
    "Film",
    "",
    2,
    1,
    2,
    RGB(200, 100, 50),
    {{"Amélie", "", "Extrait n°1", "Yann Tiersen"}, {"Le Grand Bleu", "", "Extrait 2", "Éric Serra"}},
    {"", "DEUX"}};

void expect_record(const QuizRecord& record, const ExpectedQuiz& expected) {
    EXPECT_EQ(record.quiz_kind, expected.quiz_kind);
    EXPECT_STREQ(record.title, expected.title);
    EXPECT_STREQ(record.creator, expected.creator);
    EXPECT_STREQ(record.explanations, expected.explanations);
    EXPECT_STREQ(record.answer_label_1, expected.answer_label_1);
    EXPECT_STREQ(record.answer_label_2, expected.answer_label_2);
    EXPECT_EQ(record.question_count, expected.question_count);
    EXPECT_EQ(record.answers_per_question, expected.answers_per_question);
    EXPECT_EQ(record.reveal_mode, expected.reveal_mode);
    EXPECT_EQ(record.colour_red, GetRValue(expected.colour));
    EXPECT_EQ(record.colour_green, GetGValue(expected.colour));
    EXPECT_EQ(record.colour_blue, GetBValue(expected.colour));
    expect_solid_brush(record.colour_brush.get(), expected.colour);

    ASSERT_EQ(entry_count(record), static_cast<int>(expected.entries.size()));
    for (std::size_t i = 0; i < expected.entries.size(); ++i) {
        SCOPED_TRACE("question index " + std::to_string(i));
        const QuestionEntry* entry = question_at(record, static_cast<int>(i));
        ASSERT_NE(entry, nullptr);
        EXPECT_STREQ(entry->answer_1, expected.entries[i].answer_1);
        EXPECT_STREQ(entry->answer_2, expected.entries[i].answer_2);
        EXPECT_STREQ(entry->question_text, expected.entries[i].question_text);
        EXPECT_STREQ(entry->reveal_text, expected.entries[i].reveal_text);
    }
    if (expected.entries.empty()) {
        EXPECT_EQ(record.first_question.get(), nullptr);
        EXPECT_EQ(record.last_question, nullptr);
    }
    for (std::size_t i = 0; i < max_questions; ++i) {
        SCOPED_TRACE("code " + std::to_string(i));
        EXPECT_STREQ(record.codes[i], i < expected.codes.size() ? expected.codes[i] : "");
    }
}

// ---- The record itself ----

using QuizRecordTest = MessageRecorder;

TEST_F(QuizRecordTest, ConstructionSetsTheDefaultsBrushesAndScoreFont) {
    QuizRecord record;
    expect_record(record, constructed_quiz);
    EXPECT_FALSE(record.answer_font);
    EXPECT_EQ(record.header_panel, nullptr);

    const struct {
        OwnedBrush QuizRecord::*brush;
        COLORREF colour;
    } feedback_brushes[] = {
        {&QuizRecord::brush_red, RGB(255, 0, 0)},
        {&QuizRecord::brush_green, RGB(0, 255, 0)},
        {&QuizRecord::brush_orange, RGB(255, 100, 0)},
        {&QuizRecord::brush_amber, RGB(255, 203, 38)},
        {&QuizRecord::brush_pale_yellow, RGB(255, 255, 192)},
    };
    for (const auto& feedback : feedback_brushes) {
        SCOPED_TRACE(::testing::Message() << "colour " << std::hex << feedback.colour);
        expect_solid_brush((record.*feedback.brush).get(), feedback.colour);
    }

    LOGFONTA font = {};
    ASSERT_EQ(GetObjectA(record.score_font.get(), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, 25);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfCharSet, 0);
    EXPECT_STREQ(font.lfFaceName, "");
    EXPECT_TRUE(recorded_messages.empty());
}

TEST_F(QuizRecordTest, UpdateColourBrushReplacesAndDeletesTheOldBrush) {
    QuizRecord record;
    HBRUSH constructed = record.colour_brush.get();
    record.colour_red = 1;
    record.colour_green = 2;
    record.colour_blue = 3;
    record.update_colour_brush();
    expect_solid_brush(record.colour_brush.get(), RGB(1, 2, 3));
    EXPECT_NE(record.colour_brush.get(), constructed);
    EXPECT_EQ(GetObjectType(constructed), 0u);
}

TEST_F(QuizRecordTest, DestructionReleasesEveryBrushAndFont) {
    auto record = std::make_unique<QuizRecord>();
    append_question(*record, "a", "b", "c");
    append_question(*record, "d", "e", "f");
    LOGFONTA answer = {};
    answer.lfHeight = 15;
    answer.lfWeight = 100;
    record->answer_font.reset(CreateFontIndirectA(&answer));
    const HGDIOBJ owned[] = {record->score_font.get(),   record->answer_font.get(),
                             record->colour_brush.get(), record->brush_red.get(),
                             record->brush_green.get(),  record->brush_orange.get(),
                             record->brush_amber.get(),  record->brush_pale_yellow.get()};
    for (HGDIOBJ object : owned) ASSERT_NE(GetObjectType(object), 0u);
    record.reset();
    for (std::size_t i = 0; i < sizeof owned / sizeof owned[0]; ++i) {
        SCOPED_TRACE("object " + std::to_string(i));
        EXPECT_EQ(GetObjectType(owned[i]), 0u);
    }
}

// ---- The loader, one fixture DLL per state of the two PATCH resources ----

struct LoaderCase {
    const char* fixture;  // nullptr: the test executable, which carries no PATCH
    std::vector<Message> messages;
    ExpectedQuiz quiz;
};

void PrintTo(const LoaderCase& test_case, std::ostream* out) {
    *out << (test_case.fixture ? test_case.fixture : "the test executable");
}

std::string case_name(const ::testing::TestParamInfo<LoaderCase>& info) {
    return info.param.fixture ? info.param.fixture : "executable";
}

const Message decryption_failed = {"Erreur dans le décryptage des reponses", "Quizz"};

const LoaderCase loader_cases[] = {
    {"full_quiz", {}, full_quiz},
    {"one_box_quiz", {}, one_box_quiz},
    {"largest_quiz", {}, full_quiz},
    {nullptr, {}, fallback_quiz},
    {"empty_quiz", {}, fallback_quiz},
    {"undecodable_quiz", {decryption_failed}, constructed_quiz},
    {"truncated_quiz", {decryption_failed}, constructed_quiz},
    {"oversized_quiz", {decryption_failed}, constructed_quiz},
    {"codes_absent", {{"Codes non trouvés.", "Quizz"}}, without_codes(full_quiz)},
    {"codes_empty", {{"Codes non renseignés.", "Quizz"}}, without_codes(full_quiz)},
    {"codes_undecodable", {{"Erreur dans le décryptage des codes", "Quizz"}}, without_codes(full_quiz)},
    {"codes_short", {{"Erreur dans le décryptage des codes", "Quizz"}}, without_codes(full_quiz)},
};

class QuizLoaderTest : public MessageRecorder, public ::testing::WithParamInterface<LoaderCase> {};

TEST_P(QuizLoaderTest, LeavesTheRecordAndMessagesOfItsResources) {
    const LoaderCase& test_case = GetParam();
    OwnedModule fixture;
    if (test_case.fixture) {
        fixture = load_fixture(std::string("loader_") + test_case.fixture);
        ASSERT_TRUE(fixture) << "fixture DLL not found";
    } else {
        ASSERT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(104), "PATCH"), nullptr)
            << "the test executable carries a quiz";
    }
    QuizRecord record;
    load_quiz(record, fixture.get());
    EXPECT_EQ(recorded_messages, test_case.messages);
    expect_record(record, test_case.quiz);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, QuizLoaderTest, ::testing::ValuesIn(loader_cases), case_name);

using QuizLoaderFaultTest = MessageRecorder;

TEST_F(QuizLoaderFaultTest, OutputBufferFailureIsReportedBeforeTheStreamFailure) {
    const Message out_of_memory = {"Impossible d'allouer la memoire", "information"};
    const struct {
        int buffers_before_failure;
        std::vector<Message> messages;
        ExpectedQuiz quiz;
    } failures[] = {
        {0, {out_of_memory, decryption_failed}, constructed_quiz},
        {1, {out_of_memory, {"Erreur dans le décryptage des codes", "Quizz"}}, without_codes(full_quiz)},
    };
    OwnedModule fixture = load_fixture("loader_full_quiz");
    ASSERT_TRUE(fixture);
    for (const auto& failure : failures) {
        SCOPED_TRACE("failing output buffer " + std::to_string(failure.buffers_before_failure));
        recorded_messages.clear();
        QuizRecord record;
        output_buffers_before_failure = failure.buffers_before_failure;
        load_quiz(record, fixture.get());
        const bool failure_reached = output_buffers_before_failure < 0;
        output_buffers_before_failure = -1;
        EXPECT_TRUE(failure_reached);
        EXPECT_EQ(recorded_messages, failure.messages);
        expect_record(record, failure.quiz);
    }
}

// The size-0 cases above mean something only if the resource exists with size 0.
TEST(QuizLoaderFixtures, EmptyStreamsAreResourcesOfSizeZero) {
    const struct {
        const char* fixture;
        int id;
    } empty_streams[] = {{"loader_empty_quiz", 104}, {"loader_codes_empty", 105}};
    for (const auto& empty : empty_streams) {
        SCOPED_TRACE(empty.fixture);
        OwnedModule fixture = load_fixture(empty.fixture);
        ASSERT_TRUE(fixture);
        HRSRC resource = FindResourceA(fixture.get(), MAKEINTRESOURCEA(empty.id), "PATCH");
        ASSERT_NE(resource, nullptr);
        EXPECT_EQ(SizeofResource(fixture.get(), resource), 0u);
    }
}

}  // namespace
