// Live reload (`vellum --watch SRC`): the engine looks at SRC/script/ a few times a second between
// script lines and, when a file changed (or F5 asks), reads it as vellum-pack would and puts it in
// place of the running text without leaving the game's place (see script/script_reload.h). A text
// that fails the label pass is reported and the old one goes on running.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// How often the source folder is looked at, in engine milliseconds. A change is taken once two
// looks in a row see the same file, so a file still being written is not read half-way.
constexpr uint32_t kSourceLookIntervalMs = 250;
// Lines run between two readings of the clock.
constexpr int kLinesPerClockRead = 32;

// The source folder to watch (the one holding script/); empty turns watching off.
void setWatchedSourceFolder(const std::string& folder);
bool watchingSources();

// At start-up, before the container's label pass: names every source file by its path in reports,
// remembers what each looks like now and takes the reload key.
void startWatchingSources();

// Between lines (the interpreter calls it before each): at most one look per interval, and the
// reload when one is due.
void serviceLiveReload();

// F5: compare every source with the text the game runs and reload those that differ, at the next
// line.
void requestSourceReload();

void resetLiveReload();

}  // namespace vellum
