// The engine's own user interface drawn inside the game's window over the game's picture: the menu
// bar, the start-up settings dialog and the find dialog. Built on Dear ImGui with its OpenGL 3
// back-end; input comes from the engine's window messages (so replayed input drives it exactly
// like the player's), and texts are UTF-8. The layer above says what to draw; this file only
// draws it and reports which control was used.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_message.h"

namespace vellum::ui {

struct MenuEntry {
  std::string label;
  int32_t id = 0;
  bool separator = false;
  bool checked = false;
  bool enabled = true;
};

struct MenuColumn {
  std::string label;
  std::vector<MenuEntry> entries;
};

struct MenuBarView {
  std::string dropDown;  // the bar's one drop-down, at its right end
  std::vector<MenuColumn> columns;
  bool hasPin = false;
  std::string pinLabel;
  int32_t pinId = 0;
};

enum class WidgetKind { GroupBox, Radio, CheckBox, Static, Button };

struct DialogWidget {
  WidgetKind kind = WidgetKind::Static;
  std::string label;
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool checked = false;
  bool enabled = true;
};

struct DialogView {
  std::string title;
  int32_t width = 0, height = 0;  // client area
  std::vector<DialogWidget> widgets;
};

struct FindView {
  std::string text;  // UTF-8, edited in place
  bool down = true;
  uint32_t raiseCount = 0;
};
enum class FindAction { None, FindNext, Close };

// How big a label makes a control in the kit's font, in pixels: a radio button or check box whole
// (its box, the gap and the text), or a text wrapped at `wrapWidth`. Needs no frame and no OpenGL
// context: the font gets the label's glyphs first, so a layer above can lay a dialog out before
// it is drawn.
struct LabelSize {
  int32_t width = 0, height = 0;
};
LabelSize choiceSize(const std::string& label);
LabelSize wrappedTextSize(const std::string& text, int32_t wrapWidth);

// Feeds one window message (client pixels) to the interface. True when the interface takes it:
// the pointer is over something it draws, or a menu or dialog holds the input.
bool feedMessage(const WindowMessage& m, bool interfaceShown);
// Forgets the pointer and the keys (before a fresh interface opens).
void resetInput();

// One frame on the current OpenGL context, window size in pixels: begin, draw what is shown,
// end (which renders it into the window's framebuffer). `extraText` lists the characters the
// frame may show beyond Latin and common Chinese, so the font holds them.
bool beginFrame(int32_t windowW, int32_t windowH, const std::string& extraText);
// The menu bar: the identifier of the item chosen in this frame, or 0.
int32_t drawMenuBar(const MenuBarView& bar);
// Whether the pointer is over the bar or an open menu of the last frame drawn.
bool menuHasPointer();
// The dialog centred in the window: the index of the widget clicked in this frame, or -1.
int32_t drawDialog(const DialogView& dialog);
FindAction drawFind(FindView& find, const std::string& title);
void endFrame();

// The window's framebuffer as RGBA rows, top row first (after endFrame, before the swap).
bool readWindowPixels(int32_t width, int32_t height, std::vector<uint8_t>& rgba);

// Drops the OpenGL objects of the current context's interface (before that context goes).
void releaseGraphics();
void shutdown();

}  // namespace vellum::ui
