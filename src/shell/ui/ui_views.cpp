#include "shell/ui/ui_views.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/text_encoding.h"
#include "image/image.h"
#include "image/png_writer.h"
#include "shell/ui/menu_texts.h"

namespace vellum {

namespace {

std::string utf8(const std::string& gbk) { return toUtf8(gbk, CodePage::Gbk); }

ui::WidgetKind widgetKind(DialogControlKind kind) {
  switch (kind) {
    case DialogControlKind::GroupBox: return ui::WidgetKind::GroupBox;
    case DialogControlKind::Radio: return ui::WidgetKind::Radio;
    case DialogControlKind::CheckBox: return ui::WidgetKind::CheckBox;
    case DialogControlKind::Button: return ui::WidgetKind::Button;
    case DialogControlKind::Static: break;
  }
  return ui::WidgetKind::Static;
}

}  // namespace

ui::MenuBarView menuBarView(const MenuModel& model) {
  ui::MenuBarView view;
  view.dropDown = utf8(model.dropDownLabel);
  for (const Submenu& m : model.submenus) {
    ui::MenuColumn column;
    column.label = utf8(m.label);
    for (const MenuItem& i : m.items) column.entries.push_back({utf8(i.label), i.id, i.separator, i.checked, i.enabled});
    view.columns.push_back(std::move(column));
  }
  view.hasPin = model.hasPinItem;
  view.pinLabel = utf8(model.pinLabel);
  view.pinId = kMenuPin;
  return view;
}

ui::DialogView dialogView(const SettingsDialog& dialog, const EngineSettings& s) {
  ui::DialogView view;
  view.title = utf8(std::string(menu_texts::kDialogTitle));
  view.width = dialog.clientW;
  view.height = dialog.clientH;
  for (const DialogControl& c : dialog.controls) {
    ui::DialogWidget w;
    w.kind = widgetKind(c.kind);
    w.label = utf8(c.label);
    w.x = c.x;
    w.y = c.y;
    w.width = c.width;
    w.height = c.height;
    w.checked = controlChecked(c, s);
    w.enabled = c.enabled;
    view.widgets.push_back(std::move(w));
  }
  return view;
}

ControlSize measureDialogControl(DialogControlKind kind, const std::string& gbkLabel, int32_t width) {
  ui::LabelSize size;
  if (kind == DialogControlKind::Radio || kind == DialogControlKind::CheckBox) {
    size = ui::choiceSize(utf8(gbkLabel));
  } else if (kind == DialogControlKind::Static) {
    size = ui::wrappedTextSize(utf8(gbkLabel), width);
  } else {
    return designedControlSize(kind, gbkLabel, width);
  }
  return {size.width, size.height};
}

std::string labelsOf(const ui::MenuBarView& view) {
  std::string all = view.dropDown + view.pinLabel;
  for (const ui::MenuColumn& c : view.columns) {
    all += c.label;
    for (const ui::MenuEntry& e : c.entries) all += e.label;
  }
  return all;
}

std::string labelsOf(const ui::DialogView& view) {
  std::string all = view.title;
  for (const ui::DialogWidget& w : view.widgets) all += w.label;
  return all;
}

void saveInterfaceShot(int windowW, int windowH) {
  const char* folder = std::getenv("VELLUM_UI_SHOTS");
  if (!folder || !*folder) return;
  static int counter = 0;
  std::vector<uint8_t> rgba;
  if (!ui::readWindowPixels(windowW, windowH, rgba)) return;
  Image* image = createImage(windowW, windowH, 24);
  if (!image) return;
  for (int i = 0; i < windowW * windowH; ++i) {
    const uint8_t* p = &rgba[static_cast<size_t>(i) * 4];
    image->pixels[i] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
  }
  std::vector<uint8_t> png;
  if (encodePng(*image, 24, 6, false, png)) {
    char name[32];
    std::snprintf(name, sizeof name, "/ui-%03d.png", ++counter);
    if (FILE* f = std::fopen((std::string(folder) + name).c_str(), "wb")) {
      std::fwrite(png.data(), 1, png.size(), f);
      std::fclose(f);
    }
  }
  freeImage(image);
}

}  // namespace vellum
