// The hand-off of story text from the interpreter to the message layer. Until the message window
// exists a text presenter stands in for it and writes each text line to standard output.
#pragma once

namespace vellum {

// Shows one text line. Reads and advances the script state's textOffset, writes messageWaited.
// nextLength/afterLength: byte lengths of the first tokens of the next two lines (0 past the end).
// Returns 0 to stop the engine, nonzero to go on.
using MessagePresenter = int (*)(const char* text, int length, const int* nextLength, const int* afterLength);

MessagePresenter messagePresenter();
// nullptr restores the standard-output presenter.
void setMessagePresenter(MessagePresenter presenter);

// The standard-output presenter: the speaker name in brackets at the start of a message, then the
// text from textOffset, as UTF-8 and a newline. The message's page stays open until the line after
// it is empty.
int presentTextOnStdout(const char* text, int length, const int* nextLength, const int* afterLength);

}  // namespace vellum
