// The work every frame does above the renderer: the renderer calls one function per frame, and
// this file says which layers' per-frame updates it runs and in what order.
#pragma once

namespace vellum {

// Fills the renderer's per-frame update (queued sounds, frame sequences) and makes its "anything
// moving" question also count queued sounds and running frame sequences, keeping whatever answer
// the scene already gives; hands lookahead2's voices to the sound preload. Safe to call again.
void installFrameHooks();

}  // namespace vellum
