// The sprite commands that load, delete, commit and arrange sprites.
#include "scene/sprite_commands.h"

#include "base/clock.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "script/control_flow.h"
#include "script/script_state.h"
#include "scene/animation_tracks.h"
#include "scene/scene_messages.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_mask.h"
#include "scene/sprite_standing.h"
#include "scene/sprite_table.h"

namespace vellum {

namespace {

int32_t intArg(void* call, int i) { return args().getInt(call, i); }

int loadBody(void* call, const char* name, bool withClip) {
  setCurrentCommandName(name);
  const int32_t n = intArg(call, 1);
  if (!checkSpriteNumber(n)) return noResult(call);
  ClipRect clip;
  if (withClip) clip = {intArg(call, 5), intArg(call, 6), intArg(call, 7), intArg(call, 8)};
  loadSprite(n, stringArgument(call, 2), static_cast<uint32_t>(intArg(call, 3)), intArg(call, 4), clip);
  return noResult(call);
}

int spBody(void* call) { return loadBody(call, "sp", false); }
int spCutBody(void* call) { return loadBody(call, "sp_cut", true); }

int spStBody(void* call) {
  setCurrentCommandName("sp_st");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) {
    // A running cross-fade ends before the next picture comes.
    if (sprite(n).crossFade) endTracks(n, 1u << track::CrossFade);
    Sprite& s = sprite(n);
    const bool hadPicture = s.frontImage().picture.present();
    const std::string fromName = s.sourceName;
    const SourceKind fromKind = s.sourceKind;
    const int32_t fromW = s.standingW, fromH = s.standingH;
    const int32_t fade = intArg(call, 6);
    if (loadStandingSprite(n, stringArgument(call, 2), static_cast<uint32_t>(intArg(call, 3)), intArg(call, 4),
                           intArg(call, 5)) &&
        fade != 0 && hadPicture && scriptState().fastForwardMode == 0 &&
        startCrossFade(n, fade, intArg(call, 7), tickMilliseconds())) {
      s.fadeFromName = fromName;
      s.fadeFromKind = fromKind;
      s.fadeFromW = fromW;
      s.fadeFromH = fromH;
    }
  }
  return noResult(call);
}

int spgBody(void* call) {
  setCurrentCommandName("spg");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) makeCanvasSprite(n, intArg(call, 2), intArg(call, 3), static_cast<uint32_t>(intArg(call, 4)));
  return noResult(call);
}

int spMaskBody(void* call) {
  setCurrentCommandName("sp_mask");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n))
    maskSprite(n, stringArgument(call, 2), intArg(call, 3), intArg(call, 4), intArg(call, 5), intArg(call, 6),
               intArg(call, 7));
  return noResult(call);
}

int spReloadBody(void* call) {
  setCurrentCommandName("sp_reload");
  const int32_t n = intArg(call, 1);
  if (!checkSpriteNumber(n)) return noResult(call);
  Sprite& s = sprite(n);
  const SpriteImage& front = s.frontImage();
  if (!front.picture.present() || (s.pending & pending::kDelete) || s.textDrawing) return noResult(call);
  const std::string name = s.sourceName;
  switch (s.sourceKind) {
    case SourceKind::Picture:
      loadSprite(n, name, front.props.flags, front.picture.division, {s.clipX, s.clipY, s.clipW, s.clipH},
                 PictureSource::File);
      break;
    case SourceKind::Standing:
      loadStandingSprite(n, name, front.props.flags, s.standingW, s.standingH);
      break;
    default: break;  // canvases, kept and composed pictures have nothing to load from
  }
  return noResult(call);
}

int spDBody(void* call) {
  setCurrentCommandName("sp_d");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n) && sprite(n).inUse()) sprite(n).pending |= pending::kDelete;
  return noResult(call);
}

int spDxBody(void* call) {
  setCurrentCommandName("sp_dx");
  const int32_t first = intArg(call, 1), last = intArg(call, 2);
  if (!checkSpriteNumber(first) || !checkSpriteNumber(last)) return noResult(call);
  for (int32_t n = first; n <= last; ++n)
    if (sprite(n).inUse()) sprite(n).pending |= pending::kDelete;
  return noResult(call);
}

int spRefBody(void* call) {
  setCurrentCommandName("sp_ref");
  const int32_t n = intArg(call, 1);
  if (checkSpriteNumber(n)) commitSprite(n);
  return noResult(call);
}

int spExistBody(void* call) {
  setCurrentCommandName("sp_exist");
  const int32_t n = intArg(call, 1);
  int32_t state = 0;
  if (checkSpriteNumber(n) && sprite(n).inUse())
    state = ((sprite(n).pending & pending::kDelete) || sprite(n).textDrawing) ? 1 : 2;
  args().returnInt(call, 2, state);
  return 1;
}

int spOBody(void* call) {
  setCurrentCommandName("sp_o");
  const int32_t n = intArg(call, 1);
  if (!checkSpriteNumber(n)) return noResult(call);
  Sprite& s = sprite(n);
  if (!s.inUse()) {
    reportNoPicture(n);
  } else if (!s.listed) {
    reportNotListed(n);
  } else {
    s.order = intArg(call, 2);
    listSprite(n, s.listParent);
  }
  return noResult(call);
}

// True when `candidate` is n itself or drawn (directly or further down) into n.
bool withinSprite(int32_t candidate, int32_t n) {
  for (int32_t p = candidate, steps = 0; p > 0 && steps <= kSpriteCount; ++steps) {
    if (p == n) return true;
    const Sprite& s = sprite(p);
    if (!s.listed) return false;
    p = s.listParent;
  }
  return false;
}

int spGBody(void* call) {
  setCurrentCommandName("sp_g");
  const int32_t n = intArg(call, 1), parent = intArg(call, 2);
  if (!checkSpriteNumber(n) || !checkSpriteNumber(parent)) return noResult(call);
  Sprite& s = sprite(n);
  if (!s.inUse()) {
    reportNoPicture(n);
    return noResult(call);
  }
  if (parent != 0) {
    const Sprite& p = sprite(parent);
    if (!p.inUse()) {
      reportNoPicture(parent);
      return noResult(call);
    }
    if (withinSprite(parent, n)) {
      errorc(ReportText().number(n).ascii(scene_messages::kParentCycle).number(parent), true);
      return noResult(call);
    }
    const bool canvas = p.buffers[0].picture.canvas || p.buffers[1].picture.canvas;
    if (!canvas) {
      errorc(ReportText().number(parent).ascii(scene_messages::kParentNotCanvas), true);
      return noResult(call);
    }
  }
  if (!s.listed) {
    reportNotListed(n);
    return noResult(call);
  }
  for (SpriteImage& b : s.buffers) {
    b.props.parent = parent;
    b.dirty = true;
  }
  listSprite(n, parent);
  return noResult(call);
}

int setPositionBody(void* call) {
  setCurrentCommandName("setPosition");
  (void)intArg(call, 1);
  return noResult(call);
}

}  // namespace

void provideSpriteCommands() {
  provideCommand("setPosition", &setPositionBody);
  provideCommand("sp", &spBody);
  provideCommand("sp_cut", &spCutBody);
  provideCommand("sp_st", &spStBody);
  provideCommand("sp_mask", &spMaskBody);
  provideCommand("spg", &spgBody);
  provideCommand("sp_g", &spGBody);
  provideCommand("sp_d", &spDBody);
  provideCommand("sp_dx", &spDxBody);
  provideCommand("sp_o", &spOBody);
  provideCommand("sp_ref", &spRefBody);
  provideCommand("sp_exist", &spExistBody);
  provideCommand("sp_reload", &spReloadBody);
  provideSpritePropertyCommands();
  // What fast-forward left pending (a track that deleted its sprite, ...) shows once it ends.
  addFastForwardEndHook(&commitAllSprites);
}

}  // namespace vellum
