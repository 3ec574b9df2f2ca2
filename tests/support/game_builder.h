// Builds game folders for tests: a script container from in-memory sources, written with the same
// writer vellum-pack uses.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "storage/archive_writer.h"
#include "support/engine_fixture.h"

namespace vellum::test {

using Sources = std::vector<std::pair<std::string, std::string>>;  // path, bytes

std::vector<uint8_t> scriptContainer(const Sources& files, const std::string& title = VELLUM_GAME_TITLE,
                                     ArchiveLayout layout = ArchiveLayout::Acv1);
void writeScriptContainer(const TempFolder& game, const Sources& files, const std::string& title = VELLUM_GAME_TITLE,
                          ArchiveLayout layout = ArchiveLayout::Acv1);

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};
// Runs a program of the build tree (vellum, vellum-pack) with arguments, capturing its output.
ProcessResult runTool(const std::string& tool, const std::string& arguments);

}  // namespace vellum::test
