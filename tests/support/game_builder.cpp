#include "support/game_builder.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "image/image.h"
#include "image/image_io.h"
#include "test_paths.h"

namespace vellum::test {

std::vector<uint8_t> scriptContainer(const Sources& files, const std::string& title, ArchiveLayout layout) {
  std::vector<ArchiveMember> members;
  for (const auto& [path, bytes] : files) members.push_back({path, std::vector<uint8_t>(bytes.begin(), bytes.end())});
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(buildScriptContainer(members, title, layout, out, error)) << error;
  return out;
}

void writeScriptContainer(const TempFolder& game, const Sources& files, const std::string& title,
                          ArchiveLayout layout) {
  const std::vector<uint8_t> bytes = scriptContainer(files, title, layout);
  game.write("script.dat", std::string(bytes.begin(), bytes.end()));
}

ProcessResult runTool(const std::string& tool, const std::string& arguments) {
  TempFolder capture;
  const std::string out = (capture.path() / "out").string();
  const std::string err = (capture.path() / "err").string();
  const std::string command =
      std::string(VELLUM_BINARY_DIR) + "/" + tool + " " + arguments + " >" + out + " 2>" + err + " </dev/null";
  const int status = std::system(command.c_str());
  ProcessResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = readFileBytes(out);
  result.err = readFileBytes(err);
  return result;
}

bool writeSolidPicture(const std::filesystem::path& file, int w, int h, uint32_t argb) {
  Image* image = createImage(w, h, 32);
  if (!image) return false;
  for (int i = 0; i < image->pixelCount; ++i) image->pixels[i] = argb;
  SaveRequest request;
  request.format = SaveFormat::Png;
  request.option1 = 32;
  request.option2 = 1;
  const bool saved = saveImage(file.string(), image, request);
  freeImage(image);
  return saved;
}

}  // namespace vellum::test
