// How a command handler finds the form compiled from its argument text on an earlier run of the
// same script line. The interpreter offers the pair's cache just before it calls the handler; a
// handler that keeps a form takes the offer, which holds only for the very argument text offered.
// Called any other way (from another command, a test, a script VM) it compiles afresh and keeps
// nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "script/line_cache.h"

namespace vellum {

// The standing offer (inline: it is made and taken for every command a line runs).
struct ArgumentFormOffer {
  std::unique_ptr<ArgumentForm>* slot = nullptr;
  const char* text = nullptr;
  size_t length = 0;
};
inline ArgumentFormOffer argumentFormOffer;

inline void offerArgumentForm(std::unique_ptr<ArgumentForm>* slot, const char* text, size_t length) {
  argumentFormOffer = {slot, text, length};
}
inline void withdrawArgumentForm() { argumentFormOffer = {}; }
// The offered slot when `text` is the offered argument itself; the offer ends either way.
inline std::unique_ptr<ArgumentForm>* takeArgumentForm(std::string_view text) {
  const ArgumentFormOffer offer = argumentFormOffer;
  argumentFormOffer = {};
  return offer.text == text.data() && offer.length == text.size() ? offer.slot : nullptr;
}

// The form of `text` for a handler: the kept one, else compiled now (kept when the slot was
// offered, else held in `uncached` for this call). Form derives from ArgumentForm and is built
// from the text.
template <typename Form>
Form& argumentForm(std::string_view text, std::optional<Form>& uncached) {
  static const char kind = 0;
  std::unique_ptr<ArgumentForm>* slot = takeArgumentForm(text);
  if (!slot) return uncached.emplace(&kind, text);
  if (!*slot || (*slot)->kind != &kind) *slot = std::make_unique<Form>(&kind, text);
  return static_cast<Form&>(**slot);
}

}  // namespace vellum
