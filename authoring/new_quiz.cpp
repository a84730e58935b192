#include "authoring/new_quiz.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
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

bool has_bytes(const std::vector<unsigned char>& bytes, std::size_t offset, std::string_view signature) {
    return bytes.size() >= offset + signature.size() &&
           std::equal(signature.begin(), signature.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Sounds and videos that a quiz cannot carry, told by the bytes at `offset`; the
// ISO brands of picture formats (HEIC, AVIF) are told apart before these, and
// the first row that matches wins.
struct OtherMedia {
    std::size_t offset;
    std::string_view signature;
    const char* what;
    const char* export_as;
};

using namespace std::string_view_literals;
const OtherMedia other_media[] = {
    {8, "WAVE"sv, "a WAV sound", "MP3"},
    {8, "AIF"sv, "an AIFF sound", "MP3"},
    {0, "fLaC"sv, "a FLAC sound", "MP3"},
    {0, "OggS"sv, "an Ogg sound or video", "MP3 or AVI"},
    {4, "ftypM4A"sv, "an M4A sound", "MP3"},
    {4, "ftypqt"sv, "a MOV video", "AVI"},
    {4, "moov"sv, "a MOV video", "AVI"},
    {4, "mdat"sv, "a MOV video", "AVI"},
    {4, "ftyp"sv, "an MP4 video", "AVI"},
    {0, "\x1A\x45\xDF\xA3"sv, "a Matroska or WebM video", "AVI"},
    {0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11"sv, "a Windows Media sound or video", "MP3 or AVI"},
    {0, "\0\0\1\xBA"sv, "an MPEG video", "AVI"},
    {0, "\0\0\1\xB3"sv, "an MPEG video", "AVI"},
};

// What a file of the folder is, by its content: the kind of quiz it goes in, or
// text_quiz with why no quiz can carry it.
struct FolderFile {
    std::string name;
    int kind = text_quiz;
    std::string what;  // "a WebP picture", "an MP3 sound"
    std::string why;   // for text_quiz: ", which a quiz cannot carry: export it as JPEG or PNG"
};

// "an" before the format names that start with a vowel sound: AVIF, ICO, SVG.
std::string picture_named(const char* format) {
    return std::string(std::strchr("AEIOUS", format[0]) ? "an " : "a ") + format + " picture";
}

FolderFile folder_file(const std::filesystem::path& path) {
    FolderFile file;
    file.name = path.filename().u8string();
    std::ifstream stream(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    bool accepted = false;
    const char* format = picture_format_name(bytes.data(), bytes.size(), accepted);
    if (is_mp3(bytes)) {
        file.kind = sound_quiz;
        file.what = "an MP3 sound";
    } else if (is_avi(bytes)) {
        file.kind = video_quiz;
        file.what = "an AVI video";
    } else if (format) {
        file.what = picture_named(format);
        PictureProbe probe;
        Message why;
        if (!accepted)
            file.why = ", which a quiz cannot carry: export it as JPEG or PNG";
        else if (probe_picture_file(bytes.data(), bytes.size(), probe, why))
            file.kind = picture_quiz;
        else
            file.what = why.english.substr(why.english.find(' ') + 1);  // "is a damaged or truncated JPEG picture"
    } else {
        const auto media = std::find_if(std::begin(other_media), std::end(other_media), [&bytes](const OtherMedia& other) {
            return has_bytes(bytes, other.offset, other.signature);
        });
        if (media == std::end(other_media)) {
            file.what = "not a picture, a sound or a video";
        } else {
            file.what = media->what;
            file.why = std::string(", which a quiz cannot carry: export it as ") + media->export_as;
        }
    }
    return file;
}

std::string left_out_reason(const FolderFile& file, int kind) {
    if (file.kind == text_quiz) return file.what + file.why;
    const std::string other = quiz_kind_names[file.kind];
    return file.what + ", which a " + quiz_kind_names[kind] + " quiz does not take: make a " + other +
           " quiz with --kind " + other;
}

// Files the system keeps in a folder of its own accord, never the maker's.
bool system_file(const std::string& name) {
    return name[0] == '.' || name == "Thumbs.db" || name == "desktop.ini";
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
        failure = file_error(folder, std::filesystem::exists(directory, status_error)
                                         ? Message{"is a file, not a folder", "est un fichier, pas un dossier"}
                                         : Message{"no such folder", "ce dossier n'existe pas"});
        return false;
    }
    if (std::filesystem::exists(target, status_error)) {
        failure = file_error(target_path, {"already exists; new never overwrites a file",
                                           u8"existe déjà ; un nouveau quiz n'écrase jamais un fichier"});
        return false;
    }
    std::vector<FolderFile> found;
    if (kind != text_quiz) {
        for (const auto& entry : std::filesystem::directory_iterator(directory, status_error)) {
            if (entry.is_regular_file(status_error) && !system_file(entry.path().filename().u8string()))
                found.push_back(folder_file(entry.path()));
        }
    }
    std::sort(found.begin(), found.end(), [](const FolderFile& first, const FolderFile& second) {
        return file_name_before(first.name, second.name);
    });
    std::vector<std::string> by_kind[4];
    for (const FolderFile& file : found) by_kind[file.kind].push_back(file.name);
    const bool kind_chosen_here = kind < 0;
    if (kind_chosen_here) {
        kind = picture_quiz;
        for (const int other : {sound_quiz, video_quiz})
            if (by_kind[other].size() > by_kind[kind].size()) kind = other;
    }
    for (const FolderFile& file : found)
        if (file.kind != kind) written.left_out.push_back({file.name, left_out_reason(file, kind)});
    if (kind != text_quiz && by_kind[kind].empty()) {
        const std::size_t count = found.size();
        const std::string number = std::to_string(count);
        if (kind_chosen_here && count > 0)
            failure = file_error(
                folder, {"this folder holds " +
                             (count == 1 ? std::string("1 file, which a quiz cannot carry")
                                         : number + " files, none of which a quiz can carry") +
                             " (see the list above); add pictures (JPEG, PNG, GIF or BMP), MP3 sounds or "
                             "AVI videos, or use --kind text for a text quiz",
                         "ce dossier contient " +
                             (count == 1 ? std::string("1 fichier, qu'un quiz ne peut pas porter")
                                         : number + " fichiers, dont aucun ne peut aller dans un quiz") +
                             u8" ; ajoutez des images (JPEG, PNG, GIF ou BMP), des sons MP3 ou des vidéos AVI"});
        else
            failure = file_error(
                folder, {"no " +
                             std::string(kind == picture_quiz ? "picture (JPEG, PNG, GIF or BMP)"
                                         : kind == sound_quiz ? "MP3 file"
                                                              : "AVI file") +
                             " in this folder; add the quiz's files, or use --kind text for a text quiz",
                         std::string(kind == picture_quiz ? "aucune image (JPEG, PNG, GIF ou BMP)"
                                     : kind == sound_quiz ? "aucun fichier MP3"
                                                          : "aucun fichier AVI") +
                             " dans ce dossier ; ajoutez-y les fichiers du quiz"});
        return false;
    }
    const std::vector<std::string>& files = by_kind[kind];
    if (files.size() > max_questions) {
        failure = file_error(folder, std::to_string(files.size()) +
                                         Message{" files; a quiz holds at most 96 questions",
                                                 " fichiers ; un quiz a au plus 96 questions"});
        return false;
    }
    const std::string text = new_quiz_toml(kind, folder_name(folder), files);
    std::ofstream file(target, std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
        failure = file_error(target_path, {"cannot be written", u8"ne peut pas être écrit"});
        return false;
    }
    written.path = target_path;
    written.kind = kind;
    written.question_count = kind == text_quiz ? text_quiz_questions : static_cast<int>(files.size());
    return true;
}
