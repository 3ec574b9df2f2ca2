// The font commands: private font files, the message font, style and colours, and the list of
// installed faces.
#include <algorithm>
#include <string>
#include <vector>

#include "base/engine_state.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "persist/engine_settings.h"
#include "platform/font_provider.h"
#include "text/cstring.h"
#include "text/message_window.h"

namespace vellum {

namespace {

std::vector<std::string> fontList;  // GBK face names

bool hasSecond(void* call) { return args().count[0](call) >= 2; }

// Applies the message font, style and colours to the body and ruby text.
void applyToMessageText() {
  const EngineSettings& s = settings();
  const int size = scaledFontSize();
  if (mainText().size != 0) mainText().SetFont(s.currentFontName, size, s.liveFontStyle);
  if (rubyText().size != 0) rubyText().SetFont(s.currentFontName, size / 2, s.liveFontStyle & 15);
}

int addFontFileBody(void* call) {
  setCurrentCommandName("addFontFile");
  const std::string name = stringArgument(call, 1);
  std::string path = gamePathToFileSystem(name);
  if (name.find(':') == std::string::npos && (path.empty() || path[0] != '/'))
    path = gamePathToFileSystem(engine().exeDirectory + name);
  if (!addPrivateFontFile(path)) {
    errorc(ReportText().ascii("AddFontResourceEx ").gbk(name), true);
    return noResult(call);
  }
  mainText().recordAddedFont(name);
  return noResult(call);
}

int setFontFileBody(void* call) {
  setCurrentCommandName("setFontFile");
  EngineSettings& s = settings();
  const std::string current = stringArgument(call, 1);
  const std::string stored = hasSecond(call) ? stringArgument(call, 2) : std::string();
  s.currentFontName = current.empty() ? s.fontFile : current;
  if (!stored.empty()) s.fontFile = stored;
  // Before setMessCreate the name is only kept; the window opens it when it is made.
  if (messageWindow().created) {
    const int size = scaledFontSize();
    mainText().SetFont(s.currentFontName, size, s.liveFontStyle);
    rubyText().SetFont(s.currentFontName, size / 2, s.liveFontStyle & 15);
  }
  return noResult(call);
}

int setFontStyleBody(void* call) {
  setCurrentCommandName("setFontStyle");
  EngineSettings& s = settings();
  const int32_t current = args().getInt(call, 1);
  s.liveFontStyle = current < 0 ? s.fontStyle : current;
  if (hasSecond(call) && args().getInt(call, 2) >= 0) s.fontStyle = args().getInt(call, 2);
  applyToMessageText();
  return noResult(call);
}

template <int Which>
int setFontColourBody(void* call) {
  static constexpr const char* kNames[] = {"setFontColor", "setFontColor2", "setFontColor3"};
  setCurrentCommandName(kNames[Which]);
  EngineSettings& s = settings();
  uint32_t* live[] = {&s.liveFontColor1, &s.liveFontColor2, &s.liveFontColor3};
  uint32_t* stored[] = {&s.fontColor1, &s.fontColor2, &s.fontColor3};
  const int32_t current = args().getInt(call, 1);
  *live[Which] = current < 0 ? *stored[Which] : static_cast<uint32_t>(current);
  if (hasSecond(call) && args().getInt(call, 2) >= 0) *stored[Which] = static_cast<uint32_t>(args().getInt(call, 2));
  for (CString* t : {&mainText(), &rubyText()}) t->SetColors(s.liveFontColor1, s.liveFontColor2, s.liveFontColor3);
  return noResult(call);
}

bool keptInList(const InstalledFace& face, int filter) {
  if (!face.outline || !face.japanese || face.family.empty()) return false;
  const auto first = static_cast<unsigned char>(face.family[0]);
  const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
  const bool wide = first >= 0x80;
  const bool vertical = first == '@' && !(filter & 1);
  if (!letter && !wide && !vertical) return false;
  return !(filter & 2) || face.fixedPitch;
}

int getFontListNumBody(void* call) {
  setCurrentCommandName("getFontListNum");
  const int filter = args().getInt(call, 1);
  fontList.clear();
  for (const InstalledFace& face : installedFaces()) {
    if (!keptInList(face, filter)) continue;
    const std::string name = fromUtf8(face.family, CodePage::Gbk);
    if (std::find(fontList.begin(), fontList.end(), name) == fontList.end()) fontList.push_back(name);
  }
  args().returnInt(call, args().count[1](call), static_cast<int32_t>(fontList.size()));
  return 1;
}

int getFontListStrBody(void* call) {
  setCurrentCommandName("getFontListStr");
  const int index = args().getInt(call, 1);
  // An index outside the list gives an empty name.
  const std::string name = index >= 0 && index < static_cast<int>(fontList.size()) ? fontList[static_cast<size_t>(index)] : "";
  args().returnBytes(call, args().count[1](call), name.data(), name.size());
  return 1;
}

}  // namespace

void provideFontCommands() {
  provideCommand("addFontFile", &addFontFileBody);
  provideCommand("setFontFile", &setFontFileBody);
  provideCommand("setFontStyle", &setFontStyleBody);
  provideCommand("setFontColor", &setFontColourBody<0>);
  provideCommand("setFontColor2", &setFontColourBody<1>);
  provideCommand("setFontColor3", &setFontColourBody<2>);
  provideCommand("getFontListNum", &getFontListNumBody);
  provideCommand("getFontListStr", &getFontListStrBody);
}

void resetFontList() { fontList.clear(); }

}  // namespace vellum
