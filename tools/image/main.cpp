// vellum-image: the authoring tool that describes pictures and converts them between the formats
// the engine reads, TLG5 and TLG6 among them, through the engine's own codecs.
#include <cstdio>
#include <exception>

#include "commands.h"
#include "base/report.h"
#include "image_options.h"
#include "tool_error.h"

namespace {

// The codecs' console lines are diagnostics here: they go to stderr beside the tool's own.
struct StderrSink final : vellum::ReportSink {
  void errorBox(const vellum::ReportText& text) override { std::fprintf(stderr, "%s\n", text.utf8().c_str()); }
  void outputLine(const vellum::ReportText& text) override { std::fprintf(stderr, "%s\n", text.utf8().c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
  using namespace vellum::image_tool;
  StderrSink sink;
  vellum::setReportSink(&sink);
  try {
    const ImageOptions options = parseArguments(argc, argv);
    switch (options.command) {
      case Command::Help:
        std::fputs(usageText(), stdout);
        return 0;
      case Command::Info:
        showInfo(options);
        return 0;
      case Command::Convert:
        convertPicture(options);
        return 0;
    }
  } catch (const UsageError& e) {
    if (argc < 2) std::fputs(usageText(), stderr);
    else std::fprintf(stderr, "vellum-image: %s (see vellum-image --help)\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vellum-image: %s\n", e.what());
    return 1;
  }
  return 1;
}
