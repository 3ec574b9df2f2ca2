// The work every frame does above the renderer: the renderer calls one function per frame, and
// this file says which layers' per-frame updates it runs and in what order.
#pragma once

namespace vellum {

// Fills the renderer's per-frame update and makes its "anything moving" question also count the
// sounds queued with a delay. Keeps whatever answer the scene already gives. Safe to call again.
void installFrameHooks();

}  // namespace vellum
