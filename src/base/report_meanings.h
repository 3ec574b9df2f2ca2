// What each report text of the engine means, in English, with its usual cause: the table behind the
// generated page of report texts (docs/messages.md in the build tree). The engine's reports keep
// their own texts; this is where an author who cannot read them looks them up.
#pragma once

#include <span>
#include <string_view>

namespace vellum {

struct ReportMeaning {
  // The part of the engine that makes the report, as the page groups it ("script", "sound", ...).
  std::string_view area;
  // The text as a person reads it (UTF-8). Words in braces stand for what the report puts there:
  // {file} a file name, {n} a number, {command} a command's name, {text} a piece of script text.
  std::string_view text;
  // What it says, in English.
  std::string_view meaning;
  // What usually causes it, and what to do.
  std::string_view cause;
};

// Every report text, grouped by area in the order the page shows them.
std::span<const ReportMeaning> reportMeanings();

}  // namespace vellum
