// The single message window: where story text is laid out (inline commands, waits, ruby,
// wrapping with hanging punctuation, indents), the typewriter that reveals it, and the page.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vellum {

struct MessageWindow {
  // Layout settings.
  int x = 0, y = 0;
  int textOffsetY = 0;
  int columns = 20, rows = 3, fontSize = 24, rubyGap = 0, letterSpacing = 0, lineHeight = 24;
  int lineEndWait = 0, blankLineWait = 0;
  int quoteIndent = 0, paragraphIndent = 0;
  std::array<int, 6> log{};  // value 1 stored as its argument + 2
  int windowVisible = 3;
  bool created = false;
  // Latin text laid out as it is typeset: each glyph takes its own advance from the font and rows
  // break at spaces. Off, every character takes a fixed half or whole cell.
  bool proportional = false;

  // Layout state. `column` counts half cells; the proportional layout places by `penX` (pixels
  // from the row's left) and knows whether the last character placed was inside a word.
  int column = 0, row = 0, indent = 0;
  int penX = 0;
  bool midWord = false;
  bool justWrapped = false;
  uint32_t autoDeadline = 0;
  int finishedLines = 0;
  uint32_t typewriterStart = 0;
  size_t backlogOffset = 0;  // write position in the current entry's text

  // What the current story line has shown so far (for standard output), GBK.
  std::string shownLine;
  bool speakerPending = false;
  bool lineInProgress = false;  // a line was stopped by a wait and goes on  // the line starts a message with a speaker
  // What was shown since the layout last stopped for the player, to be read aloud (GBK): who says
  // it, the words, and whether a row ended after them (rows are joined by a space unless both
  // sides are double-byte characters).
  std::string spokenSpeaker, spokenText;
  bool spokenRowEnded = false, spokenEndsSingle = false;
  bool spokenStartsMessage = false;  // the words begin a message (its page had no text before)

  int pitch() const { return fontSize + letterSpacing; }
  int rowPitch() const { return lineHeight + rubyGap; }
  // The pen to a half-cell column of the row (both layouts).
  void moveToColumn(int c) {
    column = c;
    penX = static_cast<int>(int64_t{c} * pitch() / 2);
    midWord = false;
  }
};

MessageWindow& messageWindow();
void resetMessageWindow();

// The clock the typewriter and the layout read (tests put a fake one in).
using MessageClock = uint32_t (*)();
void setMessageClock(MessageClock clock);
uint32_t messageNow();

// Lays out one story line from the script state's textOffset. Returns 0 when the engine must
// stop, else 1 with messageWaited set. nextLength/afterLength: byte lengths of the next two lines.
int LayoutMessageLine(const char* text, int length, const int* nextLength, const int* afterLength);

// The page commands' common parts.
void clearMessagePage();            // row 0, both text objects emptied
void commitBacklogEntry(int keep);  // the current entry is done (keep != 0: the index stays)
// Hands the input source the auto-advance deadline after the message window changed it.
void publishAutoDeadline();

// The message window's text size in pixels after display scaling.
int scaledFontSize();
// (Re)creates the four glyph objects from the settings.
void applyMessageFonts();

// The typewriter.
void formatMessDraw();
int setMessDraw();
void endMessDraw();

void provideMessageCommands();
void provideBacklogCommands();
void provideFontCommands();
void provideTextSpriteCommands();
// All text command families.
void provideTextCommands();

// Hands the renderer the drawing of the message text.
void installMessageDrawing();

}  // namespace vellum
