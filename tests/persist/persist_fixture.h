// A clean engine whose game folder and home folder are fresh temporary folders. HOME and
// XDG_CONFIG_HOME point into the temporary home for the test's duration, so the Documents folder
// and user-dirs.dirs are the test's own.
#pragma once

#include <cstdlib>
#include <string>

#include "persist/compressed_container.h"
#include "support/engine_fixture.h"
#include "support/kept_environment.h"

namespace vellum::test {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnvironment : public KeptEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : KeptEnvironment(name) {
    setenv(name, value.c_str(), 1);
  }
};

class PersistTest : public EngineTest {
 protected:
  TempFolder home;
  ScopedEnvironment homeVariable{"HOME", home.path().string()};
  ScopedEnvironment configVariable{"XDG_CONFIG_HOME", (home.path() / ".config").string()};
};

// The payload of a compressed container file, or "<unreadable>".
inline std::string inflatedFile(const std::filesystem::path& path) {
  std::string payload;
  if (unpackContainer(readFileBytes(path), true, payload) != ContainerFault::None) return "<unreadable>";
  return payload;
}

inline void writeCompressed(const TempFolder& folder, const std::string& relative, const std::string& payload) {
  std::string file;
  EXPECT_EQ(packContainer(payload, true, file), ContainerFault::None);
  folder.write(relative, file);
}

}  // namespace vellum::test
