#include "shell/input/reload_key.h"

#include "platform/virtual_keys.h"

namespace vellum {

namespace {
ReloadKeyHandler reloadHandler = nullptr;
}

void setReloadKeyHandler(ReloadKeyHandler handler) { reloadHandler = handler; }

bool takeReloadKey(const WindowMessage& m) {
  if (!reloadHandler || m.vk != vk::F5) return false;
  if (m.kind == MessageKind::KeyDown) {
    reloadHandler();
    return true;
  }
  return m.kind == MessageKind::KeyUp;
}

}  // namespace vellum
