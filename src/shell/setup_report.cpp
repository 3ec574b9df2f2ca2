#include "shell/setup_report.h"

#include <cstdio>
#include <string>

#include "core/engine_state.h"
#include "persist/engine_settings.h"
#include "shell/screen_geometry.h"
#include "shell/shell_window_state.h"

namespace vellum {

namespace {

std::string reportPath() {
  const EngineState& e = engine();
  return (e.userDataDirectory.empty() ? e.exeDirectory : e.userDataDirectory) + "Information.txt";
}

}  // namespace

void writeSetUpSystemReport() {}

void appendSetUpSettingsLines() {
  FILE* log = std::fopen(reportPath().c_str(), "a");
  if (!log) return;
  const EngineSettings& s = settings();
  std::fprintf(log, "FullScreen%d FullMode%d WindowWidth%d VSyncWait%d\n", s.fullScreen, s.fullMode, s.windowWidth,
               s.vSyncWait);
  std::fprintf(log, "Resolution%d ScreenAspect%d CacheMaxSize%d LookaHead%d\n", s.resolution, s.screenAspect,
               static_cast<int>(s.cacheMaxSize >> 20), s.lookAhead);
  std::fprintf(log, "Interpolation%d TextureMax%d ColorMode%d ColorBlend%d\n", s.interpolation, s.textureMax,
               s.colorMode, s.colorBlend);
  std::fclose(log);
}

void appendSetUpGeometryLines() {
  FILE* log = std::fopen(reportPath().c_str(), "a");
  if (!log) return;
  const ScreenGeometry& g = screenGeometry();
  std::fprintf(log, "%s\n", shellWindow().title.c_str());
  for (int m = 1; m <= 4; ++m) {
    const GeoRect& src = g.src[static_cast<size_t>(m)];
    const GeoRect& dest = g.dest[static_cast<size_t>(m)];
    // The fourth line has always carried the label of the third destination.
    std::fprintf(log, "Src%d %4d, %4d, %4d, %4d\tDest%d %4d, %4d, %4d, %4d\n", m, src.left, src.top, src.right,
                 src.bottom, m == 4 ? 3 : m, dest.left, dest.top, dest.right, dest.bottom);
  }
  std::fclose(log);
}

}  // namespace vellum
