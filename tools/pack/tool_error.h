// vellum-pack stops at the first failure it cannot work around: the message names the file and the
// reason, main prints it on stderr and exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

namespace vellum::pack {

struct ToolError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Wrong use of the command line: main adds the usage hint.
struct UsageError : ToolError {
  using ToolError::ToolError;
};

}  // namespace vellum::pack
