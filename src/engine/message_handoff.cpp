#include "engine/message_handoff.h"

#include "text/message_window.h"

namespace vellum {

namespace {
MessagePresenter activePresenter = &LayoutMessageLine;
}

MessagePresenter messagePresenter() { return activePresenter; }

void setMessagePresenter(MessagePresenter presenter) { activePresenter = presenter ? presenter : &LayoutMessageLine; }

}  // namespace vellum
