// The browser's own idea of being online.
#include <emscripten.h>

#include "platform/network_state.h"

namespace vellum {

namespace {
// Under node (the headless tests) there is no navigator: counted as online.
EM_JS(int, browserOnline, (), { return (typeof navigator === 'undefined' || navigator.onLine) ? 1 : 0; });
}  // namespace

bool networkIsUp() { return browserOnline() != 0; }

}  // namespace vellum
