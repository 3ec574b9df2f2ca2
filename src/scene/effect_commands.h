// effect, existStretch and sc_mb.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

void provideTransitionCommands();

// The effect command's work: type 0 wait, 1 fade, 2 named, 3 rule, 4 mosaic; time in ms (the
// duration is time OR 2); easing -20 ... 20; name of the transition or the rule picture;
// softness as the script gives it (S = (softness - 1) AND 511).
// `lookahead`: run the look-ahead pass alongside the transition (or after it on one processor).
void runEffect(int32_t type, int32_t time, int32_t easing, const std::string& name, int32_t softness,
               bool lookahead = false);

}  // namespace vellum
