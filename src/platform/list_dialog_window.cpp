#include "platform/list_dialog_window.h"

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/text_painter.h"

namespace vellum {

namespace {

// Client layout: the list fills the top 300 pixels, the two buttons sit on the strip below it.
constexpr int kWidth = 240;
constexpr int kHeight = 320;
constexpr SDL_Rect kList{0, 0, 240, 300};
constexpr int kColumnWidth = 234;
constexpr int kHeaderHeight = 20;
constexpr int kRowHeight = 16;
constexpr SDL_Rect kChooseButton{35, 300, 80, 20};
constexpr SDL_Rect kQuitButton{125, 300, 80, 20};
constexpr int kFontPixels = 12;

bool inside(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

struct TextureDeleter {
  void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
using Texture = std::unique_ptr<SDL_Texture, TextureDeleter>;

struct Label {
  Texture texture;
  int width = 0, height = 0;
};

class DialogWindow {
 public:
  DialogWindow(const ListDialog& dialog, SDL_Window* window, SDL_Renderer* renderer)
      : dialog_(dialog), window_(window), renderer_(renderer),
        painter_({dialog.fontFace, "SimHei", "sans-serif"}, "zh-cn", kFontPixels) {
    heading_ = label(dialog.heading, {0, 0, 0, 255});
    choose_ = label(dialog.chooseLabel, {0, 0, 0, 255});
    quit_ = label(dialog.quitLabel, {0, 0, 0, 255});
    for (const std::string& item : dialog.items) {
      items_.push_back(label(item, {0, 0, 0, 255}));
      selectedItems_.push_back(label(item, {255, 255, 255, 255}));
    }
  }

  ListChoice run(const std::function<ListReply(const ListChoice&)>& decide) {
    for (;;) {
      draw();
      SDL_Event event;
      if (!SDL_WaitEvent(&event)) return close(decide);
      std::optional<ListChoice> pressed;
      switch (event.type) {
        case SDL_QUIT: return close(decide);
        case SDL_WINDOWEVENT:
          if (event.window.event == SDL_WINDOWEVENT_CLOSE && event.window.windowID == SDL_GetWindowID(window_))
            return close(decide);
          break;
        case SDL_MOUSEBUTTONDOWN:
          if (event.button.button == SDL_BUTTON_LEFT) pressed = click(event.button.x, event.button.y);
          break;
        case SDL_MOUSEWHEEL: scroll(-event.wheel.y); break;
        case SDL_KEYDOWN: pressed = key(event.key.keysym.sym); break;
        default: break;
      }
      if (!pressed) continue;
      const ListReply reply = decide(*pressed);
      if (reply == ListReply::Close) return *pressed;
      if (reply == ListReply::ClearSelection) selected_ = -1;
    }
  }

 private:
  Label label(const std::string& text, SDL_Color colour) {
    Label l;
    l.texture.reset(painter_.render(renderer_, text, colour, l.width, l.height));
    return l;
  }

  int visibleRows() const { return (kList.h - kHeaderHeight) / kRowHeight; }

  ListChoice close(const std::function<ListReply(const ListChoice&)>& decide) {
    const ListChoice closed{ListAction::Closed, -1};
    decide(closed);
    return closed;
  }

  std::optional<ListChoice> click(int x, int y) {
    if (inside(kChooseButton, x, y)) return ListChoice{ListAction::Choose, selected_};
    if (inside(kQuitButton, x, y)) return ListChoice{ListAction::Quit, -1};
    if (inside(kList, x, y) && y >= kHeaderHeight) {
      const int row = top_ + (y - kHeaderHeight) / kRowHeight;
      selected_ = row < static_cast<int>(dialog_.items.size()) ? row : -1;
    }
    return std::nullopt;
  }

  std::optional<ListChoice> key(SDL_Keycode code) {
    const int count = static_cast<int>(dialog_.items.size());
    if (code == SDLK_RETURN || code == SDLK_KP_ENTER) return ListChoice{ListAction::Choose, selected_};
    if (code == SDLK_DOWN && count > 0) selected_ = std::min(count - 1, selected_ + 1);
    if (code == SDLK_UP && count > 0) selected_ = std::max(0, selected_ - 1);
    if (selected_ >= 0) {
      if (selected_ < top_) top_ = selected_;
      if (selected_ >= top_ + visibleRows()) top_ = selected_ - visibleRows() + 1;
    }
    return std::nullopt;
  }

  void scroll(int rows) {
    const int last = std::max(0, static_cast<int>(dialog_.items.size()) - visibleRows());
    top_ = std::clamp(top_ + rows, 0, last);
  }

  void fill(const SDL_Rect& r, Uint8 grey) {
    SDL_SetRenderDrawColor(renderer_, grey, grey, grey, 255);
    SDL_RenderFillRect(renderer_, &r);
  }

  void frame(const SDL_Rect& r, Uint8 grey) {
    SDL_SetRenderDrawColor(renderer_, grey, grey, grey, 255);
    SDL_RenderDrawRect(renderer_, &r);
  }

  // Draws the label inside the box: centred, or from the left edge with a small margin.
  void put(const Label& l, const SDL_Rect& box, bool centred) {
    if (!l.texture) return;
    const int x = centred ? box.x + (box.w - l.width) / 2 : box.x + 4;
    SDL_Rect target{x, box.y + (box.h - l.height) / 2, std::min(l.width, box.w - 4), l.height};
    SDL_Rect source{0, 0, target.w, l.height};
    SDL_RenderCopy(renderer_, l.texture.get(), &source, &target);
  }

  void draw() {
    fill({0, 0, kWidth, kHeight}, 240);
    fill(kList, 255);
    const SDL_Rect header{0, 0, kColumnWidth, kHeaderHeight};
    fill(header, 228);
    frame(header, 200);
    put(heading_, header, false);
    for (int row = 0; row < visibleRows(); ++row) {
      const int index = top_ + row;
      if (index >= static_cast<int>(items_.size())) break;
      const SDL_Rect line{0, kHeaderHeight + row * kRowHeight, kColumnWidth, kRowHeight};
      if (index == selected_) {
        SDL_SetRenderDrawColor(renderer_, 0, 120, 215, 255);
        SDL_RenderFillRect(renderer_, &line);
      }
      put(index == selected_ ? selectedItems_[static_cast<size_t>(index)] : items_[static_cast<size_t>(index)], line, false);
    }
    frame(kList, 160);
    for (const auto& [box, text] : {std::pair{kChooseButton, &choose_}, std::pair{kQuitButton, &quit_}}) {
      fill(box, 225);
      frame(box, 120);
      put(*text, box, true);
    }
    SDL_RenderPresent(renderer_);
  }

  const ListDialog& dialog_;
  SDL_Window* window_;
  SDL_Renderer* renderer_;
  TextPainter painter_;
  Label heading_, choose_, quit_;
  std::vector<Label> items_, selectedItems_;
  int selected_ = -1;
  int top_ = 0;
};

}  // namespace

std::optional<ListChoice> runListDialogWindow(const ListDialog& dialog,
                                              const std::function<ListReply(const ListChoice&)>& decide) {
  const bool startedVideo = SDL_WasInit(SDL_INIT_VIDEO) == 0;
  if (startedVideo && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return std::nullopt;
  Uint32 flags = SDL_WINDOW_SHOWN;
  if (dialog.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  SDL_Window* window = SDL_CreateWindow(dialog.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                                        kHeight, flags);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  if (!renderer && window) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  std::optional<ListChoice> result;
  if (renderer) {
    DialogWindow dialogWindow(dialog, window, renderer);
    result = dialogWindow.run(decide);
  }
  if (renderer) SDL_DestroyRenderer(renderer);
  if (window) SDL_DestroyWindow(window);
  if (startedVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return result;
}

}  // namespace vellum
