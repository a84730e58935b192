// The quiz loader on fixture DLLs carrying PATCH 104 and 105 in every state it
// must handle, and the quiz record's brushes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/owned_handle.h"
#include "quiz_data/quiz_record.h"
#include "quiz_data/stream_decoder.h"

namespace {
// While not negative: the nothrow allocations of the decoder's output buffer to
// let through before one fails.
int output_buffers_before_failure = -1;
}  // namespace

// The default array deletion frees with free(), so malloc() here matches it.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (size == decoded_capacity && output_buffers_before_failure >= 0 && output_buffers_before_failure-- == 0)
        return nullptr;
    return std::malloc(size ? size : 1);
}

namespace {

std::string messages;
void record_message(const char* text, const char* caption) { messages += std::string(text) + " (" + caption + ") "; }

COLORREF colour_of(HBRUSH brush) {
    LOGBRUSH logical = {};
    GetObjectA(brush, sizeof logical, &logical);
    return logical.lbColor;
}

// What a load left: its messages, then the record's title, questions/entries, second
// question's text, codes 1 and 2 and the colour brush.
std::string load(const char* fixture, int buffers_before_failure = -1) {
    char path[MAX_PATH] = {};
    std::string file(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    file.erase(file.find_last_of('\\') + 1);
    OwnedModule module(fixture ? LoadLibraryExA((file + "fixtures\\loader_" + fixture + ".dll").c_str(), nullptr,
                                                LOAD_LIBRARY_AS_DATAFILE)
                               : nullptr);
    EXPECT_TRUE(!fixture || module) << fixture;
    messages.clear();
    set_message_sink(record_message);
    QuizRecord record;
    output_buffers_before_failure = buffers_before_failure;
    load_quiz(record, module.get());
    output_buffers_before_failure = -1;
    set_message_sink(nullptr);
    const QuestionEntry* second = question_at(record, 1);
    return messages + record.title + "|" + std::to_string(record.question_count) + "/" +
           std::to_string(entry_count(record)) + "|" +
           (second ? second->question_text : "") + "|" + record.codes[0] + "|" + record.codes[1] + "|" +
           std::to_string(colour_of(record.colour_brush.get()));
}

TEST(QuizLoader, EveryStateOfTheTwoStreams) {
    const std::string full = "Ch\xE2teaux de la Loire|3/3|Le ch\xE2teau des dames|";
    const std::string full_colour = "|" + std::to_string(RGB(12, 200, 34));
    const std::string constructed = "nom du quizz|2/0|||" "|" + std::to_string(RGB(90, 95, 150));
    const std::string bad_quiz = "Erreur dans le d\xE9" "cryptage des reponses (Quizz) ";
    const std::string bad_codes = "Erreur dans le d\xE9" "cryptage des codes (Quizz) ";
    const struct {
        const char* fixture;  // nullptr: the test executable, which carries no quiz
        std::string left;
    } cases[] = {
        {"full_quiz", full + "\xC9TOILE|LUNE" + full_colour},
        {"largest_quiz", full + "\xC9TOILE|LUNE" + full_colour},
        {nullptr, "Nom du quizz|7/2|emplacement|||10734389"},
        {"empty_quiz", "Nom du quizz|7/2|emplacement|||10734389"},
        {"undecodable_quiz", bad_quiz + constructed},
        {"truncated_quiz", bad_quiz + constructed},
        {"oversized_quiz", bad_quiz + constructed},
        {"codes_absent", "Codes non trouv\xE9s. (Quizz) " + full + "|" + full_colour},
        {"codes_empty", "Codes non renseign\xE9s. (Quizz) " + full + "|" + full_colour},
        {"codes_undecodable", bad_codes + full + "|" + full_colour},
        {"codes_short", bad_codes + full + "|" + full_colour},
    };
    for (const auto& c : cases) EXPECT_EQ(load(c.fixture), c.left) << (c.fixture ? c.fixture : "executable");
    // A failed output buffer is reported before the failure of its stream.
    const std::string out_of_memory = "Impossible d'allouer la memoire (information) ";
    EXPECT_EQ(load("full_quiz", 0), out_of_memory + bad_quiz + constructed);
    EXPECT_EQ(load("full_quiz", 1), out_of_memory + bad_codes + full + "|" + full_colour);
}

TEST(QuizRecord, OwnsItsBrushesAndFonts) {
    auto record = std::make_unique<QuizRecord>();
    const HBRUSH constructed = record->colour_brush.get();
    record->colour_red = 1;
    record->update_colour_brush();
    EXPECT_EQ(colour_of(record->colour_brush.get()), RGB(1, 95, 150));
    EXPECT_EQ(GetObjectType(constructed), 0u);
    const std::vector<HBRUSH> brushes = {record->brush_red.get(), record->brush_green.get(), record->brush_orange.get(),
                                         record->brush_amber.get(), record->brush_pale_yellow.get()};
    const HGDIOBJ score_font = record->score_font.get();
    record.reset();
    for (HBRUSH brush : brushes) EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(score_font), 0u);
}

}  // namespace
