// The quiz source reader, the Windows-1252 conversions, the TOML writer and the
// packing of the resources. Sources are u8 literals; expected quiz texts are
// plain literals, compiled to Windows-1252.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "authoring/cp1252.h"
#include "authoring/quiz_source.h"
#include "authoring/toml_writer.h"
#include "authoring/picture_convert.h"
#include "quiz_data/stream_decoder.h"

namespace {

const std::string one = "[[question]]\nanswer = \"a\"\n";
const std::string two = one + "[[question]]\nanswer = \"b\"\n";
const std::string pair = "[[question]]\nanswers = [\"a\", \"b\"]\npicture = \"1.jpg\"\n";
std::string questions(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += one;
    return text;
}

bool read(const std::string& text, QuizSource& source, std::string& error) {
    return read_quiz_source(text, "quiz.toml", "", source, error);
}

// "quiz.toml:9:10: error: WHAT" as "quiz.toml:9: WHAT": the tables below name
// lines only; the exact form, with columns, is checked in quiz_check_test.cpp.
std::string without_column(const std::string& message) {
    const std::size_t mark = message.find(": error: ");
    if (mark == std::string::npos) return message;
    std::string place = message.substr(0, mark);
    const std::size_t second_colon = place.find(':', place.find(':') + 1);
    if (second_colon != std::string::npos) place.resize(second_colon);
    return place + ": " + message.substr(mark + 9);
}

TEST(QuizSource, EachRefusalNamesFileLineAndField) {
    const struct {
        std::string source;
        const char* message;  // the start of the one-line message; empty for the boundaries accepted
    } refusals[] = {
        {"kind = \"text\"\n" + questions(96), ""},
        {u8"\uFEFFkind = \"text\"\r\ntitle = \"" + std::string(258, 'x') + u8"é\"\r\n" + one, ""},
        {"kind = \"sound\"\ncodes = [\"A|B\"]\n[[question]]\nanswer = \"a\"\nmedia = \"m\"\n", ""},
        {"kind = \"text\"\ntitle = \n", "quiz.toml:2: TOML syntax: "},
        {"title = \"x\"\n" + one, "quiz.toml: kind: missing"},
        {"kind = 1\n" + one, "quiz.toml:1: kind: expected a string"},
        {"kind = \"image\"\n" + one, "quiz.toml:1: kind: unknown value \"image\""},
        {"kind = \"text\"\ntitle = 5\n" + one, "quiz.toml:2: title: expected a string"},
        {"kind = \"text\"\ntitle = \"a\\u0000b\"\n" + one, "quiz.toml:2: title: text contains a zero character"},
        {"kind = \"text\"\ntitle = \"\\u0080\"\n" + one, "quiz.toml:2: title: character U+0080"},
        {u8"kind = \"text\"\ntitle = \"" + std::string(259, 'x') + u8"é\"\n" + one,
         "quiz.toml:2: title: text is 260 bytes in Windows-1252, over the limit of 259"},
        {"kind = \"text\"\n" + two + "anwser = \"c\"\n", "quiz.toml:6: question 2: anwser: unknown key"},
        {"kind = \"text\"\nreveal = \"all\"\n" + one, "quiz.toml:2: reveal: unknown value \"all\""},
        {"kind = \"text\"\nreveal = \"picture\"\n" + one, "quiz.toml:2: reveal: \"picture\" reveals answer pictures"},
        {"kind = \"text\"\n" + one + "reveal_text = \"x\"\n", "quiz.toml:4: question 1: reveal_text: the quiz reveals no text"},
        {"kind = \"text\"\ncolour = 0x5A5F96\n" + one, "quiz.toml:2: colour: expected \"#RRGGBB\""},
        {"kind = \"text\"\ncolour = \"#5A5F9G\"\n" + one, "quiz.toml:2: colour: expected \"#RRGGBB\": red, green and blue in hexadecimal, not \"#5A5F9G\""},
        {"kind = \"text\"\nicon = 3\n" + one, "quiz.toml:2: icon: expected a file name"},
        {"kind = \"text\"\ncodes = \"A\"\n" + one, "quiz.toml:2: codes: expected a list of strings"},
        {"kind = \"text\"\ncodes = [\"A\", \"B\"]\n" + one, "quiz.toml:2: codes: 2 codes for 1 question;"},
        {"kind = \"text\"\ncodes = [\"A\", \"B\\r\"]\n" + two, "quiz.toml:2: codes: code 2: code contains a line break"},
        {"kind = \"text\"\n", "quiz.toml: question: no question"},
        {"kind = \"text\"\n[question]\nanswer = \"a\"\n", "quiz.toml:2: question: expected [[question]] tables"},
        {"kind = \"text\"\nquestion = [\"a\"]\n", "quiz.toml:2: question: expected [[question]] tables"},
        {"kind = \"text\"\n" + questions(97), "quiz.toml:194: question 97: too many questions"},
        {"kind = \"text\"\n" + one + "[[question]]\ntext = \"?\"\n", "quiz.toml:4: question 2: answer: missing"},
        {"kind = \"picture\"\n" + pair + "answer = \"c\"\n", "quiz.toml:3: question 1: answers: a question has either"},
        {"kind = \"picture\"\n[[question]]\nanswers = [\"a\"]\n", "quiz.toml:3: question 1: answers: expected exactly two"},
        {"kind = \"picture\"\n" + pair + "[[question]]\nanswer = \"c\"\npicture = \"2.jpg\"\n",
         "quiz.toml:6: question 2: answer: question 1 has two answers (answers)"},
        {"kind = \"text\"\nanswer_labels = [\"A\", \"B\"]\n" + one, "quiz.toml:2: answer_labels: only a quiz whose"},
        {"kind = \"picture\"\nanswer_labels = [\"A\"]\n" + pair, "quiz.toml:2: answer_labels: expected exactly two"},
        {"kind = \"text\"\n" + one + "picture = \"1.jpg\"\n", "quiz.toml:4: question 1: picture: only a picture quiz"},
        {"kind = \"picture\"\n" + one + "picture = 7\n", "quiz.toml:4: question 1: picture: expected a file name"},
        {"kind = \"picture\"\n" + one + "picture = \"\"\n", "quiz.toml:4: question 1: picture: empty file name"},
        {"kind = \"video\"\n\n" + one, "quiz.toml:3: question 1: media: missing; every question of a video quiz"},
        {"kind = \"picture\"\n" + pair + "media = \"1.avi\"\n", "quiz.toml:5: question 1: media: only sound and video"},
    };
    for (const auto& refusal : refusals) {
        QuizSource source;
        std::string error;
        EXPECT_EQ(read(refusal.source, source, error), *refusal.message == '\0') << refusal.message << error;
        EXPECT_EQ(without_column(error).substr(0, std::string(refusal.message).size()), refusal.message);
        // One line a mistake: no message spills a line break of its own.
        for (std::size_t at = error.find('\n'); at != std::string::npos; at = error.find('\n', at + 1))
            EXPECT_EQ(error.compare(at + 1, 9, "quiz.toml"), 0) << error;
    }
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

TEST(TomlWriter, WritesTheSourceFormatAndRefusesWhatItCannotHold) {
    QuizSource source;
    std::string error, toml;
    ASSERT_TRUE(read(picture_source, source, error)) << error;
    std::vector<QuestionFiles> files;
    for (const QuestionSource& question : source.questions) files.push_back(question.files);
    ASSERT_TRUE(write_quiz_toml(source.content, files, toml, error)) << error;
    EXPECT_EQ(toml, picture_source);  // every field read, then written back in the writer's own order
    copy_text(question_at(source.content, 1)->answer_1, "\x9D");
    EXPECT_FALSE(write_quiz_toml(source.content, files, toml, error));
    EXPECT_EQ(error, "question 2: answers: byte 0x9D has no character in Windows-1252");
    source.content.reveal_mode = 7;
    EXPECT_FALSE(write_quiz_toml(source.content, files, toml, error));
    EXPECT_EQ(error, "reveal: reveal mode 7 has no name");
}

TEST(QuestionFiles, LoadsAndChecksEachKind) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quiz_source_test";
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
        const char* error;  // empty: loads
        std::size_t size = 0;  // of the question's picture and media
    } cases[] = {
        {u8"kind = \"picture\"\n" + one + u8"picture = \"images/été.jpg\"\n", "", jpeg.size()},
        {"kind = \"sound\"\n" + one + "media = \"id3.mp3\"\n", "", 4},
        {"kind = \"sound\"\n" + one + "media = \"frame.mp3\"\n", "", 3},
        {"kind = \"video\"\n" + one + "media = \"clip.avi\"\n", "", 16},
        {"kind = \"picture\"\n" + one + "picture = \"images\"\n", "quiz.toml:4: question 1: picture: images: is a folder"},
        {"kind = \"picture\"\n" + one + "picture = \"png.jpg\"\n", "quiz.toml:4: question 1: picture: png.jpg is not a picture"},
        {u8"kind = \"picture\"\n" + one + u8"picture = \"images/été.jpg\"\nanswer_picture = \"id3.mp3\"\n",
         "quiz.toml:5: question 1: answer_picture: id3.mp3 is not a picture"},
        {"kind = \"video\"\n" + one + "media = \"wave.mp3\"\n", "quiz.toml:4: question 1: media: wave.mp3 is not an AVI"},
    };
    for (const auto& c : cases) {
        QuizSource source;
        std::vector<QuestionData> data;
        std::string error;
        ASSERT_TRUE(read_quiz_source(c.source, "quiz.toml", folder.string(), source, error)) << error;
        EXPECT_EQ(load_question_files(source, data, error), *c.error == '\0') << c.source;
        EXPECT_EQ(without_column(error).substr(0, std::strlen(c.error)), c.error);
        if (*c.error == '\0') {
            EXPECT_EQ(data[0].picture.size() + data[0].media.size(), c.size);
        }
    }
    std::filesystem::remove_all(folder);
}

TEST(PackQuiz, ResourcesAndTheStreamLimit) {
    QuizSource source;
    std::string error;
    ASSERT_TRUE(read(picture_source, source, error));
    std::vector<QuestionData> data(2);
    data[0].picture = data[1].picture = {0xFF, 0xD8, 0xFF, 1};
    data[0].answer_picture = {0xFF, 0xD8, 0xFF, 2};
    std::vector<PackedResource> resources;
    ASSERT_TRUE(pack_quiz(source, data, resources, error)) << error;
    std::string ids;
    for (const PackedResource& resource : resources) ids += std::string(resource.type) + std::to_string(resource.id) + " ";
    EXPECT_EQ(ids, "PATCH104 PATCH105 IMG401 IMG10401 IMG402 ");
    EXPECT_EQ(resources[3].bytes, data[0].answer_picture);

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
    ASSERT_TRUE(read(text, source, error)) << error;
    EXPECT_FALSE(pack_quiz(source, std::vector<QuestionData>(max_questions), resources, error));
    EXPECT_EQ(error.rfind("quiz.toml: error: quiz stream: encodes to ", 0), 0u) << error;
}

}  // namespace
