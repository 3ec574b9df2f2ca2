// The message window's commands.
#include <algorithm>
#include <cstring>
#include <string>

#include "base/engine_state.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "persist/engine_settings.h"
#include "render/renderer_state.h"
#include "script/assignment.h"
#include "script/read_mode.h"
#include "script/script_state.h"
#include "text/backlog.h"
#include "text/cstring.h"
#include "text/message_window.h"

namespace vellum {

namespace {

constexpr int kLayoutLimit = 8192;

int32_t intArg(void* call, int i) { return args().getInt(call, i); }
// A result goes to the position after the arguments.
int result(void* call, int32_t value) {
  args().returnInt(call, args().count[1](call), value);
  return 1;
}

void placeBoth() {
  for (CString* t : {&mainText(), &rubyText()}) t->PlaceAll(0, 0);
}

int setMessCreateBody(void* call) {
  setCurrentCommandName("setMessCreate");
  const EngineSettings& s = settings();
  MessageWindow& w = messageWindow();
  const int size = scaledFontSize();
  const bool sixteen = renderer().sixteenBit;
  mainText().Create(s.currentFontName, size, s.liveFontStyle, intArg(call, 1), sixteen);
  rubyText().Create(s.currentFontName, size / 2, s.liveFontStyle & 15, intArg(call, 2), sixteen);
  spriteText().Create(s.currentFontName, size, s.liveFontStyle, 0, sixteen);
  spriteRubyText().Create(s.currentFontName, size / 2, s.liveFontStyle, 0, sixteen);
  for (CString* t : {&mainText(), &rubyText()}) {
    t->originX = w.x;
    t->originY = w.y;
    t->offsetY = w.textOffsetY;
  }
  for (CString* t : {&mainText(), &rubyText(), &spriteText(), &spriteRubyText()})
    t->SetColors(s.liveFontColor1, s.liveFontColor2, s.liveFontColor3);
  w.created = true;
  installMessageDrawing();
  return noResult(call);
}

int setMessXYBody(void* call) {
  setCurrentCommandName("setMessXY");
  MessageWindow& w = messageWindow();
  w.x = intArg(call, 1);
  w.y = intArg(call, 2);
  for (CString* t : {&mainText(), &rubyText()}) {
    t->originX = w.x;
    t->originY = w.y;
  }
  placeBoth();
  return noResult(call);
}

int setMessSXYBody(void* call) {
  setCurrentCommandName("setMessSXY");
  messageWindow().textOffsetY = intArg(call, 2);
  for (CString* t : {&mainText(), &rubyText()}) t->offsetY = intArg(call, 2);
  placeBoth();
  return noResult(call);
}

int setMessWHBody(void* call) {
  setCurrentCommandName("setMessWH");
  MessageWindow& w = messageWindow();
  // Sizes far beyond any screen are taken at the limit, so positions stay in range.
  const auto limited = [call](int i) { return std::clamp(intArg(call, i), -kLayoutLimit, kLayoutLimit); };
  w.columns = limited(1);
  w.rows = limited(2);
  w.fontSize = std::max(limited(3), 0);
  w.rubyGap = limited(4);
  w.letterSpacing = limited(5);
  w.lineHeight = limited(6);
  if (w.created) {
    const EngineSettings& s = settings();
    mainText().SetFont(s.currentFontName, scaledFontSize(), s.liveFontStyle);
    rubyText().SetFont(s.currentFontName, scaledFontSize() / 2, s.liveFontStyle & 15);
  }
  return noResult(call);
}

int setMessLineBody(void* call) {
  setCurrentCommandName("setMessLine");
  messageWindow().lineEndWait = intArg(call, 1);
  messageWindow().blankLineWait = intArg(call, 2);
  return noResult(call);
}

int setMessIndentBody(void* call) {
  setCurrentCommandName("setMessIndent");
  messageWindow().quoteIndent = intArg(call, 1);
  messageWindow().paragraphIndent = intArg(call, 2);
  return noResult(call);
}

int setMessProportionalBody(void* call) {
  setCurrentCommandName("setMessProportional");
  MessageWindow& w = messageWindow();
  w.proportional = intArg(call, 1) != 0;
  // The pen of a row already begun goes on from its column.
  w.moveToColumn(w.column);
  return noResult(call);
}

int setMessLogBody(void* call) {
  setCurrentCommandName("setMessLog");
  auto& log = messageWindow().log;
  for (int i = 0; i < 6; ++i) log[static_cast<size_t>(i)] = intArg(call, i + 1);
  log[0] += 2;
  return noResult(call);
}

int getMessLastBody(void* call) {
  setCurrentCommandName("getMessLast");
  const CString& t = mainText();
  auto last = t.LastPosition();
  // In the proportional layout the point after a character is its own advance away.
  if (messageWindow().proportional && t.count > 0 && t.hasFace()) {
    const size_t k = static_cast<size_t>(t.count - 1);
    last[0] = t.pX[k] + t.advance(t.pCode[k]);
  }
  args().returnInt(call, 1, last[0]);
  args().returnInt(call, 2, last[1]);
  return 1;
}

int formatMessDrawBody(void* call) {
  setCurrentCommandName("formatMessDraw");
  formatMessDraw();
  return noResult(call);
}

int setMessDrawBody(void* call) {
  setCurrentCommandName("setMessDraw");
  return result(call, setMessDraw());
}

int endMessDrawBody(void* call) {
  setCurrentCommandName("endMessDraw");
  endMessDraw();
  return noResult(call);
}

int clearMessBody(void* call) {
  setCurrentCommandName("clearMess");
  commitBacklogEntry(intArg(call, 1));
  clearMessagePage();
  return noResult(call);
}

int clearMess2Body(void* call) {
  setCurrentCommandName("clearMess2");
  MessageWindow& w = messageWindow();
  const int waited = scriptState().messageWaited;
  if (waited & 2) {
    commitBacklogEntry(intArg(call, 1));
    clearMessagePage();
  } else if ((w.blankLineWait & 4) && w.finishedLines > 0) {
    commitBacklogEntry(intArg(call, 1));
    ++w.row;
  } else {
    w.autoDeadline = 0;
    publishAutoDeadline();
  }
  return noResult(call);
}

int resetMessBody(void* call) {
  setCurrentCommandName("resetMess");
  for (CString* t : {&mainText(), &rubyText()}) {
    t->ReSetChar();
    t->PlaceAll(0, 0);
  }
  return noResult(call);
}

int formatMessBody(void* call) {
  setCurrentCommandName("formatMess");
  emptyBacklog();
  MessageWindow& w = messageWindow();
  w.autoDeadline = 0;
  w.backlogOffset = 0;
  publishAutoDeadline();
  w.finishedLines = 0;
  w.shownLine.clear();
  scriptState().messageWaited = 0;
  scriptState().textOffset = 0;
  clearMessagePage();
  return noResult(call);
}

int getPageBody(void* call) {
  setCurrentCommandName("getPage");
  return result(call, scriptState().messageWaited == 2 ? 1 : 0);
}

int newLineBody(void* call) {
  setCurrentCommandName("n");
  MessageWindow& w = messageWindow();
  ++w.row;
  w.justWrapped = true;
  BacklogEntry& entry = backlog().current();
  const std::string_view mark = w.indent == 2 ? std::string_view("\x0c\xa1\xa1", 3) : std::string_view("\x0c", 1);
  const size_t used = strnlen(entry.text, sizeof entry.text - 1);
  const size_t n = std::min(mark.size(), sizeof entry.text - 1 - used);
  std::memcpy(entry.text + used, mark.data(), n);
  entry.text[used + n] = '\0';
  w.moveToColumn(w.indent);
  return noResult(call);
}

int columnBody(void* call) {
  setCurrentCommandName("i");
  messageWindow().moveToColumn(std::clamp(intArg(call, 1), 0, kLayoutLimit));
  return noResult(call);
}

void getTagHandler(const char* arguments, int length) {
  setCurrentCommandName("getTag");
  bindList(std::string_view(arguments, static_cast<size_t>(std::max(length, 0))), backlog().current().tag);
}

}  // namespace

void provideMessageCommands() {
  provideCommand("setMessCreate", &setMessCreateBody);
  provideCommand("setMessXY", &setMessXYBody);
  provideCommand("setMessSXY", &setMessSXYBody);
  provideCommand("setMessWH", &setMessWHBody);
  provideCommand("setMessLine", &setMessLineBody);
  provideCommand("setMessIndent", &setMessIndentBody);
  provideCommand("setMessProportional", &setMessProportionalBody);
  provideCommand("setMessLog", &setMessLogBody);
  provideCommand("getMessLast", &getMessLastBody);
  provideCommand("formatMessDraw", &formatMessDrawBody);
  provideCommand("setMessDraw", &setMessDrawBody);
  provideCommand("endMessDraw", &endMessDrawBody);
  provideCommand("clearMess", &clearMessBody);
  provideCommand("clearMess2", &clearMess2Body);
  provideCommand("resetMess", &resetMessBody);
  provideCommand("formatMess", &formatMessBody);
  provideCommand("getPage", &getPageBody);
  provideCommand("n", &newLineBody);
  provideCommand("i", &columnBody);
  provideCommand("getTag", &getTagHandler);
}

void provideTextCommands() {
  provideMessageCommands();
  provideBacklogCommands();
  provideFontCommands();
  provideTextSpriteCommands();
}

}  // namespace vellum
