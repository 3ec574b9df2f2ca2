// Modal boxes of the platform layer. With a display they are SDL message boxes; headless (or when
// no box can be shown) the text goes to standard error as one line and nothing blocks.
#pragma once

#include <string>

struct SDL_Window;

namespace vellum {

enum class BoxIcon { Error, Warning, Information };

// Whether a display is there to show boxes and dialogs on (X11 or Wayland).
bool haveDisplay();

// The window a box is centred over: the main window when it exists and is larger than 320x240;
// none otherwise (the system places the box).
SDL_Window* boxParent();

// Title and text are UTF-8.
void showMessageBox(const std::string& title, const std::string& text, BoxIcon icon);

// Joins the lines of a text into one line for the terminal ("a\r\nb" -> "a | b").
std::string asOneLine(const std::string& text);

}  // namespace vellum
