// Creating the device: adapter, display mode, capabilities, formats, the report in
// Information.txt, the device with its fallbacks, and the shaders.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/engine_state.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "render/device_caps.h"
#include "render/filter_passes.h"
#include "render/final_pass.h"
#include "render/render_messages.h"
#include "render/renderer_state.h"

namespace vellum {

namespace {

// The folder Information.txt is written to (the same as the error log's).
std::string reportFolder() {
  const EngineState& e = engine();
  return e.userDataDirectory.empty() ? e.exeDirectory : e.userDataDirectory;
}

bool appendReport(const std::string& text) {
  FILE* f = std::fopen((reportFolder() + "Information.txt").c_str(), "ab");
  if (!f) return false;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return true;
}

template <typename... Values>
std::string formatted(const char* format, Values... values) {
  char text[512];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// The default filter when the chosen one cannot run: bilinear (the systems this build targets
// all have the newer compositor).
constexpr int32_t kFallbackInterpolation = 2;

bool chooseFormats(RendererState& r, const gpu::DisplayMode& mode) {
  EngineSettings& s = settings();
  gpu::Gpu* g = r.gpu;
  const auto check = [&](gpu::Format f) {
    return g->checkDeviceType(0, r.deviceType, mode.format, f, true);
  };
  if (s.colorMode == 1) {
    const gpu::Result want = check(gpu::Format::R5G6B5);
    if (!gpu::failed(want)) {
      r.sixteenBit = true;
    } else if (mode.format == gpu::Format::X8R8G8B8 && !gpu::failed(check(gpu::Format::X8R8G8B8))) {
      r.sixteenBit = false;
      rendererNotice(render_messages::kSixteenBitUnavailable);
      s.colorMode = 0;
    } else {
      deviceErrorDialog("CheckDeviceType 16bit ", want);
      return false;
    }
  } else {
    const gpu::Result want = check(gpu::Format::X8R8G8B8);
    if (!gpu::failed(want)) {
      r.sixteenBit = false;
    } else if (mode.format == gpu::Format::R5G6B5 && !gpu::failed(check(gpu::Format::R5G6B5))) {
      r.sixteenBit = true;
      rendererNotice(render_messages::kThirtyTwoBitUnavailable);
      s.colorMode = 1;
    } else {
      deviceErrorDialog("CheckDeviceType 32bit ", want);
      return false;
    }
  }
  r.backBufferFormat = r.sixteenBit ? gpu::Format::R5G6B5 : gpu::Format::X8R8G8B8;
  r.textureFormat = r.sixteenBit ? gpu::Format::A4R4G4B4 : gpu::Format::A8R8G8B8;
  return true;
}

void checkFilterAgainstShaders(const RendererState& r) {
  EngineSettings& s = settings();
  const int need = requiredShaderMajor(s.interpolation);
  if (need == 0 || r.caps.pixelShaderMajor >= need) return;
  rendererNotice(std::string(render_messages::kFilterUnavailableBefore) + filterName(s.interpolation) +
                 render_messages::kFilterUnavailableAfter);
  s.interpolation = kFallbackInterpolation;
}

bool createShaders(RendererState& r) {
  r.shaders.fill(nullptr);
  r.ruleShaderVersion = false;
  for (size_t i = 0; i < kShaderResources.size(); ++i) {
    const ShaderResource& res = kShaderResources[i];
    if (r.caps.pixelShaderMajor < res.shaderModel) continue;
    const gpu::Result result = r.device->createPixelShader({res.id, shaderResource(res.id)}, &r.shaders[i]);
    if (gpu::failed(result)) {
      deviceErrorDialog(std::string("CreatePixelShader ") + res.name + " ", result);
      return false;
    }
  }
  r.ruleShaderVersion = r.caps.pixelShaderMajor >= 2;
  return true;
}

uint32_t plainPassFilter(const RendererState& r) {
  switch (settings().interpolation) {
    case 1: return r.caps.pointStretch ? gpu::texf::Point : gpu::texf::None;
    case 2:
      if (r.caps.linearStretch) return gpu::texf::Linear;
      return r.caps.pointStretch ? gpu::texf::Point : gpu::texf::None;
    default: return gpu::texf::None;
  }
}

}  // namespace

bool createDevice(SDL_Window* window) {
  RendererState& r = renderer();
  EngineSettings& s = settings();
  r.window = window;

  // 1-2. The adapter and its name.
  r.gpu = gpu::Gpu::create();
  if (!r.gpu) {
    showErrorBox(ReportText("Direct3DCreate9", CodePage::Gbk));
    return false;
  }
  gpu::AdapterIdentifier id;
  if (const gpu::Result e = r.gpu->getAdapterIdentifier(0, id); gpu::failed(e)) {
    deviceErrorDialog("GetAdapterIdentifier ", e);
    return false;
  }
  // 3. The report folder, then the adapter lines.
  const std::string folder = reportFolder();
  if (!folder.empty() && folder != engine().exeDirectory) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec && !std::filesystem::is_directory(folder)) return false;
  }
  appendReport(std::string("GetAdapterIdentifier\n\tDescription ") + id.description + "\n");

  // 4-5. Display mode and capabilities.
  gpu::DisplayMode mode;
  if (const gpu::Result e = r.gpu->getAdapterDisplayMode(0, mode); gpu::failed(e)) {
    deviceErrorDialog("GetAdapterDisplayMode ", e);
    return false;
  }
  r.deviceType = gpu::DeviceType::Hal;
  gpu::Result capsResult = r.gpu->getDeviceCaps(0, gpu::DeviceType::Hal, r.deviceCapsRaw);
  if (gpu::failed(capsResult)) {
    r.deviceType = gpu::DeviceType::Ref;
    capsResult = r.gpu->getDeviceCaps(0, gpu::DeviceType::Ref, r.deviceCapsRaw);
  }
  if (gpu::failed(capsResult)) {
    deviceErrorDialog("GetDeviceCaps ", capsResult);
    return false;
  }
  // 6-8. Formats, DeviceCaps, the report.
  if (!chooseFormats(r, mode)) return false;
  r.caps = deriveDeviceCaps(r.deviceCapsRaw);
  std::string report = capabilityReport(r.deviceCapsRaw, r.caps, r.sixteenBit);
  // 9. The filter against the shaders.
  checkFilterAgainstShaders(r);

  // 10. Presentation parameters.
  const RendererDisplay& d = r.display;
  gpu::PresentParameters& p = r.params;
  p = {};
  const bool renderSized = (s.fullScreen && s.fullMode == 0) || s.interpolation == 0;
  p.backBufferWidth = static_cast<uint32_t>(renderSized ? d.renderW : d.monitorW);
  p.backBufferHeight = static_cast<uint32_t>(renderSized ? d.renderH : d.monitorH);
  p.backBufferFormat = r.backBufferFormat;
  p.backBufferCount = 1;
  p.swapEffect = gpu::kSwapEffectDiscard;
  p.windowed = true;
  p.presentationInterval = (s.vSyncWait & 1) ? gpu::kPresentIntervalOne : gpu::kPresentIntervalImmediate;

  // 11. The device, trying the faster kinds first.
  struct Attempt {
    gpu::DeviceType type;
    uint32_t flags;
    const char* text;
  };
  const Attempt attempts[] = {
      {gpu::DeviceType::Hal, gpu::kCreateHardwareVertexProcessing, "D3DDEVTYPE_HAL D3DCREATE_HARDWARE_VERTEXPROCESSING %s\n"},
      {gpu::DeviceType::Hal, gpu::kCreateSoftwareVertexProcessing, "D3DDEVTYPE_HAL D3DCREATE_SOFTWARE_VERTEXPROCESSING %s\n"},
      {gpu::DeviceType::Ref, gpu::kCreateSoftwareVertexProcessing, "D3DDEVTYPE_REF D3DCREATE_SOFTWARE_VERTEXPROCESSING %s\n"},
  };
  gpu::Result last = gpu::kNotAvailable;
  for (const Attempt& a : attempts) {
    if (a.flags == gpu::kCreateHardwareVertexProcessing && s.hardwareVertex == 0) continue;
    gpu::PresentParameters tried = p;
    last = r.gpu->createDevice(0, a.type, window, a.flags | gpu::kCreateMultithreaded, tried, &r.device);
    report += formatted(a.text, deviceErrorName(last).c_str());
    if (!gpu::failed(last)) {
      p = tried;
      break;
    }
  }
  if (!r.device) {
    appendReport(report);
    deviceErrorDialog("CreateDevice ", last);
    return false;
  }
  // 12. The settings the device runs with.
  report += formatted("FullScreen%d FullMode%d WindowWidth%d VSyncWait%d\n", s.fullScreen, s.fullMode, s.windowWidth,
                      s.vSyncWait);
  report += formatted("Resolution%d ScreenAspect%d CacheMaxSize%d LookaHead%d\n", s.resolution, s.screenAspect,
                      static_cast<int>(s.cacheMaxSize >> 20), s.lookAhead);
  report += formatted("Interpolation%d TextureMax%d ColorMode%d ColorBlend%d\n", s.interpolation, s.textureMax,
                      s.colorMode, s.colorBlend);
  appendReport(report);

  // 13-15. The colour-to-alpha table and the shaders.
  for (int i = 0; i < 256; ++i) r.colourToAlpha[static_cast<size_t>(i)] = static_cast<float>(i) / 255.0f;
  if (!createShaders(r)) return false;
  // 16. The plain pass's sampler filter.
  r.plainFilter = plainPassFilter(r);
  return true;
}

void recomputePlainFilter() { renderer().plainFilter = plainPassFilter(renderer()); }

}  // namespace vellum
