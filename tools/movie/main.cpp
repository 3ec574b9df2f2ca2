// vellum-movie: makes THOR movie files from an Ogg Theora video and an optional sound file, and
// prints a THOR file's header.
//   vellum-movie pack VIDEO.ogv [SOUND.ogg|SOUND.wav] -o OUT.thor
//   vellum-movie info FILE
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "movie/theora_stream.h"
#include "movie/thor_header.h"

namespace {

using namespace vellum;
using Bytes = std::vector<uint8_t>;

struct ToolError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct UsageError : ToolError {
  using ToolError::ToolError;
};

const char* usageText() {
  return "usage:\n"
         "  vellum-movie pack VIDEO.ogv [SOUND.ogg|SOUND.wav] -o OUT.thor\n"
         "      writes a THOR movie: the Theora video, with the sound file played beside it\n"
         "  vellum-movie info FILE\n"
         "      prints the header of a THOR movie\n";
}

Bytes readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ToolError(path + ": cannot open");
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw ToolError(path + ": cannot read");
  return bytes;
}

bool startsWith(const Bytes& bytes, const char* magic) {
  return bytes.size() >= 4 && std::memcmp(bytes.data(), magic, 4) == 0;
}

ThorHeader describeVideo(const std::string& path, const Bytes& video) {
  TheoraStream stream(
      [&video](uint8_t* destination, uint64_t offset, size_t size) -> size_t {
        if (offset >= video.size()) return 0;
        const size_t n = std::min<size_t>(size, video.size() - offset);
        std::memcpy(destination, video.data() + offset, n);
        return n;
      },
      video.size());
  std::string problem;
  if (!stream.open(problem)) throw ToolError(path + ": " + problem);
  const TheoraStreamInfo info = stream.info();
  if (info.framesPerSecondNumerator == 0 || info.framesPerSecondDenominator == 0)
    throw ToolError(path + ": the video gives no frame rate");
  ThorHeader h;
  h.frameCount = static_cast<uint32_t>(stream.countRemainingFrames());
  if (h.frameCount == 0) throw ToolError(path + ": the video has no frames");
  h.durationMs = static_cast<uint32_t>(uint64_t{h.frameCount} * 1000u * info.framesPerSecondDenominator /
                                       info.framesPerSecondNumerator);
  h.width = info.pictureWidth;
  h.height = info.pictureHeight;
  h.videoLength = static_cast<uint32_t>(video.size());
  return h;
}

int pack(const std::vector<std::string>& args) {
  std::string output;
  std::vector<std::string> inputs;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size()) throw UsageError("-o needs a value");
      output = args[++i];
    } else {
      inputs.push_back(args[i]);
    }
  }
  if (output.empty()) throw UsageError("pack needs -o OUT.thor");
  if (inputs.empty() || inputs.size() > 2) throw UsageError("pack takes a video and at most one sound file");
  const Bytes video = readWhole(inputs[0]);
  if (video.size() > 0x7FFFFFFFu) throw ToolError(inputs[0] + ": too large for a THOR file");
  ThorHeader header = describeVideo(inputs[0], video);
  Bytes sound;
  if (inputs.size() == 2) {
    sound = readWhole(inputs[1]);
    if (!startsWith(sound, "RIFF") && !startsWith(sound, "OggS"))
      throw ToolError(inputs[1] + ": not a WAV or Ogg sound file");
    if (sound.size() + video.size() > 0x7FFFFFFFu) throw ToolError(inputs[1] + ": too large for a THOR file");
  }
  header.soundLength = static_cast<uint32_t>(sound.size());
  uint8_t head[kThorHeaderSize];
  writeThorHeader(header, head);
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  if (!out) throw ToolError(output + ": cannot create");
  out.write(reinterpret_cast<const char*>(head), sizeof head);
  out.write(reinterpret_cast<const char*>(sound.data()), static_cast<std::streamsize>(sound.size()));
  out.write(reinterpret_cast<const char*>(video.data()), static_cast<std::streamsize>(video.size()));
  out.close();
  if (!out) throw ToolError(output + ": cannot write");
  return 0;
}

int info(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError("info takes one file");
  const Bytes bytes = readWhole(args[0]);
  ThorHeader h;
  std::string problem;
  if (!parseThorHeader(bytes.data(), bytes.size(), bytes.size(), h, problem)) throw ToolError(args[0] + ": " + problem);
  std::printf("size %ux%u\nframes %u\nduration %u ms\nsound %u bytes\nvideo %u bytes\n", h.width, h.height,
              h.frameCount, h.durationMs, h.soundLength, h.videoLength);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc < 2) throw UsageError("no command given");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h") {
      std::fputs(usageText(), stdout);
      return 0;
    }
    if (command == "pack") return pack(args);
    if (command == "info") return info(args);
    throw UsageError("unknown command '" + command + "'");
  } catch (const UsageError& e) {
    if (argc < 2) {
      std::fputs(usageText(), stderr);
    } else {
      std::fprintf(stderr, "vellum-movie: %s (see vellum-movie --help)\n", e.what());
    }
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vellum-movie: %s\n", e.what());
    return 1;
  }
}
