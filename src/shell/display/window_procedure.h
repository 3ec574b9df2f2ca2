// The main window's handling of each message before the input loop looks at it: activation,
// minimise and maximise, moves and resizes, the close request, Alt+Enter, the mode keys and the
// reload key of a run that watches its sources. A message it has fully handled is consumed (its
// kind set to None).
#pragma once

#include "platform/window_message.h"

namespace vellum {

void windowProcedure(WindowMessage& message);

}  // namespace vellum
