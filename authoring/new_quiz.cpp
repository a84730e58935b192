#include "authoring/new_quiz.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "authoring/maker_paths.h"
#include "authoring/picture_convert.h"
#include "authoring/quiz_source.h"
#include "authoring/source_writer.h"
#include "quiz_data/quiz_resources.h"

namespace {

constexpr int text_quiz_questions = 10;


bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The kind of quiz a file belongs to, by its content: picture, sound or video;
// text_quiz for anything else.
int quiz_kind_of(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (is_mp3(bytes)) return sound_quiz;
    if (is_avi(bytes)) return video_quiz;
    RgbaPicture picture;
    std::string why;
    return decode_picture_file(bytes.data(), bytes.size(), picture, why) ? picture_quiz : text_quiz;
}

}  // namespace

bool file_name_before(const std::string& first, const std::string& second) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < first.size() && j < second.size()) {
        if (is_digit(first[i]) && is_digit(second[j])) {
            std::size_t end_i = i;
            std::size_t end_j = j;
            while (end_i < first.size() && is_digit(first[end_i])) ++end_i;
            while (end_j < second.size() && is_digit(second[end_j])) ++end_j;
            const unsigned long long a = std::stoull(first.substr(i, std::min<std::size_t>(end_i - i, 18)));
            const unsigned long long b = std::stoull(second.substr(j, std::min<std::size_t>(end_j - j, 18)));
            if (a != b) return a < b;
            i = end_i;
            j = end_j;
            continue;
        }
        const int a = std::tolower(static_cast<unsigned char>(first[i]));
        const int b = std::tolower(static_cast<unsigned char>(second[j]));
        if (a != b) return a < b;
        ++i;
        ++j;
    }
    if ((first.size() - i) != (second.size() - j)) return first.size() - i < second.size() - j;
    return first < second;  // names that differ only in case or leading zeros
}

std::string answer_from_file_name(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    std::string answer;
    for (const char c : stem) {
        const char shown = c == '_' ? ' ' : c;
        if (shown == ' ' && (answer.empty() || answer.back() == ' ')) continue;
        answer += shown;
    }
    if (!answer.empty() && answer.back() == ' ') answer.pop_back();
    return answer;
}

std::string new_quiz_toml(int kind, const std::string& title, const std::vector<std::string>& files) {
    const char* const file_key = kind == picture_quiz ? "picture" : "media";
    std::string text =
        "# Made by devinette-pack new. Check each answer, add a question's text if you\n"
        "# like, then run: devinette-pack check quiz.toml, and devinette-pack build.\n"
        "# A line starting with # is a comment: remove the # to use that field.\n"
        "kind = " + toml_string(quiz_kind_names[kind]) + "   # text | picture | sound | video\n"
        "title = " + toml_string(title) + "\n"
        "grading = \"lenient\"      # forgives accents, capitals, hyphens and extra spaces; exact: capitals only\n"
        "# creator = \"\"         # your name, shown after \"Par :\"\n"
        "# explanations = \"\"    # shown under the title: what the player has to find\n"
        "# reveal = \"text\"      # what a solved question shows: none | text" +
        (kind == picture_quiz ? " | picture | text+picture" : "") +
        "\n"
        "# colour = \"#5A5F96\"   # the quiz's colour, as red green blue\n"
        "# codes = [\"CODE1\", \"CODE2\"]   # code k is shown while k questions are solved\n"
        "# codes = { 5 = \"HALF\", 10 = \"ALL\" }   # or each code from its score until the next one\n";
    const int count = kind == text_quiz ? text_quiz_questions : static_cast<int>(files.size());
    for (int i = 0; i < count; ++i) {
        text += "\n[[question]]\n";
        if (kind == text_quiz) {
            text += "answer = \"\"\ntext = \"\"\n";
        } else {
            text += "answer = " + toml_string(answer_from_file_name(files[i])) + "\n";
            text += std::string(file_key) + " = " + toml_string(files[i]) + "\n";
        }
        if (i > 0) continue;
        // The first question shows the optional fields once.
        text += "# variants = [\"\"]      # other answers this box accepts too\n";
        text += "# reveal_text = \"\"    # shown once the question is solved (reveal = \"text\")\n";
        if (kind == picture_quiz)
            text += "# answer_picture = \"\" # shown once solved (reveal = \"picture\" or \"text+picture\")\n";
        text += "# tries = { \"typed\" = \"Quasiment\" }   # grades you expect; check and build verify them\n";
    }
    return text;
}

bool write_new_quiz(const std::string& folder, int kind, NewQuiz& written, Diagnostic& failure) {
    const std::filesystem::path directory = std::filesystem::u8path(folder);
    const std::string target_path = joined_path(folder, "quiz.toml");
    const std::filesystem::path target = std::filesystem::u8path(target_path);
    std::error_code status_error;
    if (!std::filesystem::is_directory(directory, status_error)) {
        failure = file_error(folder, std::filesystem::exists(directory, status_error) ? "is a file, not a folder"
                                                                                      : "no such folder");
        return false;
    }
    if (std::filesystem::exists(target, status_error)) {
        failure = file_error(target_path, "already exists; new never overwrites a file");
        return false;
    }
    std::vector<std::string> by_kind[4];
    if (kind != text_quiz) {
        for (const auto& entry : std::filesystem::directory_iterator(directory, status_error)) {
            if (!entry.is_regular_file(status_error)) continue;
            by_kind[quiz_kind_of(entry.path())].push_back(entry.path().filename().u8string());
        }
        if (kind < 0) {
            kind = picture_quiz;
            for (const int other : {sound_quiz, video_quiz})
                if (by_kind[other].size() > by_kind[kind].size()) kind = other;
        }
        if (by_kind[kind].empty()) {
            const std::string wanted = kind == picture_quiz ? "picture (JPEG, PNG, GIF or BMP)"
                                       : kind == sound_quiz ? "MP3 file"
                                                            : "AVI file";
            failure = file_error(
                folder, "no " + wanted + " in this folder; add the quiz's files, or use --kind text for a text quiz");
            return false;
        }
    }
    std::vector<std::string>& files = by_kind[kind];
    std::sort(files.begin(), files.end(), file_name_before);
    if (files.size() > max_questions) {
        failure = file_error(folder, std::to_string(files.size()) + " files; a quiz holds at most 96 questions");
        return false;
    }
    const std::string text = new_quiz_toml(kind, folder_name(folder), files);
    std::ofstream file(target, std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
        failure = file_error(target_path, "cannot be written");
        return false;
    }
    written = {target_path, kind, kind == text_quiz ? text_quiz_questions : static_cast<int>(files.size())};
    return true;
}
