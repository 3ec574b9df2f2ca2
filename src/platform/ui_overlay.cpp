#include "platform/ui_overlay.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>
#include <backends/imgui_impl_opengl3.h>

#include <algorithm>
#include <chrono>
#include <cfloat>
#include <cmath>
#include <set>

#include "platform/clipboard.h"
#include "platform/font_provider.h"
#include "platform/gpu/gl_context.h"
#include "platform/gpu/gl_functions.h"
#include "platform/virtual_keys.h"

namespace vellum::ui {

namespace {

constexpr float kFontPixels = 13.0f;

struct OverlayState {
  bool contextMade = false;
  void* glContext = nullptr;  // the context the back-end's objects live in
  std::string fontFile;       // empty: ImGui's own font (Latin only)
  std::set<ImWchar> extraGlyphs;
  bool fontsDirty = true;
  bool textureStale = false;  // the glyphs were rebuilt for measuring; the texture is older
  std::chrono::steady_clock::time_point lastFrame = std::chrono::steady_clock::now();
  bool lastWantMouse = false;
  bool capture = false;  // this frame: the pointer is over something that takes clicks
  bool keyboard = false, lastKeyboard = false;  // a dialog that takes typing has the focus
  bool shiftHeld = false;
  std::string clipboardCopy;
};

OverlayState state;
// The glyph ranges the font was built from (ImGui keeps a pointer to them). Kept apart from
// OverlayState, which is reset by assignment: ImVector has no move, and copying an empty one hands
// memcpy a null pointer.
ImVector<ImWchar> fontRanges;

const char* readClipboard(void*) {
  state.clipboardCopy = clipboardText().value_or(std::string());
  return state.clipboardCopy.c_str();
}

void writeClipboard(void*, const char* text) { setClipboardText(text ? text : ""); }

void makeContext() {
  if (state.contextMade) return;
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  io.GetClipboardTextFn = &readClipboard;
  io.SetClipboardTextFn = &writeClipboard;
  io.KeyMap[ImGuiKey_Tab] = vk::Tab;
  io.KeyMap[ImGuiKey_LeftArrow] = vk::Left;
  io.KeyMap[ImGuiKey_RightArrow] = vk::Right;
  io.KeyMap[ImGuiKey_UpArrow] = vk::Up;
  io.KeyMap[ImGuiKey_DownArrow] = vk::Down;
  io.KeyMap[ImGuiKey_Home] = 0x24;
  io.KeyMap[ImGuiKey_End] = 0x23;
  io.KeyMap[ImGuiKey_Delete] = 0x2E;
  io.KeyMap[ImGuiKey_Backspace] = vk::Back;
  io.KeyMap[ImGuiKey_Enter] = vk::Return;
  io.KeyMap[ImGuiKey_Escape] = vk::Escape;
  io.KeyMap[ImGuiKey_A] = 'A';
  io.KeyMap[ImGuiKey_C] = 'C';
  io.KeyMap[ImGuiKey_V] = 'V';
  io.KeyMap[ImGuiKey_X] = 'X';
  ImGui::StyleColorsLight();
  ImGuiStyle& style = ImGui::GetStyle();
  style.WindowRounding = 0;
  style.FramePadding = ImVec2(3, 0);
  style.ItemInnerSpacing = ImVec2(3, 2);
  state.fontFile = chineseFontFile();
  state.contextMade = true;
}

// Characters of the text that the font does not hold yet.
bool addGlyphs(const std::string& text) {
  bool added = false;
  const char* p = text.c_str();
  const char* end = p + text.size();
  while (p < end) {
    unsigned int c = 0;
    const int n = ImTextCharFromUtf8(&c, p, end);
    if (n <= 0) break;
    p += n;
    if (c >= 0x80 && c <= 0xFFFF && state.extraGlyphs.insert(static_cast<ImWchar>(c)).second) added = true;
  }
  return added;
}

void buildFonts() {
  ImGuiIO& io = ImGui::GetIO();
  io.Fonts->Clear();
  if (state.fontFile.empty()) {
    io.Fonts->AddFontDefault();
  } else {
    ImFontGlyphRangesBuilder builder;
    builder.AddRanges(io.Fonts->GetGlyphRangesDefault());
    builder.AddRanges(io.Fonts->GetGlyphRangesChineseSimplifiedCommon());
    for (ImWchar c : state.extraGlyphs) builder.AddChar(c);
    fontRanges.clear();
    builder.BuildRanges(&fontRanges);
    ImFontConfig config;
    config.OversampleH = 1;
    config.OversampleV = 1;
    if (!io.Fonts->AddFontFromFileTTF(state.fontFile.c_str(), kFontPixels, &config, fontRanges.Data)) {
      io.Fonts->AddFontDefault();
    }
  }
  state.fontsDirty = false;
}

// The back-end's objects belong to one OpenGL context; a new one (a new device) needs new ones.
bool ensureGraphics() {
  void* current = SDL_GL_GetCurrentContext();
  if (!current) return false;
  if (state.glContext && state.glContext != current) {
    // A context that went away without releasing (its owner releases before deleting it); the
    // back-end's names there are not ours to delete from this one.
    ImGui_ImplOpenGL3_Shutdown();
    state.glContext = nullptr;
  }
  if ((state.fontsDirty || state.textureStale) && state.glContext) {
    ImGui_ImplOpenGL3_DestroyFontsTexture();
    if (state.fontsDirty) buildFonts();
    ImGui_ImplOpenGL3_CreateFontsTexture();
    state.textureStale = false;
  }
  if (!state.glContext) {
    if (state.fontsDirty) buildFonts();
    if (!ImGui_ImplOpenGL3_Init(gpu::glslVersionLine())) return false;
    state.glContext = current;
    state.textureStale = false;  // the new back-end uploads the glyphs as they are now
  }
  return true;
}

void setKey(int vkCode, bool down) {
  ImGuiIO& io = ImGui::GetIO();
  if (vkCode >= 0 && vkCode < 512) io.KeysDown[vkCode] = down;
  if (vkCode == vk::Shift || vkCode == vk::LShift || vkCode == vk::RShift) io.KeyShift = state.shiftHeld = down;
  if (vkCode == vk::Control || vkCode == vk::LControl || vkCode == vk::RControl) io.KeyCtrl = down;
}

// Typed characters from key numbers: letters, digits and space.
void typeCharacter(int vkCode) {
  ImGuiIO& io = ImGui::GetIO();
  if (io.KeyCtrl) return;
  if (vkCode >= 'A' && vkCode <= 'Z') {
    io.AddInputCharacter(static_cast<unsigned>(state.shiftHeld ? vkCode : vkCode - 'A' + 'a'));
  } else if ((vkCode >= '0' && vkCode <= '9') || vkCode == ' ') {
    io.AddInputCharacter(static_cast<unsigned>(vkCode));
  }
}

ImVec2 add(ImVec2 a, float x, float y) { return ImVec2(a.x + x, a.y + y); }

// The font that will draw the text, its glyphs built (on the CPU; the texture follows with the
// next frame).
ImFont* measuringFont(const std::string& text) {
  makeContext();
  if (addGlyphs(text)) state.fontsDirty = true;
  ImGuiIO& io = ImGui::GetIO();
  if (state.fontsDirty) {
    buildFonts();
    if (state.glContext) state.textureStale = true;
  }
  if (!io.Fonts->IsBuilt()) io.Fonts->Build();
  return io.Fonts->Fonts.empty() ? nullptr : io.Fonts->Fonts[0];
}

// As ImGui::CalcTextSize measures a label: text after "##" is hidden, widths are rounded up.
ImVec2 labelTextSize(ImFont& font, const std::string& text, float wrapWidth) {
  const char* begin = text.c_str();
  const char* end = ImGui::FindRenderedTextEnd(begin, begin + text.size());
  if (begin == end) return ImVec2(0, font.FontSize);
  ImVec2 size = font.CalcTextSizeA(font.FontSize, FLT_MAX, wrapWidth, begin, end);
  size.x = IM_FLOOR(size.x + 0.95f);
  return size;
}

}  // namespace

LabelSize choiceSize(const std::string& label) {
  ImFont* font = measuringFont(label);
  if (!font) return {};
  const ImGuiStyle& style = ImGui::GetStyle();
  const ImVec2 text = labelTextSize(*font, label, 0.0f);
  // RadioButton and Checkbox: a square one frame high, then the inner spacing and the label.
  const float square = font->FontSize + style.FramePadding.y * 2;
  const float width = square + (text.x > 0 ? style.ItemInnerSpacing.x + text.x : 0.0f);
  const float height = std::max(square, text.y + style.FramePadding.y * 2);
  return {static_cast<int32_t>(std::ceil(width)), static_cast<int32_t>(std::ceil(height))};
}

LabelSize wrappedTextSize(const std::string& text, int32_t wrapWidth) {
  ImFont* font = measuringFont(text);
  if (!font) return {};
  // TextUnformatted draws every line, a last empty one included, without hiding "##".
  const ImVec2 size = font->CalcTextSizeA(font->FontSize, FLT_MAX, static_cast<float>(std::max(wrapWidth, 1)),
                                          text.c_str(), text.c_str() + text.size());
  return {static_cast<int32_t>(std::ceil(size.x)), static_cast<int32_t>(std::ceil(size.y))};
}

bool feedMessage(const WindowMessage& m, bool interfaceShown) {
  makeContext();
  ImGuiIO& io = ImGui::GetIO();
  const int button = m.button == MouseButton::Left ? 0 : m.button == MouseButton::Right ? 1 : 2;
  switch (m.kind) {
    case MessageKind::MouseMove: io.MousePos = ImVec2(static_cast<float>(m.x), static_cast<float>(m.y)); break;
    case MessageKind::ButtonDown:
      io.MousePos = ImVec2(static_cast<float>(m.x), static_cast<float>(m.y));
      io.MouseDown[button] = true;
      break;
    case MessageKind::ButtonUp:
      io.MousePos = ImVec2(static_cast<float>(m.x), static_cast<float>(m.y));
      io.MouseDown[button] = false;
      break;
    case MessageKind::Wheel: io.MouseWheel += static_cast<float>(m.wheelDelta) / 120.0f; break;
    case MessageKind::KeyDown:
      setKey(m.vk, true);
      if (m.sidedVk) setKey(m.sidedVk, true);
      typeCharacter(m.vk);
      return interfaceShown && (io.WantCaptureKeyboard || state.lastKeyboard);
    case MessageKind::KeyUp:
      setKey(m.vk, false);
      if (m.sidedVk) setKey(m.sidedVk, false);
      return interfaceShown && (io.WantCaptureKeyboard || state.lastKeyboard);
    case MessageKind::Deactivate: resetInput(); return false;
    default: return false;
  }
  // A press or release goes where the press started: the interface keeps what it began.
  return interfaceShown && (state.lastWantMouse || ImGui::IsAnyItemActive());
}

void resetInput() {
  if (!state.contextMade) return;
  ImGuiIO& io = ImGui::GetIO();
  for (bool& down : io.MouseDown) down = false;
  for (bool& down : io.KeysDown) down = false;
  io.KeyShift = io.KeyCtrl = io.KeyAlt = false;
  state.shiftHeld = false;
}

bool beginFrame(int32_t windowW, int32_t windowH, const std::string& extraText) {
  makeContext();
  if (addGlyphs(extraText)) state.fontsDirty = true;
  if (!ensureGraphics()) return false;
  ImGuiIO& io = ImGui::GetIO();
  io.DisplaySize = ImVec2(static_cast<float>(windowW), static_cast<float>(windowH));
  const auto now = std::chrono::steady_clock::now();
  const float seconds = std::chrono::duration<float>(now - state.lastFrame).count();
  io.DeltaTime = seconds > 0.0001f ? seconds : 0.0001f;
  state.lastFrame = now;
  ImGui_ImplOpenGL3_NewFrame();
  ImGui::NewFrame();
  state.capture = false;
  state.keyboard = false;
  return true;
}

int32_t drawMenuBar(const MenuBarView& bar) {
  int32_t chosen = 0;
  if (!ImGui::BeginMainMenuBar()) return 0;
  const ImGuiStyle& style = ImGui::GetStyle();
  float rightWidth = ImGui::CalcTextSize(bar.dropDown.c_str()).x + style.ItemSpacing.x * 2;
  if (bar.hasPin) rightWidth += ImGui::CalcTextSize(bar.pinLabel.c_str()).x + style.ItemSpacing.x * 2;
  ImGui::SetCursorPosX(ImGui::GetWindowWidth() - rightWidth - style.WindowPadding.x);
  if (ImGui::BeginMenu(bar.dropDown.c_str())) {
    for (const MenuColumn& column : bar.columns) {
      if (!ImGui::BeginMenu(column.label.c_str())) continue;
      for (const MenuEntry& e : column.entries) {
        if (e.separator) {
          ImGui::Separator();
        } else if (ImGui::MenuItem(e.label.c_str(), nullptr, e.checked, e.enabled)) {
          chosen = e.id;
        }
      }
      ImGui::EndMenu();
    }
    ImGui::EndMenu();
  }
  if (bar.hasPin && ImGui::MenuItem(bar.pinLabel.c_str())) chosen = bar.pinId;
  // The bar's empty stretch lets clicks through to the game; its items and open menus do not.
  state.capture |= ImGui::IsAnyItemHovered() || ImGui::IsPopupOpen(nullptr, ImGuiPopupFlags_AnyPopupId);
  ImGui::EndMainMenuBar();
  return chosen;
}

bool menuHasPointer() { return state.lastWantMouse; }

int32_t drawDialog(const DialogView& dialog) {
  int32_t clicked = -1;
  const ImGuiIO& io = ImGui::GetIO();
  const float titleH = ImGui::GetFrameHeight();
  ImGui::SetNextWindowSize(ImVec2(static_cast<float>(dialog.width), static_cast<float>(dialog.height) + titleH));
  ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x / 2, io.DisplaySize.y / 2), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
  const ImGuiWindowFlags flags = ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse |
                                 ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar;
  ImGui::Begin(dialog.title.c_str(), nullptr, flags);
  const ImVec2 origin = add(ImGui::GetWindowPos(), 0, titleH);
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImU32 lineColour = ImGui::GetColorU32(ImGuiCol_Border);
  const ImU32 textColour = ImGui::GetColorU32(ImGuiCol_Text);
  const ImU32 background = ImGui::GetColorU32(ImGuiCol_WindowBg);
  for (size_t i = 0; i < dialog.widgets.size(); ++i) {
    const DialogWidget& w = dialog.widgets[i];
    const ImVec2 at = add(origin, static_cast<float>(w.x), static_cast<float>(w.y));
    ImGui::PushID(static_cast<int>(i));
    ImGui::SetCursorScreenPos(at);
    ImGui::BeginDisabled(!w.enabled);
    switch (w.kind) {
      case WidgetKind::GroupBox: {
        const ImVec2 label = ImGui::CalcTextSize(w.label.c_str());
        draw->AddRect(add(at, 0, 6), add(at, static_cast<float>(w.width), static_cast<float>(w.height)), lineColour);
        draw->AddRectFilled(add(at, 6, 0), add(at, 10 + label.x, label.y), background);
        draw->AddText(add(at, 8, -1), textColour, w.label.c_str());
        break;
      }
      case WidgetKind::Static:
        ImGui::PushTextWrapPos(at.x - ImGui::GetWindowPos().x + static_cast<float>(w.width));
        ImGui::TextUnformatted(w.label.c_str());
        ImGui::PopTextWrapPos();
        break;
      case WidgetKind::Radio:
        if (ImGui::RadioButton(w.label.c_str(), w.checked)) clicked = static_cast<int32_t>(i);
        break;
      case WidgetKind::CheckBox: {
        bool value = w.checked;
        if (ImGui::Checkbox(w.label.c_str(), &value)) clicked = static_cast<int32_t>(i);
        break;
      }
      case WidgetKind::Button:
        if (ImGui::Button(w.label.c_str(), ImVec2(static_cast<float>(w.width), static_cast<float>(w.height))))
          clicked = static_cast<int32_t>(i);
        break;
    }
    ImGui::EndDisabled();
    ImGui::PopID();
  }
  ImGui::End();
  ImGui::PopStyleVar();
  state.capture = true;
  return clicked;
}

FindAction drawFind(FindView& find, const std::string& title) {
  FindAction action = FindAction::None;
  static uint32_t seenRaise = ~0u;
  const ImGuiIO& io = ImGui::GetIO();
  const bool raise = seenRaise != find.raiseCount;
  seenRaise = find.raiseCount;
  if (raise) ImGui::SetNextWindowFocus();
  ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x / 2, io.DisplaySize.y / 2), ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
  ImGui::SetNextWindowSize(ImVec2(360, 0), ImGuiCond_Always);
  bool open = true;
  ImGui::Begin(title.c_str(), &open, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoCollapse);
  char buffer[80] = {};
  find.text.copy(buffer, sizeof buffer - 1);
  if (raise) ImGui::SetKeyboardFocusHere();
  ImGui::SetNextItemWidth(200);
  if (ImGui::InputText("##what", buffer, sizeof buffer, ImGuiInputTextFlags_EnterReturnsTrue)) action = FindAction::FindNext;
  find.text = buffer;
  ImGui::SameLine();
  if (ImGui::Button("Find Next")) action = FindAction::FindNext;
  if (ImGui::RadioButton("Up", !find.down)) find.down = false;
  ImGui::SameLine();
  if (ImGui::RadioButton("Down", find.down)) find.down = true;
  ImGui::SameLine(0, 60);
  if (ImGui::Button("Cancel")) action = FindAction::Close;
  state.capture |= ImGui::IsWindowHovered(ImGuiHoveredFlags_RootAndChildWindows) || ImGui::IsAnyItemActive();
  state.keyboard |= ImGui::IsWindowFocused(ImGuiFocusedFlags_RootAndChildWindows);
  ImGui::End();
  if (!open) action = FindAction::Close;
  return action;
}

void endFrame() {
  ImGui::Render();
  ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
  state.lastWantMouse = state.capture;
  state.lastKeyboard = state.keyboard;
  ImGui::GetIO().MouseWheel = 0;
}

bool readWindowPixels(int32_t width, int32_t height, std::vector<uint8_t>& rgba) {
  if (width <= 0 || height <= 0 || !SDL_GL_GetCurrentContext()) return false;
  gpu::GlFunctions& g = gpu::gl();
  // The picture being composed is in the framebuffer bound for drawing.
  GLint drawn = 0;
  g.GetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
  g.BindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(drawn));
  g.PixelStorei(GL_PACK_ALIGNMENT, 1);
  std::vector<uint8_t> bottomUp(static_cast<size_t>(width) * height * 4);
  g.ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  rgba.resize(bottomUp.size());
  const size_t row = static_cast<size_t>(width) * 4;
  for (int32_t y = 0; y < height; ++y)
    std::copy_n(bottomUp.data() + (height - 1 - y) * row, row, rgba.data() + y * row);
  return true;
}

void releaseGraphics() {
  if (state.glContext && SDL_GL_GetCurrentContext() == state.glContext) ImGui_ImplOpenGL3_Shutdown();
  state.glContext = nullptr;
  state.fontsDirty = true;
}

void shutdown() {
  if (!state.contextMade) return;
  releaseGraphics();
  ImGui::DestroyContext();
  fontRanges.clear();
  state = OverlayState{};
}

}  // namespace vellum::ui
