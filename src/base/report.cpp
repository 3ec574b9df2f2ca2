#include "base/report.h"

#include <cstdio>
#include <string>

#include "base/engine_state.h"
#include "base/quiet_reports.h"

namespace vellum {

namespace {

ScriptContextFormatter scriptContextFormatter = nullptr;
ErrorBoxPresenter errorBoxPresenter = nullptr;

struct DefaultSink final : ReportSink {
  void errorBox(const ReportText& text) override {
    if (errorBoxPresenter) {
      errorBoxPresenter(text);
    } else {
      std::fprintf(stderr, "Error: %s\n", text.utf8().c_str());
    }
  }
  void outputLine(const ReportText& text) override {
    std::fprintf(stdout, "%s\n", text.utf8().c_str());
    std::fflush(stdout);
  }
};

DefaultSink defaultSink;

struct SilentSink final : ReportSink {
  void errorBox(const ReportText&) override {}
  void outputLine(const ReportText&) override {}
};
ReportSink* activeSink = &defaultSink;

// Scopes of QuietReportsOnThisThread open on this thread.
thread_local int quietDepth = 0;

void deliver(const ReportText& text, bool showBox) {
  if (showBox) {
    showErrorBox(text);
  } else {
    activeSink->outputLine(text);
  }
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
  ReportSink* previous = activeSink == &defaultSink ? nullptr : activeSink;
  activeSink = sink ? sink : &defaultSink;
  return previous;
}

void setScriptContextFormatter(ScriptContextFormatter format) { scriptContextFormatter = format; }

void setErrorBoxPresenter(ErrorBoxPresenter present) { errorBoxPresenter = present; }

std::string informationFilePath() {
  const EngineState& e = engine();
  return (e.userDataDirectory.empty() ? e.exeDirectory : e.userDataDirectory) + "Information.txt";
}

ReportText withScriptContext(const ReportText& message) {
  return scriptContextFormatter ? scriptContextFormatter(message) : message;
}

QuietReportsOnThisThread::QuietReportsOnThisThread() { ++quietDepth; }
QuietReportsOnThisThread::~QuietReportsOnThisThread() { --quietDepth; }

// The script context is the main thread's: a quiet thread never formats it.
void errorc(const ReportText& message, bool showBox) {
  if (quietDepth == 0) deliver(withScriptContext(message), showBox);
}

void errord(const ReportText& message, bool showBox) {
  if (quietDepth == 0) deliver(message, showBox);
}

void showErrorBox(const ReportText& text) {
  if (quietDepth != 0) return;
  // The log keeps the engine's bytes; a log that cannot be written is skipped silently.
  if (FILE* log = std::fopen(informationFilePath().c_str(), "a")) {
    std::fprintf(log, "%s\n", text.bytes().c_str());
    std::fclose(log);
  }
  activeSink->errorBox(text);
}

}  // namespace vellum
