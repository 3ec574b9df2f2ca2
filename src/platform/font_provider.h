// The installed fonts, through fontconfig: the list of faces, finding a face by the names games
// use (Windows face names are mapped onto installed CJK faces), and private font files that this
// process adds and removes. Names are UTF-8 here.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vellum {

struct InstalledFace {
  std::string family;  // the first family name fontconfig gives
  std::string file;
  int index = 0;
  bool outline = true;     // TrueType or OpenType outlines
  bool fixedPitch = false;
  bool japanese = false;   // covers the Japanese character set
};

struct FaceLocation {
  std::string file;
  int index = 0;
};

// Every installed face with outlines, in fontconfig's order, private files included.
std::vector<InstalledFace> installedFaces();

// The face a name means: an installed family of that name (case does not matter), or, for the
// Windows face names of the alias table, an installed CJK sans or serif face (serif falls back to
// sans). Nothing for a name that matches no face.
std::optional<FaceLocation> findInstalledFace(const std::string& name);

// The face fontconfig picks for the families, or for the language when none of them is installed
// (the engine's own dialogs draw their labels with it). Nothing without any font at all.
std::optional<FaceLocation> matchFace(const std::vector<std::string>& families, const std::string& language);
// A font file with Chinese glyphs, for the in-window interface; empty when the system has none.
std::string chineseFontFile();
// Registers a font file for this process only. False when fontconfig refuses it.
bool addPrivateFontFile(const std::string& path);
// Forgets every private font file.
void clearPrivateFontFiles();

}  // namespace vellum
