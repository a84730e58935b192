// The quiz source reader, the Windows-1252 conversions, the TOML writer and the
// packing of the resources. Sources are u8 literals; expected quiz texts are
// plain literals, compiled to Windows-1252.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "authoring/cp1252.h"
#include "authoring/maker_paths.h"
#include "authoring/picture_convert.h"
#include "authoring/player_format.h"
#include "authoring/quiz_source.h"
#include "quiz_data/quiz_resources.h"
#include "authoring/source_writer.h"

namespace {

const std::string one = "[[question]]\nanswer = \"a\"\n";
const std::string two = one + "[[question]]\nanswer = \"b\"\n";
const std::string pair = "[[question]]\nanswers = [\"a\", \"b\"]\npicture = \"1.jpg\"\n";
const std::string text_kind = "kind = \"text\"\n";
std::string questions(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += one;
    return text;
}

// A message the Atelier can show: its French is its own.
bool said_in_french(const Message& message) {
    return !message.french.empty() && message.french != message.english;
}

// Every diagnostic as "LINE:COLUMN FIELD: WHAT", one a line; each must be an
// error about `file`, said in French too.
std::string diagnostics_of(const Diagnostics& diagnostics, const std::string& file = "quiz.toml") {
    std::string lines;
    for (const Diagnostic& found : diagnostics) {
        EXPECT_EQ(found.file, file);
        EXPECT_EQ(found.severity, Severity::error);
        EXPECT_TRUE(said_in_french(found.message)) << found.message.english;
        lines += (lines.empty() ? "" : "\n") + std::to_string(found.line) + ":" + std::to_string(found.column) + " " +
                 found.field + ": " + found.message.english;
    }
    return lines;
}

std::string refusals_of(const std::string& text) {
    QuizModel quiz;
    Diagnostics diagnostics;
    const bool read = read_quiz_source(text, "quiz.toml", quiz, diagnostics);
    EXPECT_EQ(read, diagnostics.empty()) << text;
    return diagnostics_of(diagnostics);
}

QuizModel read_or_fail(const std::string& text) {
    QuizModel quiz;
    Diagnostics diagnostics;
    EXPECT_TRUE(read_quiz_source(text, "quiz.toml", quiz, diagnostics)) << diagnostics_of(diagnostics);
    return quiz;
}

const std::string grade_list =
    u8"expected one of the grades \"?\", \"BRAVO\", \"Anagramme\", \"Quasiment\", \"Presque\", \"Trop court\", "
    u8"\"pas loin\", \"Trop long\", \"y a de l'idée\", \"FAUX\"";

TEST(QuizSource, EveryRefusalAtItsPlace) {
    const struct {
        std::string source;
        std::string refusals;  // empty for the boundaries accepted
    } rows[] = {
        {text_kind + questions(96), ""},
        {u8"\uFEFFkind = \"text\"\r\ntitle = \"" + std::string(258, 'x') + u8"é\"\r\n" + one, ""},
        {"kind = \"sound\"\ncodes = [\"A|B\"]\n[[question]]\nanswer = \"a\"\nmedia = \"m\"\n", ""},
        {text_kind + "title =\n", "2:8 TOML syntax: Error while parsing key-value pair: expected value, saw '\\\\n'"},
        {"title = \"x\"\n" + one, "0:0 kind: missing; expected \"text\", \"picture\", \"sound\" or \"video\""},
        {"kind = 1\n" + one, "1:8 kind: expected a string"},
        {"kind = \"image\"\n" + one, "1:8 kind: unknown value \"image\"; expected \"text\", \"picture\", \"sound\" or \"video\""},
        {text_kind + "title = 5\n" + one, "2:9 title: expected a string"},
        {text_kind + "creator = \"a\\u0000b\"\n" + one, "2:11 creator: text contains a zero character (U+0000)"},
        {text_kind + "explanations = \"\\u0080\"\n" + one, "2:16 explanations: character U+0080 cannot be written in Windows-1252"},
        {text_kind + u8"title = \"\u2192\"\n" + one, u8"2:9 title: character U+2192 (→) cannot be written in Windows-1252"},
        {text_kind + "title = \"" + std::string(259, 'x') + u8"é\"\n" + one,
         "2:9 title: text is 260 bytes in Windows-1252, over the limit of 259"},
        {text_kind + one + "text = \"a|b\"\n", "4:8 question 1: text: text contains '|', which a quiz cannot hold"},
        {text_kind + "titel = 1\nid = 1\n" + two + "anwser = \"c\"\n",
         "3:1 id: unknown key\n2:1 titel: unknown key; did you mean `title`?\n"
         "8:1 question 2: anwser: unknown key; did you mean `answer`?"},
        {text_kind + "reveal = 2\n" + one, "2:10 reveal: expected a string"},
        {text_kind + "reveal = \"all\"\n" + one,
         "2:10 reveal: unknown value \"all\"; expected \"none\", \"picture\", \"text\" or \"text+picture\""},
        {text_kind + "reveal = \"picture\"\n" + one,
         "2:10 reveal: \"picture\" reveals answer pictures, which only a picture quiz has"},
        {text_kind + one + "reveal_text = \"x\"\n",
         "4:15 question 1: reveal_text: the quiz reveals no text (reveal = \"none\"), so this text would be lost"},
        {text_kind + "colour = 0x5A5F96\n" + one, "2:10 colour: expected \"#RRGGBB\": red, green and blue in hexadecimal"},
        {text_kind + "colour = \"#5A5F9G\"\n" + one,
         "2:10 colour: expected \"#RRGGBB\": red, green and blue in hexadecimal, not \"#5A5F9G\""},
        {text_kind + "icon = \"\"\n" + one, "2:8 icon: expected a file name, as icon = \"logo.png\""},
        {text_kind + "codes = \"A\"\n" + one, "2:9 codes: expected a list of strings, or a table of codes by score as { 5 = \"CODE\" }"},
        {text_kind + "codes = [\"A\", \"B\"]\n" + one, "2:9 codes: 2 codes for 1 question; at most one code per question"},
        {text_kind + "codes = [\"A\", \"B\\r\"]\n" + two,
         "2:15 codes: code 2: code contains a line break, which a code cannot hold"},
        {text_kind, "0:0 question: no question; a quiz needs at least one [[question]]"},
        {text_kind + "[question]\nanswer = \"a\"\n", "2:1 question: expected [[question]] tables"},
        {text_kind + "question = [\"a\"]\n", "2:13 question: expected [[question]] tables"},
        {text_kind + questions(97), "194:1 question 97: too many questions; a quiz holds at most 96"},
        {text_kind + one + "[[question]]\ntext = \"?\"\n", "4:1 question 2: answer: missing"},
        {"kind = \"picture\"\n" + pair + "answer = \"c\"\n",
         "3:11 question 1: answers: a question has either answer or answers, not both"},
        {"kind = \"picture\"\n[[question]]\nanswers = [\"a\"]\npicture = \"1.jpg\"\n",
         "3:11 question 1: answers: expected exactly two strings, as [\"first box\", \"second box\"]"},
        {text_kind + "[[question]]\nanswers = [\"a\", \"b\"]\n",
         "3:11 question 1: answers: a text quiz has one answer box per question; use answer = \"...\""},
        {"kind = \"picture\"\n" + pair + "[[question]]\nanswer = \"c\"\npicture = \"2.jpg\"\n",
         "6:10 question 2: answer: question 1 has two answers (answers), and every question of a quiz has the same number"},
        {text_kind + "answer_labels = [\"A\", \"B\"]\n" + one,
         "2:17 answer_labels: only a quiz whose questions have two answers (answers) shows box captions"},
        {"kind = \"picture\"\nanswer_labels = [\"A\"]\n" + pair,
         "2:17 answer_labels: expected exactly two strings, as [\"first box\", \"second box\"]"},
        {text_kind + one + "picture = \"1.jpg\"\n", "4:11 question 1: picture: only a picture quiz has pictures (kind = \"text\")"},
        {"kind = \"sound\"\n" + one + "media = \"m\"\nanswer_picture = \"1.jpg\"\n",
         "5:18 question 1: answer_picture: only a picture quiz has answer pictures (kind = \"sound\")"},
        {"kind = \"picture\"\n" + one + "picture = 7\n", "4:11 question 1: picture: expected a file name"},
        {"kind = \"picture\"\n" + one + "picture = \"\"\n", "4:11 question 1: picture: empty file name"},
        {"kind = \"picture\"\n" + one, "2:1 question 1: picture: missing; every question of a picture quiz needs one"},
        {"kind = \"video\"\n\n" + one, "3:1 question 1: media: missing; every question of a video quiz needs one"},
        {"kind = \"picture\"\n" + pair + "media = \"1.avi\"\n",
         "5:9 question 1: media: only sound and video quizzes have media (kind = \"picture\")"},
        {text_kind + one + "tries = \"x\"\n", "4:9 question 1: tries: expected { \"typed text\" = \"grade\", ... }"},
        {text_kind + one + u8"tries = { \"\u2192\" = \"FAUX\", \"" + std::string(260, 'y') + "\" = \"FAUX\", \"b\" = \"Bravo\" }\n",
         "4:304 question 1: tries: " + grade_list + "\n4:25 question 1: tries: a typed text holds at most 259 bytes\n" +
             u8"4:11 question 1: tries: character U+2192 (\u2192) cannot be typed in the player"},
        {text_kind + one + "tries_2 = { \"a\" = \"BRAVO\" }\n",
         "4:11 question 1: tries_2: only a question with two answers (answers) has a second box"},
        // Other accepted texts, the grading mode, codes by score.
        {text_kind + "grading = \"lenient\"\n" + one + "variants = [\"1\", \"2\", \"3\", \"4\", \"5\", \"6\", \"7\", \"8\"]\n",
         ""},
        {text_kind + one + "variants = [\"1\", \"2\", \"3\", \"4\", \"5\", \"6\", \"7\", \"8\", \"9\"]\n",
         "4:12 question 1: variants: 9 variants; a box accepts at most 8 besides its answer"},
        {text_kind + one + "variants = \"b\"\n",
         "4:12 question 1: variants: expected a list of strings, as [\"other\", \"answer\"]"},
        {text_kind + one + "variants = [\"b|c\", \"\", 3]\n",
         "4:13 question 1: variants: text contains '|', which a quiz cannot hold\n"
         "4:20 question 1: variants: an empty text; a variant is another accepted answer\n"
         "4:24 question 1: variants: expected a string"},
        {text_kind + one + "variants_2 = [\"b\"]\n",
         "4:14 question 1: variants_2: only a question with two answers (answers) has a second box"},
        {"kind = \"picture\"\n" + pair + "variants_2 = [\"" + std::string(260, 'y') + "\"]\n",
         "5:15 question 1: variants_2: text is 260 bytes in Windows-1252, over the limit of 259"},
        {text_kind + "grading = \"loose\"\n" + one,
         "2:11 grading: unknown value \"loose\"; expected \"exact\" or \"lenient\""},
        {text_kind + "codes = { 1 = \"A\", 2 = \"B\" }\n" + two, ""},
        {text_kind + "codes = { 0 = \"A\", 3 = \"B\", 02 = \"C\", x = \"D\" }\n" + two,
         "2:11 codes: key \"0\" is not a score from 1 to 2; expected { 5 = \"CODE\", ... }, each code from that many "
         "questions solved\n"
         "2:29 codes: key \"02\" is not a score from 1 to 2; expected { 5 = \"CODE\", ... }, each code from that many "
         "questions solved\n"
         "2:20 codes: key \"3\" is not a score from 1 to 2; expected { 5 = \"CODE\", ... }, each code from that many "
         "questions solved\n"
         "2:39 codes: key \"x\" is not a score from 1 to 2; expected { 5 = \"CODE\", ... }, each code from that many "
         "questions solved"},
        {text_kind + "codes = { 2 = \"B\\n\" }\n" + two,
         "2:15 codes: score 2: code contains a line break, which a code cannot hold"},
        // Every mistake at once, in reading order: unknown keys, the header, then each question.
        {u8"kind = \"text\"\ntitle = \"Nord \u2192 Sud\"\ncolour = \"#12345\"\ntitel = \"x\"\n\n[[question]]\nanswer = "
         u8"\"a|b\"\n\n[[question]]\nanswers = [\"a\", \"b\"]\ntries = { \"x\" = \"Bravo\" }\n",
         u8"4:1 titel: unknown key; did you mean `title`?\n"
         u8"2:9 title: character U+2192 (\u2192) cannot be written in Windows-1252\n"
         u8"3:10 colour: expected \"#RRGGBB\": red, green and blue in hexadecimal, not \"#12345\"\n"
         u8"7:10 question 1: answer: text contains '|', which a quiz cannot hold\n"
         u8"10:11 question 2: answers: a text quiz has one answer box per question; use answer = \"...\"\n"
         u8"11:17 question 2: tries: " + grade_list},
    };
    for (const auto& row : rows) EXPECT_EQ(refusals_of(row.source), row.refusals) << row.source;
}

const std::string picture_source = u8R"(kind = "picture"
title = "Les grands peintres"
creator = "Camille"
explanations = "Trouvez le peintre de chaque \"tableau\" \\ œuvre."
answer_labels = ["Peintre", "Tableau"]
reveal = "text+picture"
colour = "#5A5F96"
codes = ["PINCEAU"]

[[question]]
answers = ["Monet", "Impression, soleil levant"]
text = "Qui a peint ce tableau ?"
picture = "images/q1.jpg"
answer_picture = "images/r1.jpg"
reveal_text = "Claude Monet, 1872"

[[question]]
answers = ["Géricault", "Le Radeau de la Méduse"]
picture = "images/été.jpg"
)";

TEST(Cp1252, EveryByteAndRefusedUtf8) {
    for (int value = 1; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        std::string utf8, back;
        unsigned char refused_byte = 0;
        char32_t refused = 0;
        const bool undefined = value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
        EXPECT_EQ(cp1252_to_utf8(byte, utf8, refused_byte), !undefined) << value;
        if (undefined) continue;
        EXPECT_TRUE(utf8_to_cp1252(utf8, back, refused));
        EXPECT_EQ(back, byte) << value;
        if (value >= 0x80 && value < 0xA0) {
            EXPECT_FALSE(cp1252_byte(static_cast<char32_t>(value), refused_byte));
        }
    }
    std::string cp1252;
    char32_t refused = 0;
    EXPECT_TRUE(utf8_to_cp1252(u8"Cœur 12 € l’été", cp1252, refused));
    EXPECT_EQ(cp1252, "C\x9C" "ur 12 \x80 l\x92\xE9t\xE9");
    for (const char* bad : {"ab\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ab\xE2\x82"}) {
        EXPECT_FALSE(utf8_to_cp1252(bad, cp1252, refused)) << bad;
        EXPECT_EQ(refused, 0xFFFDu);
    }
    EXPECT_EQ(cp1252, "ab");  // what came before the refusal
    EXPECT_EQ(utf8_of(0x1F600), "\xF0\x9F\x98\x80");
}

// The player's format of a quiz read without error.
PlayerQuiz packed_or_fail(const QuizModel& quiz, const std::vector<QuestionData>& data) {
    PlayerQuiz packed;
    Diagnostics diagnostics;
    EXPECT_TRUE(pack_quiz(quiz, "quiz.toml", data, packed, diagnostics)) << diagnostics_of(diagnostics);
    return packed;
}

TEST(PlayerFormat, OtherAcceptedTextsTravelApartAndCodesRunByScore) {
    const std::string source = text_kind + "codes = [\"A\"]\n" + questions(3);
    const PlayerQuiz today = packed_or_fail(read_or_fail(source), std::vector<QuestionData>(3));
    const PlayerQuiz fair = packed_or_fail(
        read_or_fail("grading = \"lenient\"\n" + source + "variants = [\"b\"]\n"), std::vector<QuestionData>(3));
    // A player that knows nothing of the grading stream reads the same two streams.
    ASSERT_EQ(today.resources.size(), 2u);
    ASSERT_EQ(fair.resources.size(), 3u);
    EXPECT_EQ(fair.resources[0].bytes, today.resources[0].bytes);
    EXPECT_EQ(fair.resources[1].bytes, today.resources[1].bytes);
    EXPECT_EQ(fair.resources[2].id, grading_stream_id);
    EXPECT_EQ(question_at(fair.content, 2)->variants[0], std::vector<std::string>{"b"});
    EXPECT_EQ(std::string(today.content.codes[1]), "");

    const PlayerQuiz by_score = packed_or_fail(read_or_fail(text_kind + "codes = { 3 = \"C\", 2 = \"B\" }\n" + questions(4)),
                                               std::vector<QuestionData>(4));
    const char* const lines[] = {"", "B", "C", "C"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(std::string(by_score.content.codes[i]), lines[i]) << i;
}

TEST(SourceWriter, WritesAPackedQuizAsAFreshSourceAndRefusesWhatItCannotHold) {
    const QuizModel quiz = read_or_fail(picture_source);
    PlayerQuiz packed = packed_or_fail(quiz, std::vector<QuestionData>(2));
    std::vector<QuestionFiles> files;
    for (const ModelQuestion& question : quiz.questions)
        files.push_back({question.picture, question.media, question.answer_picture});
    const auto written = [&] {
        Message error;
        const QuizModel model = model_of_packed(packed.content, files, "", error);
        return error.empty() ? write_quiz_source(model) : WrittenSource{"", error};
    };
    // Every field read, then written back in the writer's own order.
    EXPECT_EQ(written().text, picture_source);
    copy_text(question_at(packed.content, 1)->answer_1, "\x9D");
    EXPECT_EQ(written().error.english, "question 2: answers: byte 0x9D has no character in Windows-1252");
    packed.content.reveal_mode = 7;
    EXPECT_EQ(written().error.english, "reveal: reveal mode 7 has no name");
    // The grading, the variants and codes by score come back in their own form.
    const std::string fair = "kind = \"text\"\ntitle = \"\"\ncreator = \"\"\nexplanations = \"\"\nreveal = \"none\"\n"
                             "colour = \"#5A5F96\"\ncodes = { 2 = \"B\" }\ngrading = \"lenient\"\n\n"
                             "[[question]]\nanswer = \"a\"\nvariants = [\"b\", \"c\"]\n\n[[question]]\nanswer = \"d\"\n";
    packed = packed_or_fail(read_or_fail(fair), std::vector<QuestionData>(2));
    files.clear();
    EXPECT_EQ(written().text, fair);
}

TEST(QuestionFiles, LoadsAndChecksEachKind) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quiz_source_test";
    const std::string source_path = (folder / "quiz.toml").u8string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "images");
    const auto write = [&folder](const std::string& name, const std::string& bytes) {
        std::ofstream(folder / std::filesystem::u8path(name), std::ios::binary) << bytes;
    };
    RgbaPicture small;  // a baseline JPEG small enough to be stored as it is
    small.width = small.height = 8;
    small.pixels.assign(8 * 8 * 4, 50);
    const std::vector<unsigned char> jpeg = encode_jpeg(small);
    write(u8"images/été.jpg", std::string(jpeg.begin(), jpeg.end()));
    write("png.jpg", "\x89PNG");
    write("id3.mp3", "ID3\x04");
    write("frame.mp3", "\xFF\xFB\x90");
    write("wave.mp3", "RIFF\x04\x01\x01\x01WAVE");
    write("clip.avi", "RIFF\x04\x01\x01\x01" "AVI LIST");
    const struct {
        std::string source;
        std::string refusal;  // its start; empty: loads
        std::size_t size = 0;  // of the question's picture and media
    } cases[] = {
        {u8"kind = \"picture\"\n" + one + u8"picture = \"images/été.jpg\"\n", "", jpeg.size()},
        {"kind = \"sound\"\n" + one + "media = \"id3.mp3\"\n", "", 4},
        {"kind = \"sound\"\n" + one + "media = \"frame.mp3\"\n", "", 3},
        {"kind = \"video\"\n" + one + "media = \"clip.avi\"\n", "", 16},
        {"kind = \"picture\"\n" + one + "picture = \"images\"\n", "4:11 question 1: picture: images: is a folder"},
        {"kind = \"picture\"\n" + one + "picture = \"png.jpg\"\n", "4:11 question 1: picture: png.jpg is not a picture"},
        {u8"kind = \"picture\"\n" + one + u8"picture = \"images/été.jpg\"\nanswer_picture = \"id3.mp3\"\n",
         "5:18 question 1: answer_picture: id3.mp3 is not a picture"},
        {"kind = \"video\"\n" + one + "media = \"wave.mp3\"\n", "4:9 question 1: media: wave.mp3 is not an AVI"},
    };
    for (const auto& c : cases) {
        const QuizModel quiz = read_or_fail(c.source);
        std::vector<QuestionData> data;
        Diagnostics diagnostics;
        EXPECT_EQ(load_question_files(quiz, source_path, data, diagnostics), c.refusal.empty()) << c.source;
        EXPECT_EQ(diagnostics_of(diagnostics, source_path).substr(0, c.refusal.size()), c.refusal);
        if (c.refusal.empty()) {
            EXPECT_EQ(data[0].picture.size() + data[0].media.size(), c.size);
        }
    }
    std::filesystem::remove_all(folder);
}

TEST(PackQuiz, ResourcesTextsAndTheStreamLimit) {
    QuizModel quiz = read_or_fail(picture_source);
    std::vector<QuestionData> data(2);
    data[0].picture = data[1].picture = {0xFF, 0xD8, 0xFF, 1};
    data[0].answer_picture = {0xFF, 0xD8, 0xFF, 2};
    const PlayerQuiz packed = packed_or_fail(quiz, data);
    std::string ids;
    for (const PackedResource& resource : packed.resources)
        ids += std::string(resource.type) + std::to_string(resource.id) + " ";
    EXPECT_EQ(ids, "PATCH104 PATCH105 IMG401 IMG10401 IMG402 ");
    EXPECT_EQ(packed.resources[3].bytes, data[0].answer_picture);

    // A text set since the source was read is refused at its field's place.
    PlayerQuiz refused;
    Diagnostics diagnostics;
    quiz.questions[1].answers[1] = "a|b";
    EXPECT_FALSE(pack_quiz(quiz, "quiz.toml", data, refused, diagnostics));
    EXPECT_EQ(diagnostics_of(diagnostics), "18:25 question 2: answers: text contains '|', which a quiz cannot hold");

    // 96 questions of random letters encode to more than 65535 bytes.
    std::mt19937 random(7);
    std::string text = "kind = \"sound\"\nreveal = \"text\"\n";
    for (int i = 0; i < max_questions; ++i) {
        std::string noise(259 * 3, 'x');
        for (char& letter : noise) letter = static_cast<char>('0' + random() % 75);
        for (char& letter : noise) if (letter == '\\' || letter == '|') letter = '.';
        text += "[[question]]\nanswer = \"" + noise.substr(0, 259) + "\"\ntext = \"" + noise.substr(259, 259) +
                "\"\nreveal_text = \"" + noise.substr(518) + "\"\nmedia = \"m\"\n";
    }
    diagnostics.clear();
    EXPECT_FALSE(pack_quiz(read_or_fail(text), "quiz.toml", std::vector<QuestionData>(max_questions), refused,
                           diagnostics));
    EXPECT_EQ(diagnostics_of(diagnostics).rfind("0:0 quiz stream: encodes to ", 0), 0u);
}

TEST(MakerPaths, JoinedWithTheSeparatorTyped) {
    const std::pair<std::string, std::string> joined[] = {
        {joined_path("", "quiz.toml"), "quiz.toml"},
        {joined_path("a/b", "quiz.toml"), "a/b/quiz.toml"},
        {joined_path("C:\\Quiz\\b", "quiz.toml"), "C:\\Quiz\\b\\quiz.toml"},
        {joined_path("Z:/x\\", "quiz.toml"), "Z:/x\\quiz.toml"},
        {default_output("a/Peintres/quiz.toml"), "a/Peintres/Peintres.exe"},
        {default_output("./quiz.toml"), "./" + std::filesystem::current_path().filename().u8string() + ".exe"},
        {default_output("quiz.toml"), std::filesystem::current_path().filename().u8string() + ".exe"},
    };
    for (const auto& [got, expected] : joined) EXPECT_EQ(got, expected);
}

}  // namespace
