#include "render/renderer_state.h"

#include <vellum/exports.h>

#include "base/report.h"
#include "platform/message_box.h"
#include "base/text_encoding.h"

namespace vellum {

namespace {

RendererState freshState() {
  RendererState s;
  setQuadRect(s.finalQuad, {0, 0, 800, 600});
  std::array<QuadVertex, 4> corners;
  setQuadRect(corners, {0, 0, 800, 600});
  for (size_t i = 0; i < 4; ++i) {
    const QuadVertex& c = corners[i];
    s.sceneQuad[i] = {c.x, c.y, c.z, c.rhw, 0xFFFFFFFF, c.u, c.v};
  }
  return s;
}

}  // namespace

RendererState& renderer() {
  static RendererState state = freshState();
  return state;
}

SceneCallbacks& sceneCallbacks() { return renderer().callbacks; }

void setRendererDisplay(const RendererDisplay& display) { renderer().display = display; }
const RendererDisplay& rendererDisplay() { return renderer().display; }

bool rendererReady() { return renderer().device != nullptr; }

void resetRendererState() {
  shutdownRenderer();
  SceneCallbacks callbacks = std::move(renderer().callbacks);
  RendererNotice notice = std::move(renderer().notice);
  renderer() = freshState();
  // The callbacks belong to the subsystems that filled them in, the notice to whoever installed it.
  renderer().callbacks = std::move(callbacks);
  renderer().notice = std::move(notice);
}

void setQuadRect(std::array<QuadVertex, 4>& quad, const gpu::Rect& r) {
  const float left = static_cast<float>(r.left) - 0.5f, top = static_cast<float>(r.top) - 0.5f;
  const float right = static_cast<float>(r.right) - 0.5f, bottom = static_cast<float>(r.bottom) - 0.5f;
  quad[0] = {left, top, 0, 1, 0, 0};
  quad[1] = {right, top, 0, 1, 1, 0};
  quad[2] = {left, bottom, 0, 1, 0, 1};
  quad[3] = {right, bottom, 0, 1, 1, 1};
}

void setSceneQuadRect(const gpu::Rect& r) {
  std::array<QuadVertex, 4> corners;
  setQuadRect(corners, r);
  for (size_t i = 0; i < 4; ++i) {
    const QuadVertex& c = corners[i];
    renderer().sceneQuad[i] = {c.x, c.y, c.z, c.rhw, renderer().sceneQuad[i].colour, c.u, c.v};
  }
}

void deviceErrorDialog(const std::string& gbkText, gpu::Result result) {
  showErrorBox(ReportText(gbkText, CodePage::Gbk).ascii(deviceErrorName(result)));
}

void deviceScriptError(const std::string& gbkText, gpu::Result result) {
  errorc(ReportText(gbkText, CodePage::Gbk).ascii(deviceErrorName(result)), true);
}

void setRendererNotice(RendererNotice notice) { renderer().notice = std::move(notice); }

void rendererNotice(const std::string& gbk) {
  if (renderer().notice) {
    renderer().notice(gbk);
    return;
  }
  showMessageBox(VELLUM_GAME_TITLE, toUtf8(gbk, CodePage::Gbk), BoxIcon::Warning);
}

}  // namespace vellum
