// Laying out one story line into the message window, from the script state's textOffset to the
// next wait or the line's end.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/engine_state.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "script/command_registry.h"
#include "persist/engine_settings.h"
#include "script/script_state.h"
#include "shell/services/speech_service.h"
#include "storage/hashes.h"
#include "text/backlog.h"
#include "text/cstring.h"
#include "text/message_window.h"
#include "text/text_messages.h"

namespace vellum {

namespace {

// Characters that may overhang the right edge rather than begin a row (GBK): 、 。 ） 」 』.
constexpr uint16_t kHanging[] = {0xA1A2, 0xA1A3, 0xA3A9, 0xA1B9, 0xA1BB};
// Opening quotes that make wrapped rows start under the text after them.
constexpr uint16_t kOpeningQuotes[] = {0xA1A8, 0xA1B8, 0xA1BA};

bool isLead(uint8_t b) { return b >= 0x81 && b <= 0xFC; }

// Positions are worked out wide and kept within int, whatever sizes and columns a script sets.
int position(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(int64_t{1} << 30), int64_t{1} << 30)); }
bool isHanging(uint16_t code) { return std::find(std::begin(kHanging), std::end(kHanging), code) != std::end(kHanging); }
bool isIdentifier(uint8_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

// The double-byte code at pos, or 0 for a single byte or the line's end.
uint16_t doubleByteAt(const char* text, int length, int pos) {
  if (pos + 1 >= length || !isLead(static_cast<uint8_t>(text[pos]))) return 0;
  return static_cast<uint16_t>(static_cast<uint8_t>(text[pos]) << 8 | static_cast<uint8_t>(text[pos + 1]));
}

// Whether the double-byte character `code` at pos may overhang the row's end: closing punctuation
// not followed by more of it.
bool hangsAt(const char* text, int length, int pos, uint16_t code) {
  return code && isHanging(code) && !isHanging(doubleByteAt(text, length, pos + 2));
}

// The position of the single byte `c` at or after `from`, stepping over double-byte characters
// (whose trail byte may equal it); -1 when the line has none.
int findByte(const char* text, int length, int from, char c) {
  for (int i = from; i < length; ++i) {
    if (text[i] == c) return i;
    if (isLead(static_cast<uint8_t>(text[i])) && i + 1 < length) ++i;
  }
  return -1;
}

void appendBacklog(std::string_view bytes) {
  BacklogEntry& entry = backlog().current();
  const size_t used = strnlen(entry.text, sizeof entry.text - 1);
  // A piece that does not fit is left out whole, so no character is cut in half.
  if (bytes.size() > sizeof entry.text - 1 - used) return;
  std::memcpy(entry.text + used, bytes.data(), bytes.size());
  entry.text[used + bytes.size()] = '\0';
}

void appendLineBreak(int indent) {
  appendBacklog(indent == 2 ? std::string_view("\x0c\xa1\xa1", 3) : std::string_view("\x0c", 1));
}

uint32_t textSpeed() { return static_cast<uint32_t>(std::max(settings().liveTextSpeed, 0)); }

// Headless runs show each story line on standard output: the speaker first, then what was laid
// out, without markup.
void printShownLine(MessageWindow& w) {
  const std::string line = w.shownLine;
  w.shownLine.clear();
  w.lineInProgress = false;
  if (!engine().headless || scriptState().fastForwardMode || line.empty()) return;
  const std::string out = toUtf8(line, CodePage::Gbk) + "\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

void startShownLine(MessageWindow& w) {
  const BacklogEntry& entry = backlog().current();
  w.shownLine.clear();
  w.speakerPending = entry.text[0] == '\0' && entry.tag[0] != '\0';
  if (entry.text[0] == '\0') w.spokenStartsMessage = true;
}

void showBytes(MessageWindow& w, std::string_view bytes) {
  if (w.speakerPending) {
    w.shownLine = "\xa1\xbe" + std::string(backlog().current().tag) + "\xa1\xbf";
    w.spokenSpeaker = backlog().current().tag;
    w.speakerPending = false;
  }
  w.shownLine.append(bytes);
  const bool single = bytes.size() == 1;
  if (w.spokenRowEnded && !w.spokenText.empty() && (single || w.spokenEndsSingle)) w.spokenText += ' ';
  w.spokenRowEnded = false;
  w.spokenText.append(bytes);
  w.spokenEndsSingle = single;
}

// The layout stops for the player: what was shown since the last stop is read aloud.
void speakShown(MessageWindow& w) {
  const std::string speaker = std::exchange(w.spokenSpeaker, std::string());
  const std::string text = std::exchange(w.spokenText, std::string());
  const bool startsMessage = std::exchange(w.spokenStartsMessage, false);
  w.spokenRowEnded = w.spokenEndsSingle = false;
  if (!scriptState().fastForwardMode && (!speaker.empty() || !text.empty())) speakMessage(speaker, text, startsMessage);
}

// Step 1: the indent of a row that starts a line.
void startRow(MessageWindow& w, const char* text, int length, int pos) {
  int look = pos;
  if (look < length && text[look] == '[') {
    const int close = findByte(text, length, look, ']');
    look = close >= 0 ? close + 1 : length;
  }
  const uint16_t code = doubleByteAt(text, length, look);
  if (std::find(std::begin(kOpeningQuotes), std::end(kOpeningQuotes), code) != std::end(kOpeningQuotes)) {
    w.indent = w.quoteIndent ? 2 : 0;
  } else if (w.paragraphIndent) {
    w.indent = 2;
    w.moveToColumn(2);
    if (!w.justWrapped) appendBacklog("\xa1\xa1");
  } else {
    w.indent = 0;
  }
}

// Runs "[name args]" at pos. Returns the position after "]", or -1 when the engine must stop.
int runInlineCommand(const char* text, int length, int pos) {
  const int end = findByte(text, length, pos, ']');
  if (end < 0) {
    errorc(ReportText().ascii(text_messages::kUnclosedInlineCommand).gbk(std::string_view(text + pos, static_cast<size_t>(length - pos))), true);
    return length;
  }
  int nameEnd = pos + 1;
  while (nameEnd < end && isIdentifier(static_cast<uint8_t>(text[nameEnd]))) ++nameEnd;
  const std::string name(text + pos + 1, static_cast<size_t>(nameEnd - pos - 1));
  const std::string arguments(text + nameEnd, static_cast<size_t>(end - nameEnd));
  const auto& registry = commandTables().registry;
  const auto found = registry.find(crc32Of(name));
  if (found == registry.end() || found->second.empty()) {
    setCurrentCommandName(name);
    errorc(ReportText().gbk(text_messages::kUnknownInlineCommand), true);
  } else {
    found->second.invoke(arguments.c_str(), static_cast<int>(arguments.size()));
    if (engine().quitFlag) return -1;
  }
  return end + 1;
}

// ---- the proportional layout -------------------------------------------------------------------

// How far a character moves the proportional pen: its glyph's advance plus the letter spacing, or
// the fixed cell when there is no face to measure with. `spacing` is the letter spacing of the
// text object's size.
int advanceIn(const CString& t, uint16_t code, int cellWidth, int spacing) {
  const int measured = t.advance(code);
  return measured > 0 ? measured + spacing : cellWidth;
}

int mainAdvance(const MessageWindow& w, uint16_t code) {
  return advanceIn(mainText(), code, (code > 0xFF ? w.pitch() : w.pitch() / 2), w.letterSpacing);
}

// The width of the word that starts at pos: Latin characters up to the next space, double-byte
// character or the line's end. Markup inside it (inline commands, waits, ruby braces and the ruby
// text itself) takes no room.
int wordWidthFrom(const MessageWindow& w, const char* text, int length, int pos, bool inRubyGroup) {
  int64_t width = 0;
  for (int i = pos; i < length;) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (c == ' ' || doubleByteAt(text, length, i)) break;
    int skipTo = i + 1;
    if (c == '[') {
      skipTo = findByte(text, length, i, ']') + 1;
    } else if (c == '/' && inRubyGroup) {
      skipTo = findByte(text, length, i, '}') + 1;
      inRubyGroup = false;
    } else if (c == '{' || c == '}') {
      inRubyGroup = c == '{';
    } else if (c != '@' && c != '\\') {
      width += mainAdvance(w, c);
    }
    if (skipTo <= i) break;  // unclosed markup: the word ends here
    i = skipTo;
  }
  return position(width);
}

// Whether the character at pos begins a new row in the proportional layout: a word that does not
// fit moves whole to the next row, and only a word longer than a row breaks inside it.
bool proportionalRowFull(const MessageWindow& w, const char* text, int length, int pos, bool inRubyGroup) {
  const int rowStart = position(int64_t{w.indent} * w.pitch() / 2);
  const int right = position(int64_t{w.columns} * w.pitch());
  if (w.penX <= rowStart) return false;
  const uint16_t code = doubleByteAt(text, length, pos);
  const auto c = static_cast<uint8_t>(text[pos]);
  if (!code && c == ' ') return false;  // a space may run past the edge: the next word breaks
  if (!code && !w.midWord && w.penX + wordWidthFrom(w, text, length, pos, inRubyGroup) > right) return true;
  if (w.penX + mainAdvance(w, code ? code : c) <= right) return false;
  return !hangsAt(text, length, pos, code);
}

// ---- ruby ----------------------------------------------------------------------------------------

struct RubyGroup {
  bool open = false;
  int column = 0;
  int row = 0, penX = 0;  // where the base starts in the proportional layout
  int bodyCount = 0;
  int baseCharacters = 0;
};

// Places the ruby text (from after "/" up to "}") above the group's base.
void placeRuby(MessageWindow& w, const RubyGroup& group, std::string_view ruby) {
  if (scriptState().fastForwardMode) return;
  const bool acrossRows = w.proportional ? w.row != group.row || w.penX < group.penX : w.column < group.column;
  if (acrossRows) {
    errord(ReportText().gbk(text_messages::kRubyAcrossRows), true);
    return;
  }
  const int p = w.pitch();
  const CString& r = rubyText();
  // Each ruby character's own advance in the proportional layout, else a quarter or half cell.
  const auto rubyAdvance = [&](uint16_t code) {
    const int cellWidth = code > 0xFF ? p / 2 : p / 4;
    return w.proportional ? advanceIn(r, code, cellWidth, w.letterSpacing / 2) : cellWidth;
  };
  int characters = 0;
  int64_t measured = 0;
  for (size_t j = 0; j < ruby.size(); ++j, ++characters) {
    uint16_t code = static_cast<uint8_t>(ruby[j]);
    if (isLead(static_cast<uint8_t>(ruby[j])) && j + 1 < ruby.size())
      code = static_cast<uint16_t>(code << 8 | static_cast<uint8_t>(ruby[++j]));
    measured += rubyAdvance(code);
  }
  const int64_t p64 = p;
  const int base = w.proportional ? group.penX : position(p64 * group.column / 2);
  const int width = w.proportional ? w.penX - group.penX : position(p64 * w.column / 2 - base);
  const int rubyWidth = w.proportional ? position(measured) : position(static_cast<int64_t>(ruby.size()) * p64 / 4);
  const int n = characters + 1;
  int x = 0, gap = 0;
  if (!w.proportional && width == 2 * rubyWidth) {
    x = base + p / 4;
    gap = p / 2;
  } else if (width < rubyWidth) {
    x = base - (rubyWidth - width) / 2;
  } else {
    gap = (width - rubyWidth) / n;
    x = base + gap;
  }
  CString& rubyObject = rubyText();
  const int y = position(int64_t{w.row} * w.rowPitch() - w.rubyGap / 2);
  const int first = rubyObject.count;
  for (size_t j = 0; j < ruby.size() && rubyObject.count < rubyObject.capacity;) {
    const auto c = static_cast<uint8_t>(ruby[j]);
    if (isLead(c) && j + 1 < ruby.size()) {
      const auto trail = static_cast<uint8_t>(ruby[j + 1]);
      rubyObject.SetChar(x, y, c, trail);
      x += rubyAdvance(static_cast<uint16_t>(c << 8 | trail)) + gap;
      j += 2;
    } else {
      rubyObject.SetChar(x, y, 0, c);
      x += rubyAdvance(c) + gap;
      ++j;
    }
  }
  // Each ruby character appears with the part of the base it stands over.
  const int placed = rubyObject.count - first;
  rubyObject.anchors.resize(static_cast<size_t>(rubyObject.count));
  for (int j = 0; j < placed; ++j)
    rubyObject.anchors[static_cast<size_t>(first + j)] = group.bodyCount + j * group.baseCharacters / placed;
}

}  // namespace

namespace {
int layoutLine(const char* text, int length, const int* nextLength, const int* afterLength);
}  // namespace

int LayoutMessageLine(const char* text, int length, const int* nextLength, const int* afterLength) {
  const int result = layoutLine(text, length, nextLength, afterLength);
  publishAutoDeadline();
  return result;
}

namespace {
int layoutLine(const char* text, int length, const int* nextLength, const int* afterLength) {
  ScriptState& s = scriptState();
  MessageWindow& w = messageWindow();
  length = std::max(length, 0);
  int pos = std::clamp(s.textOffset, 0, length);
  if (!w.lineInProgress) startShownLine(w);
  w.lineInProgress = true;
  if (w.column == 0) startRow(w, text, length, pos);

  RubyGroup group;
  bool placeAnyway = false;  // a row that was just broken takes its first character whatever the width
  const int p = w.pitch();

  // Step 3: a wait. Returns true when layout stops here.
  const auto wait = [&](int resume) {
    backlog().current().rows = static_cast<uint8_t>(std::min(w.row + 1, 255));
    w.autoDeadline += messageNow() + static_cast<uint32_t>(std::max(settings().liveAutoWait, 0)) + textSpeed();
    if (!s.postMessageSub) return false;
    s.textOffset = resume;
    if (s.textOffset >= length) {
      s.textOffset = 0;
      if (!(s.messageWaited & 1)) {
        ++w.finishedLines;
        w.justWrapped = false;
        w.indent = 0;
        w.moveToColumn(0);
      }
      w.midWord = false;  // a line's end ends its last word
      printShownLine(w);
    }
    speakShown(w);
    return true;
  };

  while (pos < length) {
    const auto c = static_cast<uint8_t>(text[pos]);
    const uint16_t code = doubleByteAt(text, length, pos);
    const int width = code ? 2 : 1;
    if (!code && c == '[') {
      pos = runInlineCommand(text, length, pos);
      if (pos < 0) return 0;
      continue;
    }
    if (!code && (c == '@' || c == '\\')) {
      s.messageWaited = c == '@' ? 1 : 2;
      if (wait(pos + 1)) return 1;
      ++pos;
      continue;
    }
    if (!code && c == '{') {
      group = {true, w.column, w.row, w.penX, mainText().count, 0};
      appendBacklog("{");
      ++pos;
      continue;
    }
    if (!code && c == '/' && group.open) {
      const int end = findByte(text, length, pos, '}');
      if (end < 0) {
        errord(ReportText().gbk(text_messages::kRubyMalformed), true);
        group.open = false;
        pos = length;
        continue;
      }
      const std::string_view ruby(text + pos + 1, static_cast<size_t>(end - pos - 1));
      placeRuby(w, group, ruby);
      appendBacklog(std::string_view(text + pos, static_cast<size_t>(end - pos + 1)));
      group.open = false;
      pos = end + 1;
      continue;
    }
    if (!code && c == '}') {
      group.open = false;
      appendBacklog("}");
      ++pos;
      continue;
    }
    // The proportional layout drops spaces at the start of a row.
    if (w.proportional && !code && c == ' ' && w.penX <= position(int64_t{w.indent} * p / 2)) {
      ++pos;
      continue;
    }
    // An ordinary character; a full row breaks unless it hangs.
    const bool rowFull = w.proportional ? proportionalRowFull(w, text, length, pos, group.open)
                                        : w.column > 2 * w.columns && !placeAnyway && !hangsAt(text, length, pos, code);
    if (rowFull) {
      appendLineBreak(w.indent);
      ++w.row;
      w.moveToColumn(w.indent);
      w.justWrapped = true;
      placeAnyway = true;
      continue;
    }
    placeAnyway = false;
    const int x = w.proportional ? w.penX : position(int64_t{w.column} * p / 2);
    if (!s.fastForwardMode) {
      const uint8_t lead = code ? c : 0, trail = code ? static_cast<uint8_t>(text[pos + 1]) : c;
      mainText().SetChar(x, position(int64_t{w.row} * w.rowPitch()), lead, trail);
    }
    if (w.proportional) {
      w.penX = position(int64_t{x} + mainAdvance(w, code ? code : c));
      w.midWord = !code && c != ' ';
    }
    w.column += width;
    w.justWrapped = false;
    if (group.open) ++group.baseCharacters;
    w.autoDeadline += static_cast<uint32_t>(std::max(settings().autoChar, 0)) + textSpeed();
    const std::string_view bytes(text + pos, static_cast<size_t>(width));
    appendBacklog(bytes);
    showBytes(w, bytes);
    pos += width;
  }

  // The line's end: its wait rule.
  const bool nextEmpty = !nextLength || *nextLength <= 0;
  if (w.blankLineWait == 0 || !nextEmpty) {
    s.messageWaited = w.lineEndWait;
  } else if (w.blankLineWait & 4) {
    s.messageWaited = afterLength && *afterLength > 0 ? 1 : 2;
  } else {
    s.messageWaited = w.blankLineWait;
  }
  if (s.messageWaited != 0 && wait(length)) return 1;

  // Step 4: no wait.
  if (!w.justWrapped) {
    ++w.row;
    appendLineBreak(w.indent);
  }
  w.indent = 0;
  w.moveToColumn(0);
  s.textOffset = 0;
  if (group.open) errord(ReportText().gbk(text_messages::kRubyMalformed), true);
  s.messageWaited = 0;
  printShownLine(w);
  w.spokenRowEnded = true;
  // Without a message subroutine nobody ends the page: it ends with the message (an empty line).
  if (!s.postMessageSub && nextEmpty) {
    speakShown(w);
    commitBacklogEntry(0);
    clearMessagePage();
  }
  return 1;
}

}  // namespace

}  // namespace vellum
