// The question list's small pictures, made on a thread of their own.
#include "atelier/atelier_state.h"

#include <filesystem>

#include "authoring/picture_convert.h"
#include "authoring/quiz_source.h"

namespace {

// Small pictures are made on threads of their own, one a core, each going
// through its share of the pictures, and posted to the window as bitmaps (none
// for a picture that cannot be read); a new quiz opened stops the threads.
struct ThumbnailJob {
    HWND window;
    std::filesystem::path folder;
    std::vector<std::string> pictures;
    std::shared_ptr<std::atomic<bool>> stop;
};

// The small picture centred on a bitmap of the image list's size: a narrower
// bitmap would add no image to the list at all.
HBITMAP bitmap_of(const RgbaPicture& picture) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = thumbnail_width;
    info.bmiHeader.biHeight = -thumbnail_height;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* out = static_cast<unsigned char*>(bits);
    const COLORREF ground = GetSysColor(COLOR_WINDOW);
    for (int i = 0; i < thumbnail_width * thumbnail_height; ++i) {
        out[4 * i] = GetBValue(ground);
        out[4 * i + 1] = GetGValue(ground);
        out[4 * i + 2] = GetRValue(ground);
        out[4 * i + 3] = 0;
    }
    const int left = (thumbnail_width - picture.width) / 2;
    const int top = (thumbnail_height - picture.height) / 2;
    for (int y = 0; y < picture.height && top + y < thumbnail_height; ++y) {
        for (int x = 0; x < picture.width && left + x < thumbnail_width; ++x) {
            const unsigned char* in = &picture.pixels[4 * (static_cast<std::size_t>(y) * picture.width + x)];
            unsigned char* pixel = out + 4 * ((top + y) * thumbnail_width + left + x);
            pixel[0] = in[2];
            pixel[1] = in[1];
            pixel[2] = in[0];
        }
    }
    return bitmap;
}

DWORD WINAPI make_thumbnails(void* parameter) {
    const std::unique_ptr<ThumbnailJob> job(static_cast<ThumbnailJob*>(parameter));
    for (const std::string& picture : job->pictures) {
        if (*job->stop) break;
        std::vector<unsigned char> bytes;
        RgbaPicture thumbnail;
        Message why;
        const HBITMAP bitmap =
            read_whole_file(job->folder / std::filesystem::u8path(picture), bytes, why) &&
                    picture_thumbnail(bytes.data(), bytes.size(), thumbnail_width, thumbnail_height, thumbnail, why)
                ? bitmap_of(thumbnail)
                : nullptr;
        auto name = std::make_unique<std::string>(picture);
        if (PostMessageW(job->window, message_thumbnail, reinterpret_cast<WPARAM>(bitmap),
                         reinterpret_cast<LPARAM>(name.get())))
            name.release();
        else if (bitmap)
            DeleteObject(bitmap);
    }
    return 0;
}

// "Petites images : 12 / 96" while some are being made; nothing once all are.
void show_thumbnails_made(const Atelier& atelier) {
    const int asked = static_cast<int>(atelier.thumbnails_asked.size());
    const std::wstring text = atelier.thumbnails_made < asked ? L"Petites images : " +
                                                                    std::to_wstring(atelier.thumbnails_made) + L" / " +
                                                                    std::to_wstring(asked)
                                                              : L"";
    SetWindowTextW(control(atelier, id_thumbnails_shown), text.c_str());
}

}  // namespace

// Asks for the small picture of every picture of the quiz not asked for yet.
void ask_thumbnails(Atelier& atelier) {
    if (quiz_of(atelier).kind != picture_quiz || atelier.document.source_path.empty()) return;
    std::vector<std::string> pictures;
    for (const ModelQuestion& question : quiz_of(atelier).questions)
        if (!question.picture.empty() && atelier.thumbnails_asked.insert(question.picture).second)
            pictures.push_back(question.picture);
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    const std::size_t threads = system.dwNumberOfProcessors > 1 ? 2 : 1;
    for (std::size_t first = 0; first < threads && first < pictures.size(); ++first) {
        auto job = std::make_unique<ThumbnailJob>();
        job->window = atelier.window;
        job->folder = std::filesystem::u8path(atelier.document.source_path).parent_path();
        job->stop = atelier.thumbnails_stop;
        for (std::size_t i = first; i < pictures.size(); i += threads) job->pictures.push_back(pictures[i]);
        const HANDLE thread = CreateThread(nullptr, 0, make_thumbnails, job.get(), 0, nullptr);
        if (!thread) {
            atelier.thumbnails_made += static_cast<int>(job->pictures.size());  // none will come
            continue;
        }
        job.release();
        CloseHandle(thread);
    }
    show_thumbnails_made(atelier);
}

// A new quiz: the former's small pictures and the thread making them are dropped.
void forget_thumbnails(Atelier& atelier) {
    *atelier.thumbnails_stop = true;
    atelier.thumbnails_stop = std::make_shared<std::atomic<bool>>(false);
    atelier.thumbnail_of.clear();
    atelier.thumbnails_asked.clear();
    atelier.thumbnails_made = 0;
    ImageList_RemoveAll(atelier.thumbnails);
    show_thumbnails_made(atelier);
}

void on_thumbnail(Atelier& atelier, HBITMAP bitmap, std::string* picture) {
    const std::unique_ptr<std::string> name(picture);
    const bool asked = atelier.thumbnails_asked.count(*name) > 0;  // not a picture of a quiz closed since
    const int index = asked && bitmap ? ImageList_Add(atelier.thumbnails, bitmap, nullptr) : -1;
    if (bitmap) DeleteObject(bitmap);
    if (asked) {
        ++atelier.thumbnails_made;
        show_thumbnails_made(atelier);
    }
    if (index < 0) return;
    atelier.thumbnail_of[*name] = index;
    const QuizModel& quiz = quiz_of(atelier);
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        if (quiz.questions[i].picture != *name) continue;
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.iImage = index;
        SendMessageW(atelier.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}
