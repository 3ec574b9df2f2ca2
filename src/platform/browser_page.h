// The engine inside a web page. The browser runs the page's own work (input, drawing, timers,
// storage) only when the engine gives control back, so its waiting loops yield here; files the
// engine writes reach the browser's storage only when they are synchronised. Outside a page these
// calls do nothing (the native build compiles them away).
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

#ifdef __EMSCRIPTEN__
// True in the web build (a page, or node for the headless tests).
constexpr bool kInBrowserPage = true;
// Gives the browser its turn when the engine has held it for a frame's worth of time.
void yieldToBrowserIfDue();
// Waits the time out while the browser goes on with its own work.
void sleepInBrowser(uint32_t milliseconds);
// After a frame is presented: waits until the browser is ready for the next one (its next
// animation frame), so frames never pile up ahead of a slow renderer.
void waitForBrowserFrame();
// Copies the saves and settings folder into the browser's storage (IndexedDB), in the background.
void syncBrowserStorage();
// The page's own question box (OK / Cancel): true for OK.
bool askInBrowser(const std::string& title, const std::string& text);
// The page's own message box.
void tellInBrowser(const std::string& title, const std::string& text);
// Whether the page holds the browser's focus (always, under node: there is no page to lose it).
bool pageHasFocus();
#else
constexpr bool kInBrowserPage = false;
inline void yieldToBrowserIfDue() {}
inline void sleepInBrowser(uint32_t) {}
inline void waitForBrowserFrame() {}
inline void syncBrowserStorage() {}
inline bool askInBrowser(const std::string&, const std::string&) { return false; }
inline void tellInBrowser(const std::string&, const std::string&) {}
inline bool pageHasFocus() { return true; }
#endif

}  // namespace vellum
