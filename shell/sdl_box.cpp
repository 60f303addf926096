// The program's own message box, for when SDL cannot show one (on X, SDL's
// boxes need the server's core fonts, which not every X server has): a
// modal window with the caption, the text and the buttons of the box, Enter
// for the default button, Escape for Cancel (or OK), Tab between buttons.
#include <string>
#include <vector>

#include "shell/screens.h"
#include "shell/sdl_window.h"

namespace {

constexpr int Margin = 14;
constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 24;
constexpr int ButtonGap = 8;
constexpr int TextSize = 13;

struct OwnBox {
    SDL_Window* window = nullptr;
    TTF_Font* font = nullptr;
    std::vector<SDL_Rect> buttons;
    int focus = 0;
    int pressed = -1;
    int chosen = -1;
};

void Fill(SDL_Surface* surface, const SDL_Rect& area, Uint8 grey) {
    SDL_FillRect(surface, &area, SDL_MapRGB(surface->format, grey, grey, grey));
}

void Write(SDL_Surface* surface, TTF_Font* font, const char* utf8, int x, int y) {
    if (utf8[0] == '\0')
        return;
    SDL_Surface* written = TTF_RenderUTF8_Blended(font, utf8, {0, 0, 0, 255});
    if (written == nullptr)
        return;
    SDL_Rect to = {x, y, written->w, written->h};
    SDL_BlitSurface(written, nullptr, surface, &to);
    SDL_FreeSurface(written);
}

void Draw(const OwnBox& box, const std::string& text, const SDL_MessageBoxData& data) {
    SDL_Surface* surface = SDL_GetWindowSurface(box.window);
    if (surface == nullptr)
        return;
    Fill(surface, {0, 0, surface->w, surface->h}, 240);
    Write(surface, box.font, text.c_str(), Margin, Margin);
    for (int i = 0; i < static_cast<int>(box.buttons.size()); ++i) {
        const SDL_Rect& area = box.buttons[static_cast<std::size_t>(i)];
        const int border = i == box.focus ? 2 : 1;
        Fill(surface, area, i == box.focus ? 0 : 173);
        Fill(surface, {area.x + border, area.y + border, area.w - 2 * border, area.h - 2 * border},
             225);
        const char* label = data.buttons[i].text;
        int width = 0;
        int height = 0;
        (void)TTF_SizeUTF8(box.font, label, &width, &height);
        Write(surface, box.font, label, area.x + (area.w - width) / 2,
              area.y + (area.h - height) / 2);
    }
    SDL_UpdateWindowSurface(box.window);
}

int ButtonWith(const SDL_MessageBoxData& data, Uint32 flag) {
    for (int i = 0; i < data.numbuttons; ++i) {
        if ((data.buttons[i].flags & flag) != 0)
            return i;
    }
    return -1;
}

void HandleEvent(OwnBox* box, const SDL_MessageBoxData& data, const SDL_Event& event) {
    const int count = static_cast<int>(box->buttons.size());
    if (event.type == SDL_KEYDOWN) {
        const SDL_Keycode key = event.key.keysym.sym;
        if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_SPACE) {
            box->chosen = box->focus;
        } else if (key == SDLK_ESCAPE) {
            box->chosen = ButtonWith(data, SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT);
        } else if (key == SDLK_TAB) {
            const int step = (event.key.keysym.mod & KMOD_SHIFT) != 0 ? count - 1 : 1;
            box->focus = (box->focus + step) % count;
        }
    } else if ((event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) &&
               event.button.windowID == SDL_GetWindowID(box->window) &&
               event.button.button == SDL_BUTTON_LEFT) {
        const SDL_Point point = {event.button.x, event.button.y};
        int under = -1;
        for (int i = 0; i < count; ++i) {
            if (SDL_PointInRect(&point, &box->buttons[static_cast<std::size_t>(i)]) == SDL_TRUE)
                under = i;
        }
        if (event.type == SDL_MOUSEBUTTONDOWN) {
            box->pressed = under;
        } else if (under >= 0 && under == box->pressed) {
            box->chosen = under;
        }
    } else if (event.type == SDL_WINDOWEVENT) {
        if (event.window.windowID != SDL_GetWindowID(box->window)) {
            ServeOwnerWhileModal(event);
        } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            box->chosen = ButtonWith(data, SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT);
        }
    }
}

}  // namespace

bool ShowOwnBox(const SDL_MessageBoxData& data, int* answer) {
    OwnBox box;
    const std::string file = LiberationFile("", 0);
    if (data.numbuttons <= 0 || file.empty() || (TTF_WasInit() == 0 && TTF_Init() != 0))
        return false;
    box.font = OpenFontWithEm(file, TextSize);
    if (box.font == nullptr)
        return false;
    int textWidth = 0;
    int textHeight = 0;
    (void)TTF_SizeUTF8(box.font, data.message, &textWidth, &textHeight);
    const int buttonsWidth = data.numbuttons * ButtonWidth + (data.numbuttons - 1) * ButtonGap;
    const int width = 2 * Margin + (textWidth > buttonsWidth ? textWidth : buttonsWidth);
    const int height = 3 * Margin + textHeight + ButtonHeight;
    for (int i = 0; i < data.numbuttons; ++i) {
        box.buttons.push_back({width - Margin - buttonsWidth + i * (ButtonWidth + ButtonGap),
                               height - Margin - ButtonHeight, ButtonWidth, ButtonHeight});
    }
    const int first = ButtonWith(data, SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT);
    box.focus = first >= 0 ? first : 0;
    box.window = SDL_CreateWindow(data.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, SDL_WINDOW_SHOWN | SDL_WINDOW_SKIP_TASKBAR);
    if (box.window != nullptr) {
        if (data.window != nullptr)
            (void)SDL_SetWindowModalFor(box.window, data.window);
        SDL_RaiseWindow(box.window);
        (void)SDL_SetWindowInputFocus(box.window);
        Draw(box, data.message, data);
        while (box.chosen < 0) {
            SDL_Event event;
            if (TakeNext(&event) == NextInLoop::Paint) {
                PaintScreen(MainWindow);
            } else {
                HandleEvent(&box, data, event);
            }
            Draw(box, data.message, data);
        }
        *answer = data.buttons[box.chosen].buttonid;
        SDL_DestroyWindow(box.window);
    }
    TTF_CloseFont(box.font);
    return box.window != nullptr;
}
