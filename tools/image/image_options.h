// The command line of vellum-image.
#pragma once

#include <optional>
#include <string>

namespace vellum::image_tool {

enum class Command { Help, Info, Convert };
enum class OutputFormat { Tlg5, Tlg6, Png, Jpeg, Bmp };

struct ImageOptions {
  Command command = Command::Help;
  std::string input;
  std::string output;
  std::optional<OutputFormat> format;  // --format; else from the output's extension
  int bits = 0;                        // --bits 8|24|32; 0 keeps the picture's own
  std::optional<int> quality;          // --quality 0-100 (JPEG)
};

// Throws UsageError for anything the command does not take or misses.
ImageOptions parseArguments(int argc, char** argv);

// The format the output file's extension names: .tlg (TLG6), .png, .jpg/.jpeg, .bmp.
std::optional<OutputFormat> formatFromExtension(const std::string& path);

const char* usageText();

}  // namespace vellum::image_tool
