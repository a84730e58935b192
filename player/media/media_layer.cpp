#include "player/media/media_layer.h"

#include <ole2.h>

#include "base/message_box.h"
#include "base/resource_bytes.h"
#include "base/owned_handle.h"
#include "player/media/wmp_player.h"
#include "layout/panel_layout.h"
#include "quiz_data/quiz_record.h"

namespace {

constexpr int video_media = 2;  // media kinds are quiz_kind - 1: 1 sound, 2 video
constexpr int last_media_question = 96;

constexpr DWORD player_host_style = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD player_class_context = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
static_assert(player_host_style == 0x50800000 && player_class_context == 7, "player host and class context");

// The video is shown in the band that a video row leaves above its controls.
constexpr int video_band_height = 210;
constexpr int video_band_gap = 5;  // between the picture and the play button
constexpr int video_band_width = 360;

const char* const media_unavailable_text =
    "Le lecteur multimédia n'est pas disponible : les sons et les vidéos de ce quiz ne peuvent pas être lus.";
const char* const media_caption = "Information";

using AttachControl = HRESULT(WINAPI*)(IUnknown* control, HWND host, IUnknown** container);


// A BSTR converted from ANSI text through a buffer of `capacity` wide
// characters; freed when the scope ends.
template <int capacity>
class AnsiBstr {
public:
    explicit AnsiBstr(const char* text) {
        wchar_t wide[capacity];
        if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, capacity)) wide[0] = L'\0';  // too long: no text
        bstr_ = SysAllocString(wide);
    }
    AnsiBstr(const AnsiBstr&) = delete;
    AnsiBstr& operator=(const AnsiBstr&) = delete;
    ~AnsiBstr() { SysFreeString(bstr_); }
    BSTR get() const { return bstr_; }

private:
    BSTR bstr_;
};

// The layer's process-wide state; media_kind 0 leaves the whole layer inactive.
struct MediaLayer {
    int media_kind = 0;
    OwnedModule atl_library;
    AttachControl attach_control = nullptr;
    bool com_initialised = false;  // CoInitialize succeeded and is owed its CoUninitialize
    HWND player_host = nullptr;    // a child of the question panel, destroyed with it
    OwnedInterface<IWMPPlayer> media_player;
    OwnedInterface<IWMPControls> player_controls;
    int current_media = 0;
};

MediaLayer media;
const char* hosting_library = "atl.dll";

struct MediaFileName {
    char text[32];
};

MediaFileName media_file_name(int media_kind, int question_number) {
    MediaFileName name;
    wsprintfA(name.text, media_kind == video_media ? "quizz%d.avi" : "quizz%d.mp3", question_number);
    return name;
}

void delete_media_file(int question_number) {
    DeleteFileA(media_file_name(media.media_kind, question_number).text);  // a missing file is no error
}

AttachControl find_attach_control(HMODULE library) {
    // Through void (*)(): GetProcAddress's own type is no match for the real one.
    return reinterpret_cast<AttachControl>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "AtlAxAttachControl")));
}

HWND create_player_host(HWND panel) {
    return CreateWindowExA(0, "STATIC", nullptr, player_host_style, 0, 0, 0, 0, panel,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(player_host_id)), GetModuleHandleA(nullptr),
                           nullptr);
}

// Without this, put_URL starts the file itself and play starts it a second
// time; Wine's player then crashes on a file it could not open.
void keep_from_starting_alone(IWMPPlayer* player) {
    IWMPSettings* settings = nullptr;
    player->get_settings(&settings);
    const OwnedInterface<IWMPSettings> owned_settings(settings);
    if (owned_settings) owned_settings.get()->put_autoStart(VARIANT_FALSE);
}

bool report_player_unavailable() {
    show_message(media_unavailable_text, media_caption);
    return false;
}

// Stops the player through its controls and puts the video away.
void stop_player() {
    if (media.player_controls) media.player_controls.get()->stop();
    if (media.media_kind == video_media && media.player_host) ShowWindow(media.player_host, SW_HIDE);
}

// Moves the host into the band above question n's controls, taken from where
// its play button is now, so a scrolled panel shows the video with its row.
void show_video_band(int question_number) {
    HWND panel = GetParent(media.player_host);
    HWND play_button = GetDlgItem(panel, play_button_id_base + question_number);
    if (!play_button) return;
    RECT button;
    GetWindowRect(play_button, &button);
    MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&button), 2);
    SetWindowPos(media.player_host, HWND_TOP, button.left, button.top - video_band_height, video_band_width,
                 video_band_height - video_band_gap, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

void set_hosting_library(const char* library_name) { hosting_library = library_name ? library_name : "atl.dll"; }

void init_media_layer() {
    media = MediaLayer();
    if (!quiz || (quiz->quiz_kind != sound_quiz && quiz->quiz_kind != video_quiz)) return;
    media.media_kind = quiz->quiz_kind - 1;
    media.atl_library.reset(LoadLibraryA(hosting_library));
    if (!media.atl_library) return;  // attach_player reports it
    media.attach_control = find_attach_control(media.atl_library.get());
    media.com_initialised = SUCCEEDED(CoInitialize(nullptr));
}

bool attach_player(HWND question_panel) {
    if (!media.media_kind) return false;  // not started for a sound or video quiz: there is no player
    if (!media.attach_control) return report_player_unavailable();
    media.player_host = create_player_host(question_panel);
    IWMPPlayer* player = nullptr;
    const HRESULT created = CoCreateInstance(CLSID_WindowsMediaPlayer, nullptr, player_class_context, IID_IWMPPlayer,
                                             reinterpret_cast<void**>(&player));
    if (FAILED(created) || !player) {
        if (media.player_host) DestroyWindow(media.player_host);
        media.player_host = nullptr;
        return report_player_unavailable();
    }
    media.media_player.reset(player);
    // The results of hosting and of the player's settings are not examined: a
    // player without its window still plays sound, and missing controls are
    // checked wherever they are used.
    media.attach_control(player, media.player_host, nullptr);
    IWMPControls* controls = nullptr;
    player->get_controls(&controls);
    media.player_controls.reset(controls);
    const AnsiBstr<6> no_interface("none");
    player->put_uiMode(no_interface.get());
    keep_from_starting_alone(player);
    return true;
}

int extract_media(unsigned resource_id, int media_kind) {
    const ResourceView resource = find_resource(GetModuleHandleA(nullptr), "img", resource_id);
    if (resource.size == 0) return 0;  // an empty resource counts as none
    if (!resource.bytes) {
        show_message(media_kind == video_media ? "Impossible de charger le fichier vidéo."
                                               : "Impossible de charger le fichier audio.",
                     media_caption);
        return 0;
    }
    const MediaFileName name = media_file_name(media_kind, static_cast<int>(resource_id - media_resource_id_base));
    {
        // A file that cannot be written is not detected: the player then finds no file.
        OwnedFile file(
            CreateFileA(name.text, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) WriteFile(file.get(), resource.bytes, resource.size, &written, nullptr);
    }
    return 1;
}

void play_question_media(int question_number) {
    if (!media.media_kind) return;
    stop_player();
    delete_media_file(media.current_media);
    media.current_media = question_number;
    if (extract_media(media_resource_id_base + static_cast<unsigned>(question_number), media.media_kind) != 1) return;
    // Without transport controls nothing can be played; the file waits for the clean-up at exit.
    if (!media.player_controls) return;
    const AnsiBstr<512> url(media_file_name(media.media_kind, question_number).text);
    media.media_player.get()->put_URL(url.get());
    if (media.media_kind == video_media) show_video_band(question_number);
    media.player_controls.get()->play();
}

void stop_question_media() {
    if (!media.player_controls) return;
    stop_player();
    delete_media_file(media.current_media);  // fails while the player still holds the file; the exit removes it
}

void release_media_layer(HWND main_window) {
    if (!media.media_kind) return;
    stop_player();  // a playing player holds its file, which could not be deleted
    for (int n = 1; n <= last_media_question; ++n) delete_media_file(n);
    DestroyWindow(main_window);  // takes the question panel and the player host with it
    // The host runs atl.dll's window procedure: it must not outlive the library.
    if (media.player_host && IsWindow(media.player_host)) DestroyWindow(media.player_host);
    media.player_host = nullptr;
    media.player_controls.reset();
    media.media_player.reset();
    if (media.com_initialised) CoUninitialize();
    media.com_initialised = false;
    media.atl_library.reset();
    media.attach_control = nullptr;
    media.media_kind = 0;
}
