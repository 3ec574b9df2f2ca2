// The engine's one top-level window on SDL, with an OpenGL-capable surface for the renderer. The
// shell decides sizes, positions and modes; this layer only carries them out and reports what the
// display offers. Headless (SDL's offscreen driver) the display is a 1920x1080 monitor.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Window;

namespace vellum {

struct DisplayArea {
  int32_t left = 0, top = 0, width = 0, height = 0;
  int32_t refreshRate = 0;  // Hz, 0 when unknown
};

// SDL's video with the engine's hints (no SDL signal handlers, no quit on the last window's close).
bool startVideo();

// Creates the hidden window with the OpenGL 3.3 core attributes requested. The title is UTF-8.
bool createMainWindow(const std::string& title);
bool mainWindowExists();
SDL_Window* mainWindowHandle();
uint32_t mainWindowId();  // 0 when there is no window
void destroyMainWindow();

void setMainWindowTitle(const std::string& title);
std::string mainWindowTitle();

// The monitor the window is on (its full rectangle).
DisplayArea mainMonitor();
// Whether the monitor can switch to 800x600.
bool monitorOffers800x600();

// Full screen over the whole monitor, or (change800x600) with the display switched to 800x600.
// False when the display change failed; the window is then full screen at the monitor's own size.
bool showFullScreen(bool change800x600);
// A framed window: client position and size in screen pixels.
void showWindowed(int32_t clientX, int32_t clientY, int32_t clientW, int32_t clientH, bool resizable);
void setTopmost(bool topmost);
bool mainWindowFullScreen();
bool mainWindowMinimized();
bool mainWindowMaximized();
// Brings the window back from the taskbar and to the front.
void raiseMainWindow();

// Frame sizes the window manager draws around a client of this window: left+right, top, bottom.
struct FrameBorders {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
FrameBorders mainWindowBorders();

// Moves the system pointer to client pixels of the window.
void warpPointer(int32_t x, int32_t y);
// Shows or hides the pointer over the window.
void showPointer(bool shown);

}  // namespace vellum
