// A named integer variable, looked up once and then kept until a named integer is erased.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

class NamedIntReference {
 public:
  explicit NamedIntReference(std::string name) : name_(std::move(name)) {}

  // The variable as it stands now, or nullptr when there is none.
  int32_t* find() const;

 private:
  std::string name_;
  mutable int32_t* variable_ = nullptr;
  mutable uint64_t erasures_ = 0;
};

}  // namespace vellum
