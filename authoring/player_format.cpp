#include "authoring/player_format.h"

#include <algorithm>
#include <cstdio>

#include "authoring/cp1252.h"
#include "quiz_data/quiz_resources.h"
#include "quiz_data/stream_decoder.h"
#include "quiz_data/stream_encoder.h"
#include "quiz_data/stream_writer.h"

namespace {

// Converts the model's texts, gathering every refusal.
struct TextConverter {
    const DiagnosticList& messages;
    bool right = true;

    std::string converted(const std::string& utf8, SourcePlace place, const std::string& field, TextRule rule) {
        std::string cp1252;
        Message why;
        if (!player_text(utf8, rule, cp1252, why)) right = messages.refuse(place, field, why);
        return cp1252;
    }

    void convert(const std::string& utf8, SourcePlace place, const std::string& field, TextRule rule,
                 char (&target)[text_size]) {
        copy_text(target, converted(utf8, place, field, rule).c_str());
    }
};

bool convert_questions(TextConverter& texts, const QuizModel& quiz, QuizContent& content) {
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const ModelQuestion& question = quiz.questions[i];
        const int number = static_cast<int>(i) + 1;
        const char* const answers_key = quiz.boxes == 2 ? "answers" : "answer";
        QuestionEntry entry;
        texts.convert(question.answers[0], question.answer_places[0], question_field(number, answers_key),
                      TextRule::quiz_text, entry.answer_1);
        texts.convert(question.answers[1], question.answer_places[1], question_field(number, answers_key),
                      TextRule::quiz_text, entry.answer_2);
        texts.convert(question.text, question.text_place, question_field(number, "text"), TextRule::quiz_text,
                      entry.question_text);
        texts.convert(question.reveal_text, question.reveal_text_place, question_field(number, "reveal_text"),
                      TextRule::quiz_text, entry.reveal_text);
        const QuestionEntry* previous = content.last_question;
        append_question(content, entry.answer_1, entry.answer_2, entry.question_text);
        if (content.last_question == previous)
            return texts.messages.refuse(question.place, "question " + std::to_string(number),
                                         {"out of memory", u8"mémoire insuffisante"});
        copy_text(content.last_question->reveal_text, entry.reveal_text);
        for (int box = 0; box < 2; ++box) {
            const char* const key = box == 0 ? "variants" : "variants_2";
            for (const std::string& variant : question.variants[box])
                content.last_question->variants[box].push_back(
                    texts.converted(variant, question.variants_places[box], question_field(number, key),
                                    TextRule::quiz_text));
        }
    }
    return texts.right;
}

bool convert_content(const DiagnosticList& messages, const QuizModel& quiz, QuizContent& content) {
    TextConverter texts{messages};
    content.quiz_kind = quiz.kind;
    content.reveal_mode = quiz.reveal;
    content.colour_red = quiz.colour.red;
    content.colour_green = quiz.colour.green;
    content.colour_blue = quiz.colour.blue;
    content.answers_per_question = quiz.boxes;
    content.question_count = static_cast<int32_t>(quiz.questions.size());
    texts.convert(quiz.title, quiz.title_place, "title", TextRule::quiz_text, content.title);
    texts.convert(quiz.creator, quiz.creator_place, "creator", TextRule::quiz_text, content.creator);
    texts.convert(quiz.explanations, quiz.explanations_place, "explanations", TextRule::quiz_text,
                  content.explanations);
    texts.convert(quiz.answer_labels[0], quiz.answer_labels_place, "answer_labels", TextRule::quiz_text,
                  content.answer_label_1);
    texts.convert(quiz.answer_labels[1], quiz.answer_labels_place, "answer_labels", TextRule::quiz_text,
                  content.answer_label_2);
    content.grading_mode = quiz.grading;
    std::vector<ScoredCode> codes = quiz.codes;
    for (ScoredCode& code : codes)
        code.code = texts.converted(code.code, code.place,
                                    (quiz.codes_by_score ? "codes: score " : "codes: code ") + std::to_string(code.score),
                                    TextRule::code);
    const std::vector<std::string> lines =
        packed_code_lines(codes, quiz.codes_by_score, std::min(content.question_count, max_questions));
    for (std::size_t i = 0; i < lines.size(); ++i) copy_text(content.codes[i], lines[i].c_str());
    return convert_questions(texts, quiz, content);
}

bool encode_into(const DiagnosticList& messages, const std::vector<unsigned char>& stream, int id, const char* what,
                 std::vector<PackedResource>& resources) {
    std::vector<unsigned char> encoded = encode_stream(stream.data(), stream.size());
    if (encoded.size() > max_encoded_size)
        return messages.refuse({}, what,
                               Message{"encodes to ", "fait "} + std::to_string(encoded.size()) +
                                   Message{" bytes, over the 65535 a quiz can carry; shorten the texts",
                                           u8" octets une fois codé, plus que les 65535 qu'un quiz peut porter ; "
                                           "raccourcissez les textes"});
    resources.push_back({"PATCH", id, std::move(encoded)});
    return true;
}

}  // namespace

std::string character_name(char32_t code_point) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code_point));
    const bool control = code_point < 0xA0 || code_point == 0x2028 || code_point == 0x2029;
    return control ? name : name + (" (" + utf8_of(code_point) + ")");
}

bool player_text(const std::string& utf8, TextRule rule, std::string& cp1252, Message& why) {
    why = {};
    char32_t refused;
    if (utf8.find('\0') != std::string::npos)
        why = {"text contains a zero character (U+0000)", u8"le texte contient un caractère nul (U+0000)"};
    else if (rule == TextRule::quiz_text && utf8.find('|') != std::string::npos)
        why = {"text contains '|', which a quiz cannot hold", u8"le texte contient « | », qu'un quiz ne peut pas garder"};
    else if (rule == TextRule::code && utf8.find_first_of("\r\n") != std::string::npos)
        why = {"code contains a line break, which a code cannot hold",
               "le code contient un saut de ligne, qu'un code ne peut pas garder"};
    else if (!utf8_to_cp1252(utf8, cp1252, refused))
        why = Message{"character ", u8"le caractère "} + character_name(refused) +
              Message{" cannot be written in Windows-1252", u8" ne s'écrit pas en Windows-1252"};
    else if (cp1252.size() > text_size - 1)
        why = Message{"text is ", "le texte fait "} + std::to_string(cp1252.size()) +
              Message{" bytes in Windows-1252, over the limit of 259", " octets en Windows-1252, plus que la limite de 259"};
    return why.english.empty();
}

bool pack_quiz(const QuizModel& quiz, const std::string& file_name, const std::vector<QuestionData>& data,
               PlayerQuiz& packed, Diagnostics& diagnostics) {
    const DiagnosticList messages{file_name, diagnostics};
    packed = PlayerQuiz();
    QuizContent& content = packed.content;
    std::vector<PackedResource>& resources = packed.resources;
    if (!convert_content(messages, quiz, content) ||
        !encode_into(messages, write_quiz_stream(content), quiz_stream_id, "quiz stream", resources) ||
        !encode_into(messages, write_codes_stream(content), codes_stream_id, "codes stream", resources))
        return false;
    // Only a quiz that needs the grading stream carries it.
    const std::vector<unsigned char> grading = write_grading_stream(content);
    if (!grading.empty() && !encode_into(messages, grading, grading_stream_id, "grading stream", resources))
        return false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (!data[i].picture.empty()) resources.push_back({"IMG", question_picture_id_base + number, data[i].picture});
        if (!data[i].media.empty()) resources.push_back({"IMG", media_resource_id_base + number, data[i].media});
        if (!data[i].answer_picture.empty())
            resources.push_back({"IMG", answer_picture_id_base + number, data[i].answer_picture});
    }
    return true;
}
