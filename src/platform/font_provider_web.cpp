// Fonts in the browser: there is no font configuration, only the font files the page ships in
// /fonts (the loader puts them there) and the files the game registers. Every face the engine
// may use is one of those; the Windows face names games ask for all map onto the first shipped
// face that covers Chinese or Japanese.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "platform/font_provider.h"

namespace vellum {

namespace {

constexpr const char* kShippedFontFolder = "/fonts";

constexpr std::string_view kAliases[] = {
    "ＭＳ ゴシック", "ＭＳ Ｐゴシック", "MS Gothic", "MS PGothic", "MS UI Gothic", "メイリオ", "Meiryo",
    "黑体",          "SimHei",         "微软雅黑",  "Microsoft YaHei", "新宋体",   "宋体",     "SimSun",
    "NSimSun",       "ＭＳ 明朝",      "ＭＳ Ｐ明朝", "MS Mincho", "MS PMincho", "楷体",   "仿宋",
};

std::vector<std::string> privateFiles;

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Every face of one file, read with FreeType (nothing for a file it cannot open).
// Faces with CJK glyphs go to `cjk`: they are the ones the aliases stand for.
void addFacesOf(FT_Library library, const std::string& file, std::vector<InstalledFace>& cjk,
                std::vector<InstalledFace>& others) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), -1, &face) != 0) return;
  const long count = face->num_faces;
  FT_Done_Face(face);
  for (long i = 0; i < count; ++i) {
    if (FT_New_Face(library, file.c_str(), i, &face) != 0) continue;
    InstalledFace entry;
    entry.family = face->family_name ? face->family_name : "";
    entry.file = file;
    entry.index = static_cast<int>(i);
    entry.outline = FT_IS_SCALABLE(face);
    entry.fixedPitch = FT_IS_FIXED_WIDTH(face);
    // A face with the kana covers Japanese.
    entry.japanese = FT_Get_Char_Index(face, U'あ') != 0 && FT_Get_Char_Index(face, U'ア') != 0;
    const bool chinese = FT_Get_Char_Index(face, U'中') != 0;
    FT_Done_Face(face);
    if (!entry.family.empty() && entry.outline) (chinese || entry.japanese ? cjk : others).push_back(entry);
  }
}

std::vector<InstalledFace> scanFaces() {
  std::vector<InstalledFace> faces;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return faces;
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(kShippedFontFolder, ec))
    if (entry.is_regular_file(ec)) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  files.insert(files.end(), privateFiles.begin(), privateFiles.end());
  std::vector<InstalledFace> others;
  for (const std::string& file : files) addFacesOf(library, file, faces, others);
  FT_Done_FreeType(library);
  faces.insert(faces.end(), others.begin(), others.end());
  return faces;
}

}  // namespace

std::vector<InstalledFace> installedFaces() { return scanFaces(); }

std::optional<FaceLocation> findInstalledFace(const std::string& name) {
  if (name.empty()) return std::nullopt;
  const std::string wanted = lower(name);
  const std::vector<InstalledFace> faces = scanFaces();
  for (const InstalledFace& face : faces)
    if (lower(face.family) == wanted) return FaceLocation{face.file, face.index};
  for (std::string_view alias : kAliases)
    if (lower(alias) == wanted && !faces.empty()) return FaceLocation{faces.front().file, faces.front().index};
  return std::nullopt;
}

std::optional<FaceLocation> matchFace(const std::vector<std::string>& families, const std::string&) {
  const std::vector<InstalledFace> faces = scanFaces();
  for (const std::string& family : families)
    for (const InstalledFace& face : faces)
      if (lower(face.family) == lower(family)) return FaceLocation{face.file, face.index};
  if (faces.empty()) return std::nullopt;
  return FaceLocation{faces.front().file, faces.front().index};
}

std::string chineseFontFile() {
  const std::optional<FaceLocation> face = matchFace({}, "zh-cn");
  return face ? face->file : std::string();
}

bool addPrivateFontFile(const std::string& path) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return false;
  FT_Face face = nullptr;
  const bool readable = FT_New_Face(library, path.c_str(), 0, &face) == 0;
  if (face) FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (readable) privateFiles.push_back(path);
  return readable;
}

void clearPrivateFontFiles() { privateFiles.clear(); }

}  // namespace vellum
