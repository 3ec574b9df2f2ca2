#include "script/argument_form.h"

namespace vellum {

namespace {

struct Offer {
  std::unique_ptr<ArgumentForm>* slot = nullptr;
  const char* text = nullptr;
  size_t length = 0;
};

Offer offer;

}  // namespace

void offerArgumentForm(std::unique_ptr<ArgumentForm>* slot, const char* text, size_t length) {
  offer = {slot, text, length};
}

void withdrawArgumentForm() { offer = {}; }

std::unique_ptr<ArgumentForm>* takeArgumentForm(std::string_view text) {
  std::unique_ptr<ArgumentForm>* slot = offer.text == text.data() && offer.length == text.size() ? offer.slot : nullptr;
  offer = {};
  return slot;
}

}  // namespace vellum
