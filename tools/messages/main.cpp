// Writes the authors' page of report texts (Markdown): every text the engine reports, grouped by
// the part of the engine that makes it, with its meaning in English and its usual cause.
//   vellum-messages OUT.md
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "base/report_meanings.h"

namespace {

// A table cell: no bare '|', and a line break inside the text shown as one.
std::string cell(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '|') out += "\\|";
    else if (c == '\n') out += "<br>";
    else out += c;
  }
  return out;
}

std::string title(std::string_view area) {
  std::string text(area);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vellum-messages OUT.md\n", stderr);
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  if (!out) {
    std::fprintf(stderr, "vellum-messages: cannot write %s\n", argv[1]);
    return 1;
  }
  out << "# Report texts\n\n"
         "Generated from the engine's table of report meanings when the engine is built. The engine\n"
         "reports in its own words: the texts about scripts, files, sound and saves are Japanese, its\n"
         "internal texts Chinese, and the checks this engine added are English. Headless runs print each\n"
         "report on standard error as one line in UTF-8 (`Error: ...`, its lines joined by ` | `);\n"
         "`Information.txt` keeps the engine's bytes (see the guide's troubleshooting page). Find the\n"
         "text here to read what it means and what usually causes it. Words in braces stand for what the\n"
         "report puts there: a file, a number, a command, a piece of the script. A report made by a\n"
         "script command is followed by where it happened (the open `gosub` lines and the reporting\n"
         "line and command).\n";
  std::string_view area;
  for (const vellum::ReportMeaning& m : vellum::reportMeanings()) {
    if (m.area != area) {
      area = m.area;
      out << "\n## " << title(area) << "\n\n| Text | Meaning | Usual cause |\n|---|---|---|\n";
    }
    out << "| " << cell(m.text) << " | " << cell(m.meaning) << " | " << cell(m.cause) << " |\n";
  }
  out.close();
  if (!out) {
    std::fprintf(stderr, "vellum-messages: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
