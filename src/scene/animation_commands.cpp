// sp_a* tracks, the sp_ae* family that ends them, sp_alv, and the sprite shakes sp_qx / sp_qy.
#include "scene/animation_commands.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "base/clock.h"
#include "base/engine_state.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "scene/animation_tracks.h"
#include "scene/animation_update.h"
#include "scene/button_table.h"
#include "scene/sprite_shakes.h"
#include "scene/sprite_table.h"

namespace vellum {

namespace {

int32_t intArg(void* call, int i) { return args().getInt(call, i); }

// One value argument of a command: the track kind, where it is, and how it is reduced.
struct ValueArg {
  int kind;
  int index;
  int32_t (*reduce)(int32_t);
};

int32_t same(int32_t v) { return v; }
int32_t negated(int32_t v) { return -v; }
int32_t lowByte(int32_t v) { return v & 0xFF; }
int32_t rgb(int32_t v) { return v & 0xFFFFFF; }
int32_t maskProgress(int32_t v) { return v & 0x3FF; }

// A track command: n, the values, then time, easing and mode word. Every track is checked before
// any starts, so a bad call changes nothing.
int startTracks(void* call, const char* name, std::initializer_list<ValueArg> values, bool followButton,
                int32_t extra = 0) {
  setCurrentCommandName(name);
  const int32_t n = intArg(call, 1);
  int tail = 2;
  for (const ValueArg& v : values) tail = std::max(tail, v.index + 1);
  if (checkAnimatedSprite(n)) {
    const uint32_t now = tickMilliseconds();
    TrackRequest r;
    r.duration = intArg(call, tail);
    r.easing = intArg(call, tail + 1);
    r.modeWord = static_cast<uint32_t>(intArg(call, tail + 2));
    r.extra = extra;
    if (checkTrackRequest(n, r)) {
      for (const ValueArg& v : values) {
        r.kind = v.kind;
        r.to = v.reduce(intArg(call, v.index));
        startTrack(n, r, now);
      }
      if (followButton) followSpriteButton(n);
    }
  }
  args().returnNothing(call);
  return 1;
}

int spAxBody(void* c) { return startTracks(c, "sp_ax", {{track::X, 2, same}}, true); }
int spAyBody(void* c) { return startTracks(c, "sp_ay", {{track::Y, 2, same}}, true); }
int spAxyBody(void* c) { return startTracks(c, "sp_axy", {{track::X, 2, same}, {track::Y, 3, same}}, true); }
int spAaBody(void* c) { return startTracks(c, "sp_aa", {{track::Alpha, 2, lowByte}}, false); }
int spAxyaBody(void* c) {
  return startTracks(c, "sp_axya", {{track::X, 2, same}, {track::Y, 3, same}, {track::Alpha, 4, lowByte}}, false);
}
int spAwBody(void* c) { return startTracks(c, "sp_aw", {{track::ScaleW, 2, same}}, false); }
int spAhBody(void* c) { return startTracks(c, "sp_ah", {{track::ScaleH, 2, same}}, false); }
int spAwhBody(void* c) { return startTracks(c, "sp_awh", {{track::ScaleW, 2, same}, {track::ScaleH, 3, same}}, false); }
int spArxBody(void* c) { return startTracks(c, "sp_arx", {{track::RotX, 2, same}}, false); }
int spAryBody(void* c) { return startTracks(c, "sp_ary", {{track::RotY, 2, same}}, false); }
int spArzBody(void* c) { return startTracks(c, "sp_arz", {{track::RotZ, 2, negated}}, false); }
int spArxyzBody(void* c) {
  return startTracks(c, "sp_arxyz", {{track::RotX, 2, same}, {track::RotY, 3, same}, {track::RotZ, 4, negated}}, false);
}
int spAlBody(void* c) { return startTracks(c, "sp_al", {{track::Cell, 2, lowByte}}, false); }
int spAcBody(void* c) { return startTracks(c, "sp_ac", {{track::Colour, 2, rgb}}, false); }
// sp_am n, softness, progress, time, easing, mode.
int spAmBody(void* c) {
  return startTracks(c, "sp_am", {{track::Mask, 3, maskProgress}}, false, intArg(c, 2) & 0xFF);
}

int endBody(void* call, const char* name, uint32_t kinds) {
  setCurrentCommandName(name);
  const int32_t n = intArg(call, 1);
  if (checkAnimatedSprite(n)) endTracks(n, kinds);
  args().returnNothing(call);
  return 1;
}

constexpr uint32_t bit(int kind) { return 1u << kind; }

#define VELLUM_END(body, command, kinds) \
  int body(void* c) { return endBody(c, command, kinds); }
VELLUM_END(spAeBody, "sp_ae", track::kAll)
VELLUM_END(spAexBody, "sp_aex", bit(track::X))
VELLUM_END(spAeyBody, "sp_aey", bit(track::Y))
VELLUM_END(spAexyBody, "sp_aexy", bit(track::X) | bit(track::Y))
VELLUM_END(spAewBody, "sp_aew", bit(track::ScaleW))
VELLUM_END(spAehBody, "sp_aeh", bit(track::ScaleH))
VELLUM_END(spAewhBody, "sp_aewh", bit(track::ScaleW) | bit(track::ScaleH))
VELLUM_END(spAerxBody, "sp_aerx", bit(track::RotX))
VELLUM_END(spAeryBody, "sp_aery", bit(track::RotY))
VELLUM_END(spAerzBody, "sp_aerz", bit(track::RotZ))
VELLUM_END(spAerxyzBody, "sp_aerxyz", bit(track::RotX) | bit(track::RotY) | bit(track::RotZ))
VELLUM_END(spAeaBody, "sp_aea", bit(track::Alpha))
VELLUM_END(spAelBody, "sp_ael", bit(track::Cell))
VELLUM_END(spAecBody, "sp_aec", bit(track::Colour))
VELLUM_END(spAemBody, "sp_aem", bit(track::Mask))
VELLUM_END(spAesBody, "sp_aes", bit(track::CrossFade))
#undef VELLUM_END

// sp_alv first, last -> presence bits.
int spAlvBody(void* call) {
  setCurrentCommandName("sp_alv");
  args().returnInt(call, 3, static_cast<int32_t>(animationPresence(intArg(call, 1), intArg(call, 2))));
  return 1;
}

// sp_qx / sp_qy n, amplitude, period, count, easing, type, delay.
int shakeBody(void* call, const char* name, bool yAxis) {
  setCurrentCommandName(name);
  const int32_t n = intArg(call, 1);
  if (checkAnimatedSprite(n)) {
    const ShakeRequest r{intArg(call, 2), intArg(call, 3), intArg(call, 4), intArg(call, 5), intArg(call, 6),
                         intArg(call, 7)};
    shakeSprite(n, yAxis, r, tickMilliseconds());
  }
  args().returnNothing(call);
  return 1;
}
int spQxBody(void* c) { return shakeBody(c, "sp_qx", false); }
int spQyBody(void* c) { return shakeBody(c, "sp_qy", true); }

}  // namespace

void provideAnimationCommands() {
  const std::pair<const char*, int (*)(void*)> commands[] = {
      {"sp_ax", &spAxBody},       {"sp_ay", &spAyBody},       {"sp_axy", &spAxyBody},     {"sp_aa", &spAaBody},
      {"sp_axya", &spAxyaBody},   {"sp_aw", &spAwBody},       {"sp_ah", &spAhBody},       {"sp_awh", &spAwhBody},
      {"sp_arx", &spArxBody},     {"sp_ary", &spAryBody},     {"sp_arz", &spArzBody},     {"sp_arxyz", &spArxyzBody},
      {"sp_al", &spAlBody},       {"sp_ac", &spAcBody},       {"sp_am", &spAmBody},       {"sp_ae", &spAeBody},
      {"sp_aex", &spAexBody},     {"sp_aey", &spAeyBody},     {"sp_aexy", &spAexyBody},   {"sp_aew", &spAewBody},
      {"sp_aeh", &spAehBody},     {"sp_aewh", &spAewhBody},   {"sp_aerx", &spAerxBody},   {"sp_aery", &spAeryBody},
      {"sp_aerz", &spAerzBody},   {"sp_aerxyz", &spAerxyzBody}, {"sp_aea", &spAeaBody},   {"sp_ael", &spAelBody},
      {"sp_aec", &spAecBody},     {"sp_aem", &spAemBody},     {"sp_aes", &spAesBody},     {"sp_alv", &spAlvBody},
      {"sp_qx", &spQxBody},       {"sp_qy", &spQyBody},
  };
  for (const auto& [name, body] : commands) provideCommand(name, body);
}

}  // namespace vellum
