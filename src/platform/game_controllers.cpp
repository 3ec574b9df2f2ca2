#include "platform/game_controllers.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vellum {

namespace {

struct OpenPad {
  SDL_GameController* controller = nullptr;
  SDL_JoystickID id = -1;
  PadKind kind = PadKind::Standard;
  int32_t stick[2][2] = {{0, 0}, {0, 0}};  // [left/right][x/y]
  bool trigger[2] = {false, false};
};

struct ControllerState {
  bool started = false;
  std::vector<OpenPad> pads;
};

ControllerState& controllers() {
  static ControllerState state;
  return state;
}

// A trigger presses past half its travel and lets go below a quarter, so that a finger resting
// near the middle does not chatter.
constexpr int32_t kTriggerPress = 16384, kTriggerRelease = 8192;

static_assert(static_cast<int>(PadButton::Touchpad) == SDL_CONTROLLER_BUTTON_TOUCHPAD,
              "pad buttons follow SDL's order up to the touchpad");

// Handheld PCs: their built-in pad, or Steam's own marker on the Steam Deck.
bool isHandheld(SDL_GameController* controller) {
  const char* deck = std::getenv("SteamDeck");
  if (deck && std::strcmp(deck, "1") == 0) return true;
  const Uint16 vendor = SDL_GameControllerGetVendor(controller);
  const Uint16 product = SDL_GameControllerGetProduct(controller);
  return (vendor == 0x28DE && product == 0x1205)     // Steam Deck
         || (vendor == 0x0B05 && product == 0x1ABE);  // ROG Ally
}

PadKind kindOf(SDL_GameController* controller) {
  if (isHandheld(controller)) return PadKind::Handheld;
  switch (SDL_GameControllerGetType(controller)) {
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
#if SDL_VERSION_ATLEAST(2, 24, 0)
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
#endif
      return PadKind::Nintendo;
    default: return PadKind::Standard;
  }
}

OpenPad* findPad(SDL_JoystickID id) {
  for (OpenPad& pad : controllers().pads)
    if (pad.id == id) return &pad;
  return nullptr;
}

bool connect(int deviceIndex, WindowMessage& m) {
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) return false;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  // SDL opens a pad once per process; a second event for it (found at start and then added) is news to no one.
  if (findPad(id)) {
    SDL_GameControllerClose(controller);
    return false;
  }
  OpenPad pad;
  pad.controller = controller;
  pad.id = id;
  pad.kind = kindOf(controller);
  controllers().pads.push_back(pad);
  m.kind = MessageKind::PadConnected;
  m.padKind = pad.kind;
  return true;
}

bool disconnect(SDL_JoystickID id, WindowMessage& m) {
  auto& pads = controllers().pads;
  const auto found = std::find_if(pads.begin(), pads.end(), [id](const OpenPad& p) { return p.id == id; });
  if (found == pads.end()) return false;
  m.kind = MessageKind::PadDisconnected;
  m.padKind = found->kind;
  SDL_GameControllerClose(found->controller);
  pads.erase(found);
  return true;
}

bool button(const SDL_ControllerButtonEvent& e, bool down, WindowMessage& m) {
  const OpenPad* pad = findPad(e.which);
  if (!pad || e.button >= SDL_CONTROLLER_BUTTON_MAX) return false;
  m.kind = down ? MessageKind::PadButtonDown : MessageKind::PadButtonUp;
  m.padButton = static_cast<PadButton>(e.button);
  m.padKind = pad->kind;
  return true;
}

bool axis(const SDL_ControllerAxisEvent& e, WindowMessage& m) {
  OpenPad* pad = findPad(e.which);
  if (!pad) return false;
  m.padKind = pad->kind;
  if (e.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || e.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
    const int side = e.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT ? 0 : 1;
    const bool down = pad->trigger[side] ? e.value >= kTriggerRelease : e.value >= kTriggerPress;
    if (down == pad->trigger[side]) return false;
    pad->trigger[side] = down;
    m.kind = down ? MessageKind::PadButtonDown : MessageKind::PadButtonUp;
    m.padButton = side == 0 ? PadButton::LeftTrigger : PadButton::RightTrigger;
    return true;
  }
  int stick = 0, direction = 0;
  switch (e.axis) {
    case SDL_CONTROLLER_AXIS_LEFTX: break;
    case SDL_CONTROLLER_AXIS_LEFTY: direction = 1; break;
    case SDL_CONTROLLER_AXIS_RIGHTX: stick = 1; break;
    case SDL_CONTROLLER_AXIS_RIGHTY:
      stick = 1;
      direction = 1;
      break;
    default: return false;
  }
  pad->stick[stick][direction] = e.value;
  m.kind = MessageKind::PadStick;
  m.padStick = stick == 0 ? PadStick::Left : PadStick::Right;
  m.x = pad->stick[stick][0];
  m.y = pad->stick[stick][1];
  return true;
}

}  // namespace

void startGameControllers() {
  ControllerState& c = controllers();
  if (c.started) return;
  // Button names are positions on every pad (a Nintendo pad's A is then "B"); the layouts say
  // which position confirms.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  c.started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void stopGameControllers() {
  ControllerState& c = controllers();
  for (const OpenPad& pad : c.pads) SDL_GameControllerClose(pad.controller);
  c.pads.clear();
  if (c.started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  c.started = false;
}

bool translateControllerEvent(const SDL_Event& e, WindowMessage& m) {
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: return connect(e.cdevice.which, m);
    case SDL_CONTROLLERDEVICEREMOVED: return disconnect(e.cdevice.which, m);
    case SDL_CONTROLLERBUTTONDOWN: return button(e.cbutton, true, m);
    case SDL_CONTROLLERBUTTONUP: return button(e.cbutton, false, m);
    case SDL_CONTROLLERAXISMOTION: return axis(e.caxis, m);
    default: return false;
  }
}

}  // namespace vellum
