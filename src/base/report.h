// The engine's one way of telling the author or player that something went wrong: a report text
// shown in the error box (and appended to Information.txt) or written as a line to standard output.
// Reports never stop the engine; the caller carries on with its own fallback.
#pragma once

#include <string>
#include <string_view>

#include "base/text_encoding.h"

namespace vellum {

// A report as the engine's bytes (what the log file keeps) together with its UTF-8 rendering
// (what a person sees). Each piece is converted from its own code page as it is appended, so a
// Shift-JIS fixed text and a GBK script line can share one report.
class ReportText {
 public:
  ReportText() = default;
  ReportText(std::string_view bytes, CodePage page) { add(bytes, page); }

  ReportText& add(std::string_view bytes, CodePage page);
  ReportText& gbk(std::string_view bytes) { return add(bytes, CodePage::Gbk); }
  ReportText& sjis(std::string_view bytes) { return add(bytes, CodePage::ShiftJis); }
  // ASCII is the same in both code pages.
  ReportText& ascii(std::string_view text) { return add(text, CodePage::Gbk); }
  ReportText& number(long long value);
  ReportText& add(const ReportText& other);

  const std::string& bytes() const { return bytes_; }
  const std::string& utf8() const { return utf8_; }
  bool empty() const { return bytes_.empty(); }

 private:
  std::string bytes_;
  std::string utf8_;
};

// Reports with the context of the running script binding in front and behind the message.
void errorc(const ReportText& message, bool showBox);
// Reports the message unchanged.
void errord(const ReportText& message, bool showBox);
// Appends the text to Information.txt and shows the modal box titled "Error".
void showErrorBox(const ReportText& text);

// The text errorc would report for this message in the current state (the native context today).
ReportText withScriptContext(const ReportText& message);

// Where reports go. The default writes the box to the platform layer and lines to stdout; tests
// install a recorder to see exactly what a person would have been shown.
struct ReportSink {
  virtual ~ReportSink() = default;
  virtual void errorBox(const ReportText& text) = 0;
  virtual void outputLine(const ReportText& text) = 0;
};
// A sink that drops every report, for fuzzing and benchmarks.
ReportSink* silentReportSink();

// Installs a sink (nullptr restores the default). Returns the previous one.
ReportSink* setReportSink(ReportSink* sink);

// The user-data folder (or the game folder when there is none) followed by "Information.txt".
std::string informationFilePath();

// Slots the layers above fill while the program starts. The script bindings give errorc its
// context (without one a report carries the message alone); the platform shows the default
// sink's box (without one the box text goes to standard error).
using ScriptContextFormatter = ReportText (*)(const ReportText& message);
void setScriptContextFormatter(ScriptContextFormatter format);
using ErrorBoxPresenter = void (*)(const ReportText& text);
void setErrorBoxPresenter(ErrorBoxPresenter present);

}  // namespace vellum
