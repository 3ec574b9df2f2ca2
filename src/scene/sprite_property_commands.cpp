// The sprite commands that set and read drawing properties, and the load-effect commands.
#include <cmath>
#include <string>

#include "base/engine_state.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "scene/button_table.h"
#include "scene/picture_cache.h"
#include "scene/sprite_commands.h"
#include "scene/sprite_table.h"

namespace vellum {

namespace {

int32_t intArg(void* call, int i) { return args().getInt(call, i); }
float floatArg(void* call, int i) { return args().getFloat(call, i); }

// Every property setter: the value into the back buffer (and the front when the sprite is live),
// then the pending flag and the dirty mark.
template <typename Apply>
int setProperty(void* call, const char* name, Apply apply) {
  setCurrentCommandName(name);
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) {
    Sprite& s = sprite(n);
    if (!s.inUse()) {
      reportNoPicture(n);
    } else {
      apply(s.backImage().props);
      s.backImage().dirty = true;
      if (s.pending & pending::kLive) {
        apply(s.frontImage().props);
        s.frontImage().dirty = true;
      }
      s.pending |= pending::kProperties;
    }
  }
  args().returnNothing(call);
  return 1;
}

#define VELLUM_SETTER(body_name, command, statement)                        \
  int body_name(void* call) {                                               \
    return setProperty(call, command, [call](SpriteProperties& p) { statement; }); \
  }

// A sprite that is a button takes its rectangle along when it moves.
int movedButton(int result, void* call) {
  followSpriteButton(intArg(call, 1));
  return result;
}
int spXBody(void* call) { return movedButton(setProperty(call, "sp_x", [call](SpriteProperties& p) { p.x = floatArg(call, 2); }), call); }
int spYBody(void* call) { return movedButton(setProperty(call, "sp_y", [call](SpriteProperties& p) { p.y = floatArg(call, 2); }), call); }
int spXyBody(void* call) {
  return movedButton(setProperty(call, "sp_xy", [call](SpriteProperties& p) {
    p.x = floatArg(call, 2);
    p.y = floatArg(call, 3);
  }), call);
}
VELLUM_SETTER(spWBody, "sp_w", p.scaleW = floatArg(call, 2))
VELLUM_SETTER(spHBody, "sp_h", p.scaleH = floatArg(call, 2))
VELLUM_SETTER(spWhBody, "sp_wh", (p.scaleW = floatArg(call, 2), p.scaleH = floatArg(call, 3)))
VELLUM_SETTER(spRxBody, "sp_rx", p.rotX = floatArg(call, 2))
VELLUM_SETTER(spRyBody, "sp_ry", p.rotY = floatArg(call, 2))
VELLUM_SETTER(spRzBody, "sp_rz", p.rotZ = -floatArg(call, 2))
VELLUM_SETTER(spRxyzBody, "sp_rxyz",
              (p.rotX = floatArg(call, 2), p.rotY = floatArg(call, 3), p.rotZ = -floatArg(call, 4)))
VELLUM_SETTER(spABody, "sp_a", p.alpha = intArg(call, 2) & 0xFF)
VELLUM_SETTER(spBBody, "sp_b", p.blend = intArg(call, 2))
VELLUM_SETTER(spCBody, "sp_c",
              (p.colourOp = static_cast<uint32_t>(intArg(call, 2)),
               p.colour = static_cast<uint32_t>(args().getInt64(call, 3))))
VELLUM_SETTER(spLBody, "sp_l", p.cell = intArg(call, 2))
VELLUM_SETTER(spCxyBody, "sp_cxy", (p.anchorX = intArg(call, 2), p.anchorY = intArg(call, 3)))

#undef VELLUM_SETTER

// A load effect: stored for the next load, whether or not a picture is there.
template <typename Value>
int setLoadEffect(void* call, const char* name, LoadEffect effect, Value value) {
  setCurrentCommandName(name);
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) sprite(n).loadEffects[static_cast<size_t>(effect)] = value(call);
  args().returnNothing(call);
  return 1;
}

int32_t bytes3(void* call) {
  return ((intArg(call, 2) & 0xFF) << 16) | ((intArg(call, 3) & 0xFF) << 8) | (intArg(call, 4) & 0xFF);
}
int32_t highLow(void* call) { return static_cast<int32_t>((static_cast<uint32_t>(intArg(call, 2)) << 16) | (intArg(call, 3) & 0xFFFF)); }

int spNegBody(void* call) { return setLoadEffect(call, "sp_neg", kNegative, [](void* c) { return intArg(c, 2); }); }
int spGrayBody(void* call) { return setLoadEffect(call, "sp_gray", kGreyscale, [](void* c) { return intArg(c, 2); }); }
int spRotBody(void* call) { return setLoadEffect(call, "sp_rot", kRotate, [](void* c) { return intArg(c, 2); }); }
int spBcBody(void* call) {
  return setLoadEffect(call, "sp_bc", kBrightness,
                       [](void* c) { return ((intArg(c, 2) & 0xFF) << 8) | (intArg(c, 3) & 0xFF); });
}
int spColorBody(void* call) { return setLoadEffect(call, "sp_color", kColour, &bytes3); }
int spHslBody(void* call) {
  return setLoadEffect(call, "sp_hsl", kHsl, [](void* c) {
    return static_cast<int32_t>((static_cast<uint32_t>(intArg(c, 2)) << 16) | ((intArg(c, 3) & 0xFF) << 8) |
                                (intArg(c, 4) & 0xFF));
  });
}
int spBlurBody(void* call) { return setLoadEffect(call, "sp_blur", kBlur, &highLow); }
int spMosaicBody(void* call) { return setLoadEffect(call, "sp_mosaic", kMosaic, &highLow); }

// Getters read the newest state: the back buffer's properties, and its picture when one waits
// there.
template <typename Read>
int getProperty(void* call, const char* name, int firstOut, int results, Read read) {
  setCurrentCommandName(name);
  const int32_t n = intArg(call, 1);
  int32_t values[2] = {0, 0};
  if (checkSpriteNumber(n)) {
    Sprite& s = sprite(n);
    if (!s.inUse()) {
      reportNoPicture(n);
    } else {
      const SpritePicture& picture =
          s.backImage().picture.present() ? s.backImage().picture : s.frontImage().picture;
      read(s, s.backImage().props, picture, call, values);
    }
  }
  for (int i = 0; i < results; ++i) args().returnInt(call, firstOut + i, values[i]);
  return results;
}

int spGaBody(void* call) {
  return getProperty(call, "sp_ga", 2, 1, [](Sprite&, const SpriteProperties& p, const SpritePicture&, void*, int32_t* v) {
    v[0] = p.alpha;
  });
}
int spGwhBody(void* call) {
  return getProperty(call, "sp_gwh", 2, 2, [](Sprite&, const SpriteProperties& p, const SpritePicture&, void*, int32_t* v) {
    v[0] = static_cast<int32_t>(p.scaleW);
    v[1] = static_cast<int32_t>(p.scaleH);
  });
}
int spGixyBody(void* call) {
  return getProperty(call, "sp_gixy", 2, 2, [](Sprite&, const SpriteProperties&, const SpritePicture& pic, void*, int32_t* v) {
    v[0] = pic.left;
    v[1] = pic.top;
  });
}
int spGiwhBody(void* call) {
  return getProperty(call, "sp_giwh", 2, 2, [](Sprite&, const SpriteProperties&, const SpritePicture& pic, void*, int32_t* v) {
    v[0] = pic.width;
    v[1] = pic.height;
  });
}
int spGszBody(void* call) {
  return getProperty(call, "sp_gsz", 2, 2, [](Sprite&, const SpriteProperties&, const SpritePicture& pic, void*, int32_t* v) {
    v[0] = baseScreenLength(pic.cellW, pic.scaleKind);
    v[1] = baseScreenLength(pic.cellH, pic.scaleKind);
  });
}
int spGclBody(void* call) {
  return getProperty(call, "sp_gcl", 2, 1, [](Sprite&, const SpriteProperties&, const SpritePicture& pic, void*, int32_t* v) {
    v[0] = pic.division;
  });
}
int spGoBody(void* call) {
  return getProperty(call, "sp_go", 2, 1, [](Sprite& s, const SpriteProperties&, const SpritePicture&, void*, int32_t* v) {
    v[0] = s.order;
  });
}
// sp_gxy n, anchor x, anchor y: where that point of the cell is.
int spGxyBody(void* call) {
  return getProperty(call, "sp_gxy", 4, 2, [](Sprite&, const SpriteProperties& p, const SpritePicture& pic, void* c, int32_t* v) {
    const float x = p.x + static_cast<float>((intArg(c, 2) - p.anchorX) * baseScreenLength(pic.cellW, pic.scaleKind)) / 2;
    const float y = p.y + static_cast<float>((intArg(c, 3) - p.anchorY) * baseScreenLength(pic.cellH, pic.scaleKind)) / 2;
    v[0] = static_cast<int32_t>(std::lround(x));
    v[1] = static_cast<int32_t>(std::lround(y));
  });
}

int spGnBody(void* call) {
  setCurrentCommandName("sp_gn");
  const int32_t n = intArg(call, 1);
  std::string name;
  if (checkSpriteNumber(n)) {
    if (sprite(n).inUse()) name = sprite(n).sourceName;
    else reportNoPicture(n);
  }
  args().returnBytes(call, 2, name.data(), name.size());
  return 1;
}

}  // namespace

void provideSpritePropertyCommands() {
  provideCommand("sp_b", &spBBody);
  provideCommand("sp_cxy", &spCxyBody);
  provideCommand("sp_x", &spXBody);
  provideCommand("sp_y", &spYBody);
  provideCommand("sp_xy", &spXyBody);
  provideCommand("sp_a", &spABody);
  provideCommand("sp_w", &spWBody);
  provideCommand("sp_h", &spHBody);
  provideCommand("sp_wh", &spWhBody);
  provideCommand("sp_rx", &spRxBody);
  provideCommand("sp_ry", &spRyBody);
  provideCommand("sp_rz", &spRzBody);
  provideCommand("sp_rxyz", &spRxyzBody);
  provideCommand("sp_l", &spLBody);
  provideCommand("sp_c", &spCBody);
  provideCommand("sp_gixy", &spGixyBody);
  provideCommand("sp_giwh", &spGiwhBody);
  provideCommand("sp_gsz", &spGszBody);
  provideCommand("sp_gxy", &spGxyBody);
  provideCommand("sp_ga", &spGaBody);
  provideCommand("sp_gwh", &spGwhBody);
  provideCommand("sp_go", &spGoBody);
  provideCommand("sp_gcl", &spGclBody);
  provideCommand("sp_gn", &spGnBody);
  provideCommand("sp_neg", &spNegBody);
  provideCommand("sp_gray", &spGrayBody);
  provideCommand("sp_rot", &spRotBody);
  provideCommand("sp_bc", &spBcBody);
  provideCommand("sp_color", &spColorBody);
  provideCommand("sp_hsl", &spHslBody);
  provideCommand("sp_blur", &spBlurBody);
  provideCommand("sp_mosaic", &spMosaicBody);
}

}  // namespace vellum
