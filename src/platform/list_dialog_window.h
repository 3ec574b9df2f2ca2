// The windowed form of the list dialog, drawn with SDL.
#pragma once

#include <optional>

#include "platform/list_dialog.h"

namespace vellum {

// Nothing when no window can be opened (the caller falls back to the headless form).
std::optional<ListChoice> runListDialogWindow(const ListDialog& dialog,
                                              const std::function<ListReply(const ListChoice&)>& decide);

}  // namespace vellum
