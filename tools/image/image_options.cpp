#include "image_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>
#include <vector>

#include "tool_error.h"

namespace vellum::image_tool {

namespace {

OutputFormat parseFormat(std::string_view text) {
  if (text == "tlg5") return OutputFormat::Tlg5;
  if (text == "tlg6") return OutputFormat::Tlg6;
  if (text == "png") return OutputFormat::Png;
  if (text == "jpeg" || text == "jpg") return OutputFormat::Jpeg;
  if (text == "bmp") return OutputFormat::Bmp;
  throw UsageError("--format takes tlg5, tlg6, png, jpeg or bmp, not '" + std::string(text) + "'");
}

int parseNumber(std::string_view option, std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw UsageError(std::string(option) + " takes a number, not '" + std::string(text) + "'");
  }
  return value;
}

}  // namespace

const char* usageText() {
  return "usage:\n"
         "  vellum-image info FILE\n"
         "      the picture's format, size, bits per pixel, layer position, mode and name\n"
         "  vellum-image convert IN OUT [--format tlg5|tlg6|png|jpeg|bmp] [--bits 8|24|32]\n"
         "                       [--quality N]\n"
         "      decodes IN (TLG, PNG, JPEG, BMP or TGA) and writes OUT; the format defaults from\n"
         "      OUT's extension (.tlg is TLG6); --bits 8 writes grey, 24 drops the alpha, 32\n"
         "      keeps it (for JPEG as the engine's alpha channel); --quality is JPEG's (90)\n"
         "  vellum-image --help\n";
}

std::optional<OutputFormat> formatFromExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "tlg") return OutputFormat::Tlg6;
  if (extension == "png") return OutputFormat::Png;
  if (extension == "jpg" || extension == "jpeg") return OutputFormat::Jpeg;
  if (extension == "bmp") return OutputFormat::Bmp;
  return std::nullopt;
}

ImageOptions parseArguments(int argc, char** argv) {
  ImageOptions options;
  if (argc < 2) throw UsageError("no command given");
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") return options;
  if (command == "info") options.command = Command::Info;
  else if (command == "convert") options.command = Command::Convert;
  else throw UsageError("unknown command '" + std::string(command) + "'");

  std::vector<std::string> positional;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.command = Command::Help;
      return options;
    }
    if (arg.size() > 1 && arg.front() == '-') {
      if (options.command != Command::Convert) throw UsageError("info takes no option '" + std::string(arg) + "'");
      if (arg != "--format" && arg != "--bits" && arg != "--quality") {
        throw UsageError("unknown option '" + std::string(arg) + "'");
      }
      if (i + 1 >= argc) throw UsageError(std::string(arg) + " needs a value");
      const std::string_view value = argv[++i];
      if (arg == "--format") {
        options.format = parseFormat(value);
      } else if (arg == "--bits") {
        options.bits = parseNumber(arg, value);
        if (options.bits != 8 && options.bits != 24 && options.bits != 32) throw UsageError("--bits takes 8, 24 or 32");
      } else {
        options.quality = parseNumber(arg, value);
        if (*options.quality < 0 || *options.quality > 100) throw UsageError("--quality takes 0 to 100");
      }
      continue;
    }
    positional.emplace_back(arg);
  }

  const size_t wanted = options.command == Command::Info ? 1 : 2;
  if (positional.size() != wanted) {
    throw UsageError(options.command == Command::Info ? "info takes one FILE" : "convert takes IN and OUT");
  }
  options.input = positional[0];
  if (options.command == Command::Convert) {
    options.output = positional[1];
    if (!options.format) options.format = formatFromExtension(options.output);
    if (!options.format) throw UsageError("cannot tell the format from '" + options.output + "'; give --format");
    if (options.quality && *options.format != OutputFormat::Jpeg) throw UsageError("--quality applies to JPEG only");
  }
  return options;
}

}  // namespace vellum::image_tool
