// Builds game folders for tests: a script container from in-memory sources, written with the same
// writer vellum-pack uses.
#pragma once

#include <cstdint>
#include <filesystem>
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

// A w x h picture of one colour (0xAARRGGBB) saved as a 32-bit PNG with its alpha; false when it
// cannot be made or written.
bool writeSolidPicture(const std::filesystem::path& file, int w, int h, uint32_t argb);

}  // namespace vellum::test
