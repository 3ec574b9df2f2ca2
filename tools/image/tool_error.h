// vellum-image stops at the first failure: main prints the message on stderr and exits non-zero.
#pragma once

#include <stdexcept>

namespace vellum::image_tool {

struct ToolError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Wrong use of the command line: main adds the usage hint and exits with 2.
struct UsageError : ToolError {
  using ToolError::ToolError;
};

}  // namespace vellum::image_tool
