// The hand-off of story text from the interpreter to the message window. The slot lets a test or
// tool stand in for the window; by default it is the window's layout, which also prints each shown
// line on standard output in headless runs.
#pragma once

namespace vellum {

// Lays out one text line. Reads and advances the script state's textOffset, writes messageWaited.
// nextLength/afterLength: byte lengths of the first tokens of the next two lines (0 past the end).
// Returns 0 to stop the engine, nonzero to go on.
using MessagePresenter = int (*)(const char* text, int length, const int* nextLength, const int* afterLength);

MessagePresenter messagePresenter();
// nullptr restores the message window.
void setMessagePresenter(MessagePresenter presenter);

}  // namespace vellum
