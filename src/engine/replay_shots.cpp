#include "engine/replay_shots.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/clock.h"
#include "image/image.h"
#include "image/image_io.h"
#include "scene/screenshot.h"
#include "shell/input/input_replay.h"

namespace vellum {

namespace {

std::filesystem::path& shotsFolder() {
  static std::filesystem::path folder;
  return folder;
}

void complain(const std::string& name, const char* what) {
  std::fprintf(stderr, "vellum: shot %s: %s\n", name.c_str(), what);
}

// A shot is taken where the replay stands, between frames: the frame target holds what the
// player sees. Failures are said on standard error and the game goes on.
void writeShot(const std::string& name) {
  Image* picture = captureScreenPicture();
  if (!picture) {
    complain(name, "no picture: the game has no screen yet");
    return;
  }
  SaveRequest png;
  png.format = SaveFormat::Png;
  png.option1 = 24;
  png.option2 = 6;
  std::vector<uint8_t> bytes;
  const bool encoded = encodeImage(picture, png, name, bytes);
  freeImage(picture);
  if (!encoded) {
    complain(name, "the picture could not be encoded");
    return;
  }
  // Written through a temporary file so a reader never sees half a picture.
  const std::filesystem::path target = shotsFolder() / (name + ".png");
  std::filesystem::path temporary = target;
  temporary += ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      complain(name, ("cannot write " + temporary.string()).c_str());
      return;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) complain(name, ("cannot write " + target.string() + ": " + ec.message()).c_str());
}

// The time a picture takes (much more in a page than on the desktop) is not the player's.
void takeShot(const std::string& name) {
  const uint32_t started = tickMilliseconds();
  writeShot(name);
  holdReplayClock(tickMilliseconds() - started);
}

}  // namespace

bool startReplayShots(const std::string& folder, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path path = fs::absolute(folder, ec);
  if (ec || folder.empty()) {
    error = "--shots: no usable folder \"" + folder + "\"";
    return false;
  }
  fs::create_directories(path, ec);
  if (ec || !fs::is_directory(path, ec)) {
    error = "--shots: cannot create the folder " + path.string() + (ec ? ": " + ec.message() : "");
    return false;
  }
  shotsFolder() = path;
  setReplayShotTaker(&takeShot);
  return true;
}

bool reportShotsNotTaken() {
  const std::vector<std::string> left = shotsNotTaken();
  for (const std::string& name : left) complain(name, "not taken: the game ended before its time");
  return left.empty();
}

}  // namespace vellum
