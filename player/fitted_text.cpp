#include "player/fitted_text.h"

#include <string>

#include "base/owned_handle.h"

namespace {

const char ellipsis = '\x85';  // "…" in Windows-1252

bool is_edit(HWND control) {
    char class_name[8] = "";
    GetClassNameA(control, class_name, sizeof class_name);
    return lstrcmpiA(class_name, "Edit") == 0;
}

// Where and how the control draws its text.
struct TextPlace {
    int width = 0;
    int height = 0;
    UINT format = 0;  // DrawText's, as the control draws
};

TextPlace text_place(HWND control) {
    RECT client = {};
    GetClientRect(control, &client);
    TextPlace place{client.right, client.bottom, DT_EXPANDTABS};
    if (is_edit(control)) {
        const LRESULT margins = SendMessageA(control, EM_GETMARGINS, 0, 0);
        place.width -= LOWORD(margins) + HIWORD(margins);
        place.format = DT_SINGLELINE | DT_NOPREFIX;
        return place;
    }
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (style & SS_NOPREFIX) place.format |= DT_NOPREFIX;
    const LONG type = style & SS_TYPEMASK;
    const bool wraps = (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && !(style & SS_CENTERIMAGE);
    place.format |= wraps ? DT_WORDBREAK : DT_SINGLELINE;
    return place;
}

const TextPlace one_line = {0, 0, DT_SINGLELINE | DT_EXPANDTABS};

class Measure {
public:
    explicit Measure(HFONT font) : selected_(screen_.get(), font) {}
    RECT extent(const char* text, int length, const TextPlace& place) {
        RECT rect = {0, 0, place.width, 0};
        DrawTextA(screen_.get(), text, length, &rect, place.format | DT_CALCRECT);
        return rect;
    }
    int line_height() {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(screen_.get(), &metrics);
        return metrics.tmHeight;
    }

private:
    ScreenDc screen_;
    SelectedObject selected_;
};

}  // namespace

HFONT control_font(HWND control) {
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

TextSize text_size_in(HFONT font, const char* text) {
    Measure measure(font);
    const RECT rect = measure.extent(text, lstrlenA(text), one_line);
    return {rect.right, measure.line_height()};
}

int widest_text_in(HFONT font, const char (*texts)[text_size], int count) {
    Measure measure(font);
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        const RECT rect = measure.extent(texts[i], lstrlenA(texts[i]), one_line);
        if (rect.right > widest) widest = rect.right;
    }
    return widest;
}

void set_fitted_text(HWND control, const char* text) {
    if (!control) return;
    if (!*text) {  // nothing to measure: reveal labels of unsolved questions
        SetWindowTextA(control, text);
        return;
    }
    const TextPlace place = text_place(control);
    Measure measure(control_font(control));
    // A label lower than one line still shows its first.
    const int height = place.height > measure.line_height() ? place.height : measure.line_height();
    const auto fits = [&](const std::string& candidate) {
        const RECT rect = measure.extent(candidate.c_str(), static_cast<int>(candidate.size()), place);
        return rect.right <= place.width && ((place.format & DT_SINGLELINE) || rect.bottom <= height);
    };
    const std::string whole = text;
    if (fits(whole)) {
        SetWindowTextA(control, text);
        return;
    }
    // The longest start that fits with the ellipsis: fitting shrinks with the start.
    std::size_t shortest_failing = whole.size();
    std::size_t longest_fitting = 0;
    while (longest_fitting + 1 < shortest_failing) {
        const std::size_t middle = (longest_fitting + shortest_failing) / 2;
        if (fits(whole.substr(0, middle) + ellipsis))
            longest_fitting = middle;
        else
            shortest_failing = middle;
    }
    std::size_t kept = longest_fitting;
    while (kept > 0 && whole[kept - 1] == ' ') --kept;  // "mot…", not "mot …"
    SetWindowTextA(control, (whole.substr(0, kept) + ellipsis).c_str());
}
