// Host tool of the build: writes the PATCH streams of the loader's fixture DLLs
// with the project's own stream writer and encoder.
// Usage: fixture_maker OUTPUT_DIRECTORY
#include <cstdio>
#include <string>
#include <vector>

#include "quiz_data/stream_encoder.h"
#include "quiz_data/stream_writer.h"
#include "quiz_data/quiz_content.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string output_directory;

bool write_file(const char* name, const Bytes& bytes) {
    const std::string path = output_directory + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    if (file) written = std::fclose(file) == 0 && written;
    if (!written) std::fprintf(stderr, "fixture_maker: cannot write %s\n", path.c_str());
    return written;
}

Bytes encode(const Bytes& decoded) { return encode_stream(decoded.data(), decoded.size()); }

// Two-box picture quiz, reveal mode 3, three questions and their codes: what the loader test reads back.
void fill_full_quiz(QuizContent& quiz) {
    quiz.quiz_kind = picture_quiz;
    copy_text(quiz.title, "Châteaux de la Loire");
    quiz.question_count = 3;
    quiz.answers_per_question = 2;
    append_question(quiz, "Chambord", "François Ier", "Le plus grand");
    append_question(quiz, "Chenonceau", "Thomas Bohier", "Le château des dames");
    append_question(quiz, "Azay-le-Rideau", "Gilles Berthelot", "Sur une île de l'Indre");
    quiz.reveal_mode = 3;
    copy_text(question_at(quiz, 0)->reveal_text, "Commencé en 1519");
    quiz.colour_red = 12;
    quiz.colour_green = 200;
    quiz.colour_blue = 34;
    copy_text(quiz.codes[0], "ÉTOILE");
    copy_text(quiz.codes[1], "LUNE");
    copy_text(quiz.codes[2], "SOLEIL");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fixture_maker OUTPUT_DIRECTORY\n");
        return 2;
    }
    output_directory = argv[1];

    QuizContent full_quiz;
    fill_full_quiz(full_quiz);
    const Bytes full_layout = write_quiz_stream(full_quiz);
    // The layout ends with the colour: the truncated stream lacks exactly the blue byte.
    const Bytes full_encoded = encode(full_layout);
    // Padding after the end code is never read: the largest stream still loads, one more byte is refused.
    Bytes largest = full_encoded, oversized = full_encoded;
    largest.resize(65535);
    oversized.resize(65536);
    const std::string short_codes = "UN\r\nDEUX";  // two lines where the full quiz needs three
    // Nine-bit codes 65, 300, 256: 300 lies beyond the next free code (259).
    const Bytes undecodable = {0x20, 0xCB, 0x20, 0x00};

    const bool written =
        write_file("full_quiz.bin", full_encoded) &&
        write_file("full_codes.bin", encode(write_codes_stream(full_quiz))) &&
        write_file("truncated_quiz.bin", encode(Bytes(full_layout.begin(), full_layout.end() - 1))) &&
        write_file("short_codes.bin", encode(Bytes(short_codes.begin(), short_codes.end()))) &&
        write_file("undecodable.bin", undecodable) && write_file("empty.bin", Bytes()) &&
        write_file("largest_quiz.bin", largest) && write_file("oversized_quiz.bin", oversized);
    return written ? 0 : 1;
}
