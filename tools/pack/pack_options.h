// The command line of vellum-pack.
#pragma once

#include <string>

#include "storage/archive_writer.h"

namespace vellum::pack {

enum class Command { Help, Script, Archive, List, Extract, New, Dist, Web };

struct PackOptions {
  Command command = Command::Help;
  std::string input;       // ROOT for script/archive, FILE for list/extract, DIR for new, SRC for dist
  std::string output;      // -o
  std::string names;       // --names ROOT
  std::string title;       // --title, or the build's title
  bool fromUtf8 = false;   // --from-utf8
  bool folderOutput = false;  // dist --dir: a folder instead of a .tar.gz
  std::string engine;      // dist --engine: the vellum program to ship (default: the one beside vellum-pack);
                           // web --engine: the folder of the web build's files
  std::string font;        // web --font: the font file the page ships
  ArchiveMode mode = ArchiveMode::Compress;
  ArchiveLayout layout = ArchiveLayout::Acv1;  // --legacy selects the older layout
};

// Throws UsageError for anything the command does not take or misses.
PackOptions parseArguments(int argc, char** argv);

const char* usageText();

}  // namespace vellum::pack
