#include "platform/font_provider.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace vellum {

namespace {

enum class Kind { Sans, Serif };

// Windows face names games ask for, and the kind of CJK face that stands in for them.
struct Alias {
  std::string_view name;
  Kind kind;
};
constexpr Alias kAliases[] = {
    {"ＭＳ ゴシック", Kind::Sans}, {"ＭＳ Ｐゴシック", Kind::Sans}, {"MS Gothic", Kind::Sans},
    {"MS PGothic", Kind::Sans},    {"MS UI Gothic", Kind::Sans},    {"メイリオ", Kind::Sans},
    {"Meiryo", Kind::Sans},        {"黑体", Kind::Sans},            {"SimHei", Kind::Sans},
    {"微软雅黑", Kind::Sans},      {"Microsoft YaHei", Kind::Sans}, {"新宋体", Kind::Serif},
    {"宋体", Kind::Serif},         {"SimSun", Kind::Serif},         {"NSimSun", Kind::Serif},
    {"ＭＳ 明朝", Kind::Serif},    {"ＭＳ Ｐ明朝", Kind::Serif},    {"MS Mincho", Kind::Serif},
    {"MS PMincho", Kind::Serif},   {"楷体", Kind::Serif},           {"仿宋", Kind::Serif},
};

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string stringOf(FcPattern* p, const char* object, int n = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(p, object, n, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

bool covers(FcPattern* p, const char* language) {
  FcLangSet* langs = nullptr;
  if (FcPatternGetLangSet(p, FC_LANG, 0, &langs) != FcResultMatch || !langs) return false;
  return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>(language)) == FcLangEqual;
}

bool initialised() {
  static const bool ok = FcInit() == FcTrue;
  return ok;
}

// The best installed face of a generic family that covers a CJK language; nothing when the best
// match does not cover one.
std::optional<FaceLocation> cjkFace(const char* generic) {
  for (const char* language : {"ja", "zh-cn"}) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) continue;
    std::optional<FaceLocation> found;
    if (covers(match, language)) {
      int index = 0;
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
      const std::string file = stringOf(match, FC_FILE);
      if (!file.empty()) found = FaceLocation{file, index};
    }
    FcPatternDestroy(match);
    if (found) return found;
  }
  return std::nullopt;
}

}  // namespace

std::vector<InstalledFace> installedFaces() {
  std::vector<InstalledFace> faces;
  if (!initialised()) return faces;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_OUTLINE, FC_SPACING, FC_LANG, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  if (!set) return faces;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* p = set->fonts[i];
    InstalledFace face;
    face.family = stringOf(p, FC_FAMILY);
    face.file = stringOf(p, FC_FILE);
    if (FcPatternGetInteger(p, FC_INDEX, 0, &face.index) != FcResultMatch) face.index = 0;
    FcBool outline = FcTrue;
    if (FcPatternGetBool(p, FC_OUTLINE, 0, &outline) == FcResultMatch) face.outline = outline == FcTrue;
    int spacing = FC_PROPORTIONAL;
    if (FcPatternGetInteger(p, FC_SPACING, 0, &spacing) == FcResultMatch) face.fixedPitch = spacing >= FC_MONO;
    face.japanese = covers(p, "ja");
    if (!face.family.empty() && !face.file.empty()) faces.push_back(std::move(face));
  }
  FcFontSetDestroy(set);
  return faces;
}

std::optional<FaceLocation> findInstalledFace(const std::string& name) {
  if (!initialised() || name.empty()) return std::nullopt;
  const std::string wanted = lower(name);
  // A family of that name (fontconfig compares every family name of a face, ignoring case).
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(""));
  if (pattern) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::optional<FaceLocation> found;
    if (set && set->nfont > 0) {
      int index = 0;
      if (FcPatternGetInteger(set->fonts[0], FC_INDEX, 0, &index) != FcResultMatch) index = 0;
      found = FaceLocation{stringOf(set->fonts[0], FC_FILE), index};
    }
    if (set) FcFontSetDestroy(set);
    if (found && !found->file.empty()) return found;
  }
  for (const Alias& alias : kAliases) {
    if (lower(alias.name) != wanted) continue;
    if (alias.kind == Kind::Serif)
      if (auto serif = cjkFace("serif")) return serif;
    return cjkFace("sans-serif");
  }
  return std::nullopt;
}

std::optional<FaceLocation> matchFace(const std::vector<std::string>& families, const std::string& language) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  for (const std::string& family : families)
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (!language.empty()) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;
  std::optional<FaceLocation> found;
  FcChar8* path = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    found = FaceLocation{reinterpret_cast<const char*>(path), index};
  }
  FcPatternDestroy(match);
  return found;
}

std::string chineseFontFile() {
  if (!FcInit()) return {};
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  FcLangSet* langs = nullptr;
  FcChar8* path = nullptr;
  if (match && FcPatternGetLangSet(match, FC_LANG, 0, &langs) == FcResultMatch &&
      FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("zh-cn")) != FcLangDifferentLang &&
      FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
    file = reinterpret_cast<const char*>(path);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

bool addPrivateFontFile(const std::string& path) {
  if (!initialised()) return false;
  return FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str())) == FcTrue;
}

void clearPrivateFontFiles() {
  if (initialised()) FcConfigAppFontClear(nullptr);
}

}  // namespace vellum
