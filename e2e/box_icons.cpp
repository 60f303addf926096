// A box's buttons and icon as the player sees them.
#include "e2e/box_icons.h"

#include <algorithm>

#include "e2e/pixels.h"

namespace e2e {
namespace {

// The ids of a box's visible buttons, in increasing order.
struct ButtonSearch {
    std::vector<int> ids;
};

BOOL CALLBACK CollectButton(HWND child, LPARAM data) {
    if (ClassOf(child) == "Button" && IsWindowVisible(child) != 0)
        reinterpret_cast<ButtonSearch*>(data)->ids.push_back(GetDlgCtrlID(child));
    return TRUE;
}

std::string IdsText(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids)
        text += (text.empty() ? "" : ",") + std::to_string(id);
    return "{" + text + "}";
}

BOOL CALLBACK FindIconChild(HWND child, LPARAM data) {
    if (ClassOf(child) == "Static" && IsWindowVisible(child) != 0 &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
    }
    return TRUE;
}

// A system icon drawn as a box draws it, over a plain background.
Failure DrawSystemIcon(LPCSTR name, int width, int height, COLORREF background, Shot* drawn) {
    drawn->width = width;
    drawn->height = height;
    drawn->stride = (width * 3 + 3) & ~3;
    drawn->pixels.assign(static_cast<size_t>(drawn->stride) * height, 0);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Failure failure;
    if (picture == nullptr) {
        failure = "cannot make a picture for an icon";
    } else {
        HGDIOBJ previous = SelectObject(memory, picture);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        if (DrawIcon(memory, 0, 0, LoadIconA(nullptr, name)) == 0)
            failure = "cannot draw a system icon";
        SelectObject(memory, previous);
        if (GetDIBits(memory, picture, 0, height, drawn->pixels.data(), &info, DIB_RGB_COLORS) !=
            height)
            failure = "cannot read the pixels of an icon";
        DeleteObject(picture);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return failure;
}

// The share of the points that are not background in either picture where
// both agree.
double IconAgreement(const Shot& shown, const Shot& drawn) {
    const COLORREF background = shown.At(0, 0);
    int considered = 0;
    int same = 0;
    for (int y = 0; y < shown.height && y < drawn.height; ++y)
        for (int x = 0; x < shown.width && x < drawn.width; ++x) {
            if (shown.At(x, y) == background && drawn.At(x, y) == background)
                continue;
            ++considered;
            same += static_cast<int>(shown.At(x, y) == drawn.At(x, y));
        }
    return considered == 0 ? 0 : static_cast<double>(same) / considered;
}

// The part of a shot of a box that its icon child covers. A child of
// another program's window is read through its box: on its own it reads
// black.
bool CropIcon(const Shot& whole, HWND box, HWND child, Shot* icon) {
    RECT area;
    if (GetClientRect(child, &area) == 0)
        return false;
    MapWindowPoints(child, box, reinterpret_cast<POINT*>(&area), 2);
    if (area.left < 0 || area.top < 0 || area.right > whole.width || area.bottom > whole.height ||
        area.right <= area.left || area.bottom <= area.top)
        return false;
    icon->width = area.right - area.left;
    icon->height = area.bottom - area.top;
    icon->stride = (icon->width * 3 + 3) & ~3;
    icon->pixels.assign(static_cast<size_t>(icon->stride) * icon->height, 0);
    for (int y = 0; y < icon->height; ++y)
        for (int x = 0; x < icon->width; ++x) {
            COLORREF colour = whole.At(area.left + x, area.top + y);
            unsigned char* p = &icon->pixels[(icon->height - 1 - y) * icon->stride + x * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    return true;
}

struct Icon {
    LPCSTR name;
    const char* text;
};
const Icon InformationIcon = {IDI_INFORMATION, "information"};
const Icon QuestionIcon = {IDI_QUESTION, "question"};

// Waits until the box shows the system icon it should, and none of the
// other icons a box can have fits it better.
Failure ExpectBoxIcon(const Box& box, const Icon& expected) {
    const Icon icons[] = {
        InformationIcon, QuestionIcon, {IDI_WARNING, "warning"}, {IDI_ERROR, "error"}};
    double until = NowMs() + BoxTimeout;
    std::string seen = "no icon";
    while (NowMs() < until) {
        HWND child = nullptr;
        EnumChildWindows(box.window, FindIconChild, reinterpret_cast<LPARAM>(&child));
        Shot whole;
        Shot shown;
        if (child != nullptr && TakeShot(box.window, &whole).empty() &&
            CropIcon(whole, box.window, child, &shown)) {
            const Icon* best = nullptr;
            double bestShare = 0;
            for (const Icon& icon : icons) {
                Shot drawn;
                RETURN_IF_FAILED(
                    DrawSystemIcon(icon.name, shown.width, shown.height, shown.At(0, 0), &drawn));
                double share = IconAgreement(shown, drawn);
                if (best == nullptr || share > bestShare) {
                    best = &icon;
                    bestShare = share;
                }
            }
            if (best->name == expected.name && bestShare >= 0.9)
                return "";
            seen =
                Format("at best the %s icon (%.0f%% of its points)", best->text, bestShare * 100);
        }
        Sleep(30);
    }
    return Format("%s does not show the %s icon: %s", Describe(box).c_str(), expected.text,
                  seen.c_str());
}

}  // namespace

// A box of the game: its text and caption, owned by the main window, with
// exactly these buttons, and the icon of a message or of a question.
Failure ExpectGameBox(const Box& box, HWND window, const char* text, const char* caption,
                      std::vector<int> buttons) {
    RETURN_IF_FAILED(ExpectBox(box, text, caption));
    if (box.owner != window)
        return Describe(box) + " is not owned by the main window";
    ButtonSearch search;
    double until = NowMs() + BoxTimeout;
    std::sort(buttons.begin(), buttons.end());
    while (NowMs() < until) {
        search.ids.clear();
        EnumChildWindows(box.window, CollectButton, reinterpret_cast<LPARAM>(&search));
        std::sort(search.ids.begin(), search.ids.end());
        if (search.ids == buttons)
            return ExpectBoxIcon(box, buttons.size() == 1 ? InformationIcon : QuestionIcon);
        Sleep(20);
    }
    return Format("%s has the buttons %s, expected %s", Describe(box).c_str(),
                  IdsText(search.ids).c_str(), IdsText(buttons).c_str());
}

}  // namespace e2e
