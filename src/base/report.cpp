#include "base/report.h"

#include <cstdio>
#include <string>

#include "commands/arg_accessor.h"
#include "commands/lua/lua_binding.h"
#include "commands/squirrel/squirrel_binding.h"
#include "base/engine_state.h"
#include "platform/message_box.h"
#include "report/system_report.h"
#include "script/script_state.h"

namespace vellum {

namespace {

struct PlatformSink final : ReportSink {
  void errorBox(const ReportText& text) override { showMessageBox("Error", text.utf8(), BoxIcon::Error); }
  void outputLine(const ReportText& text) override {
    std::fprintf(stdout, "%s\n", text.utf8().c_str());
    std::fflush(stdout);
  }
};

PlatformSink platformSink;

struct SilentSink final : ReportSink {
  void errorBox(const ReportText&) override {}
  void outputLine(const ReportText&) override {}
};
ReportSink* activeSink = &platformSink;

void deliver(const ReportText& text, bool showBox) {
  if (showBox) {
    showErrorBox(text);
  } else {
    activeSink->outputLine(text);
  }
}

// Message, the caller of each live frame oldest first, then the current position and command.
ReportText nativeContext(const ReportText& message) {
  const ScriptState& s = scriptState();
  ReportText text;
  if (s.currentUserCommand) text.gbk(*s.currentUserCommand).ascii(" ");
  text.add(message).ascii("\r\n");
  for (size_t i = 0; i < s.callFrames.size(); ++i) {
    auto name = s.fileNames.find(s.callerKeys[i]);
    text.gbk(name != s.fileNames.end() ? name->second : std::string())
        .ascii("[")
        .number(s.callFrames[i].resumeLine + 1)
        .ascii("]\r\n");
  }
  text.gbk(s.slots[s.cursor.slot].displayName)
      .ascii("[")
      .number(s.cursor.line + 1)
      .ascii("] ")
      .gbk(engine().currentCommandName);
  return text;
}

}  // namespace

ReportText& ReportText::add(std::string_view bytes, CodePage page) {
  bytes_.append(bytes);
  utf8_.append(toUtf8(bytes, page));
  return *this;
}

ReportText& ReportText::add(const ReportText& other) {
  bytes_.append(other.bytes_);
  utf8_.append(other.utf8_);
  return *this;
}

ReportText& ReportText::number(long long value) { return ascii(std::to_string(value)); }

ReportSink* silentReportSink() {
  static SilentSink sink;
  return &sink;
}

ReportSink* setReportSink(ReportSink* sink) {
  ReportSink* previous = activeSink == &platformSink ? nullptr : activeSink;
  activeSink = sink ? sink : &platformSink;
  return previous;
}

ReportText withScriptContext(const ReportText& message) {
  switch (args().binding) {
    case Binding::Lua: return luaContext(message);
    case Binding::Squirrel: return squirrelContext(message);
    case Binding::Native: break;
  }
  return nativeContext(message);
}

void errorc(const ReportText& message, bool showBox) { deliver(withScriptContext(message), showBox); }

void errord(const ReportText& message, bool showBox) { deliver(message, showBox); }

void showErrorBox(const ReportText& text) {
  // The log keeps the engine's bytes; a log that cannot be written is skipped silently.
  if (FILE* log = std::fopen(informationFilePath().c_str(), "a")) {
    std::fprintf(log, "%s\n", text.bytes().c_str());
    std::fclose(log);
  }
  activeSink->errorBox(text);
}

}  // namespace vellum
