#include "text/message_save_lines.h"

#include "persist/engine_settings.h"
#include "text/backlog.h"
#include "text/cstring.h"
#include "text/message_window.h"

namespace vellum {

namespace {

// A speed, wait, style or colour equal to the stored setting is written as this: the restored
// game keeps whatever the player set since.
constexpr int32_t kSameSpeed = 65536;
constexpr uint32_t kSameValue = 0x1000000;

// The reserved "Window" value: no command sets it, a loaded save may.
int32_t& reservedWindowValue() {
  static int32_t value = 0;
  return value;
}

std::string n(int64_t v) { return std::to_string(v); }

}  // namespace

void writeMessageSaveLines(std::string& out) {
  const EngineSettings& st = settings();
  const MessageWindow& w = messageWindow();
  const BacklogState& log = backlog();
  const int32_t speed = st.liveTextSpeed == st.textSpeed ? kSameSpeed : st.liveTextSpeed;
  const int32_t autoWait = st.liveAutoWait == st.autoWait ? kSameSpeed : st.liveAutoWait;
  out += "Massage=" + n(speed) + "," + n(autoWait) + "," + n(w.lineEndWait) + "," + n(w.blankLineWait) + "," +
         n(w.quoteIndent) + "," + n(w.paragraphIndent) + "," + n(log.index) + "," + n(log.count) + "," +
         n(log.savePushDepth) + "\n";
  auto same = [](uint32_t live, uint32_t stored) { return hexText(live == stored ? kSameValue : live); };
  const CString& sprite = spriteText();
  out += "Font=" + SaveBlock::field(st.currentFontName == st.fontFile ? std::string() : st.currentFontName) + "," +
         hexText(kSameValue) + "," + same(st.liveFontColor1, st.fontColor1) + "," +
         same(st.liveFontColor2, st.fontColor2) + "," + same(st.liveFontColor3, st.fontColor3) + "," +
         SaveBlock::field(sprite.fontName) + "," + hexText(static_cast<uint32_t>(sprite.style())) + "," +
         hexText(sprite.rasteriser().colour(0)) + "," + hexText(sprite.rasteriser().colour(1)) + "," +
         hexText(sprite.rasteriser().colour(2)) + "," + n(sprite.size) + "\n";
  out += "Window=" + n(w.x) + "," + n(w.y) + "," + n(reservedWindowValue()) + "," + n(w.fontSize) + "," + n(w.rubyGap) +
         "," + n(w.letterSpacing) + "," + n(w.lineHeight) + "," + n(w.columns) + "," + n(w.rows) + "," + n(w.log[2]) +
         "," + n(w.log[3]) + "," + n(w.log[4]) + "," + n(w.log[5]) + "," + n(w.log[0]) + "," + n(w.log[1]) + "\n";
  // Written only when on, so games in the fixed layout save exactly as before.
  if (w.proportional) out += "Proportional=1\n";
}

bool readMessageSaveLines(const SaveBlock& block, MessageSaveRecord& r) {
  r = {};
  if (const auto* pieces = block.find("Massage")) {
    SaveLineReader in(block, *pieces);
    for (int32_t& v : r.massage) v = in.int32();
    const int32_t index = r.massage[6], count = r.massage[7];
    if (!in.ok || index < 0 || index >= kBacklogEntries || count < 1 || count > kBacklogEntries ||
        r.massage[8] < 0 || r.massage[8] > 0xFFFF)
      return reportBrokenSave("Massage");
    r.haveMassage = true;
  }
  if (const auto* pieces = block.find("Font")) {
    SaveLineReader in(block, *pieces);
    r.fontName = in.text();
    r.fontStyle = in.hex(), r.colour1 = in.hex(), r.colour2 = in.hex(), r.colour3 = in.hex();
    r.spriteFontName = in.text();
    r.spriteStyle = in.hex(), r.spriteColour1 = in.hex(), r.spriteColour2 = in.hex(), r.spriteColour3 = in.hex();
    r.spriteSize = in.int32();
    if (!in.ok || r.spriteSize < 0 || r.spriteSize > 4096) return reportBrokenSave("Font");
    r.haveFont = true;
  }
  if (const auto* pieces = block.find("Window")) {
    SaveLineReader in(block, *pieces);
    for (int32_t& v : r.window) v = in.int32();
    // Sizes a window can have: the layout divides by them and allocates rows of them.
    for (size_t i = 3; i <= 8; ++i)
      if (r.window[i] < 0 || r.window[i] > 4096) in.ok = false;
    if (!in.ok) return reportBrokenSave("Window");
    r.haveWindow = true;
  }
  if (const auto* pieces = block.find("Proportional")) {
    SaveLineReader in(block, *pieces);
    r.proportional = in.int32() != 0;
    if (!in.ok) return reportBrokenSave("Proportional");
  }
  return true;
}

void applyMessageSaveLines(const MessageSaveRecord& r) {
  EngineSettings& st = settings();
  MessageWindow& w = messageWindow();
  BacklogState& log = backlog();
  if (r.haveMassage) {
    if (r.massage[0] != kSameSpeed) st.liveTextSpeed = r.massage[0];
    if (r.massage[1] != kSameSpeed) st.liveAutoWait = r.massage[1];
    w.lineEndWait = r.massage[2], w.blankLineWait = r.massage[3];
    w.quoteIndent = r.massage[4], w.paragraphIndent = r.massage[5];
    log.index = r.massage[6];
    log.count = r.massage[7];
    log.savePushDepth = static_cast<uint16_t>(r.massage[8]);
    log.saveFlag = 1;
  }
  bool fontsChanged = false;
  if (r.haveFont) {
    if (!r.fontName.empty()) st.currentFontName = r.fontName;
    if (r.colour1 != kSameValue) st.liveFontColor1 = r.colour1;
    if (r.colour2 != kSameValue) st.liveFontColor2 = r.colour2;
    if (r.colour3 != kSameValue) st.liveFontColor3 = r.colour3;
    st.liveFontStyle = st.fontStyle;
    if (!r.spriteFontName.empty()) {
      spriteText().SetFont(r.spriteFontName, r.spriteSize, static_cast<int>(r.spriteStyle));
      spriteRubyText().SetFont(r.spriteFontName, r.spriteSize / 2, static_cast<int>(r.spriteStyle));
      for (CString* t : {&spriteText(), &spriteRubyText()})
        t->SetColors(r.spriteColour1, r.spriteColour2, r.spriteColour3);
    }
    fontsChanged = true;
  }
  if (r.haveWindow) {
    w.x = r.window[0], w.y = r.window[1];
    for (CString* t : {&mainText(), &rubyText()}) {
      t->originX = w.x;
      t->originY = w.y;
    }
    reservedWindowValue() = r.window[2];
    w.fontSize = r.window[3], w.rubyGap = r.window[4], w.letterSpacing = r.window[5];
    w.lineHeight = r.window[6], w.columns = r.window[7], w.rows = r.window[8];
    w.log[2] = r.window[9], w.log[3] = r.window[10], w.log[4] = r.window[11], w.log[5] = r.window[12];
    w.log[0] = r.window[13], w.log[1] = r.window[14];
    // A save without the line was made in the fixed layout.
    w.proportional = r.proportional;
    fontsChanged = true;
  }
  if (fontsChanged && w.created) applyMessageFonts();
}

}  // namespace vellum
