// An environment variable put back as it was when the test ends, whatever the test set it to.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace vellum::test {

class KeptEnvironment {
 public:
  explicit KeptEnvironment(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  ~KeptEnvironment() {
    if (value_) {
      setenv(name_, value_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  KeptEnvironment(const KeptEnvironment&) = delete;
  KeptEnvironment& operator=(const KeptEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> value_;
};

}  // namespace vellum::test
