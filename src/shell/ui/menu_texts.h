// Labels of the menu bar and the start-up settings dialog, as GBK bytes (the readable text beside
// each).
#pragma once

#include <string_view>

namespace vellum::menu_texts {

inline constexpr std::string_view kScreen = "\xbb\xad\xc3\xe6";                                   // 画面
inline constexpr std::string_view kScreenMode = "\xd2\xf8\xc4\xbb\xc4\xa3\xca\xbd";               // 银幕模式
inline constexpr std::string_view kWindowed = "\xb4\xb0\xbf\xda";                                 // 窗口
inline constexpr std::string_view kFullScreen = "\xc8\xab\xc6\xc1";                               // 全屏
inline constexpr std::string_view kMonitor169 = "\xcf\xd4\xca\xbe\xc6\xf7\xb1\xc8\x20\x31\x36\x3a\x39";  // 显示器比 16:9
inline constexpr std::string_view kMonitor43 = "\xcf\xd4\xca\xbe\xc6\xf7\xb1\xc8\x20\x20\x34\x3a\x33";   // 显示器比  4:3
inline constexpr std::string_view kWindowSize = "\xb4\xb0\xbf\xda\xb3\xdf\xb4\xe7";               // 窗口尺寸
inline constexpr std::string_view kFixedSizeOpen = "\xb3\xdf\xb4\xe7\xb9\xcc\xb6\xa8\x28";        // 尺寸固定(
inline constexpr std::string_view kWindowPosition = "\xb4\xb0\xbf\xda\xce\xbb\xd6\xc3";           // 窗口位置
inline constexpr std::string_view kCentre = "\xbb\xad\xc3\xe6\xb5\xc4\xd6\xd0\xd1\xeb";           // 画面的中央
inline constexpr std::string_view kKeepPosition = "\xb1\xa3\xb3\xd6\xd7\xf8\xb1\xea";             // 保持坐标
inline constexpr std::string_view kAlwaysOnTop =
    "\xd7\xdc\xca\xc7\xb1\xed\xcf\xd6\xd4\xda\xd7\xee\xc7\xb0\xc3\xe6";                          // 总是表现在最前面
inline constexpr std::string_view kFullScreenMode = "\xc8\xab\xc6\xc1\xc4\xa3\xca\xbd";           // 全屏模式
inline constexpr std::string_view kInterpolation =
    "\xbb\xad\xc3\xe6\xc0\xa9\xb4\xf3\xcb\xf5\xd0\xa1\xb2\xe5\xb2\xb9";                          // 画面扩大缩小插补
inline constexpr std::string_view kVSyncWait = "\xb4\xb9\xd6\xb1\xcd\xac\xc6\xda\xb5\xc8\xb4\xfd";  // 垂直同期等待
inline constexpr std::string_view kNoVSync = "\xcd\xac\xc6\xda\xce\xde\xd0\xa7";                  // 同期无效
inline constexpr std::string_view kUnpin = "\xa1\xc1";                                            // ×
inline constexpr std::string_view kPin = "\xa3\xab";                                              // ＋
inline constexpr std::string_view kReadAloud = "\xc0\xca\xb6\xc1";                                // 朗读
inline constexpr std::string_view kReadStoryAloud = "\xc0\xca\xb6\xc1\xb9\xca\xca\xc2\x20\x28\x56\x29"; // 朗读故事 (V)

// The start-up settings dialog.
inline constexpr std::string_view kDialogTitle = "\xc6\xf4\xb6\xaf\xc9\xe8\xb6\xa8";              // 启动设定
inline constexpr std::string_view kResolutionGroup = "\xc6\xc1\xc4\xbb\xb7\xd6\xb1\xe6\xc2\xca";  // 屏幕分辨率
inline constexpr std::string_view kAspect169 = "\xa3\xb1\xa3\xb6\xa3\xba\xa3\xb9\xb1\xc8\xc2\xca";  // １６：９比率
inline constexpr std::string_view kAspect43 = "\xa3\xb4\xa3\xba\xa3\xb3\xb1\xc8\xc2\xca";          // ４：３比率
inline constexpr std::string_view kResolutionWindow =
    "\xca\xb9\xb4\xb0\xbf\xda\xb3\xdf\xb4\xe7\xb7\xfb\xba\xcf\xc6\xc1\xc4\xbb\xb7\xd6\xb1\xe6\xc2\xca";  // 使窗口尺寸符合屏幕分辨率
inline constexpr std::string_view kDetailedSettings = "\xcf\xea\xcf\xb8\xc9\xe8\xb6\xa8";         // 详细设定
inline constexpr std::string_view kStart = "\xc6\xf4\xb6\xaf";                                    // 启动
inline constexpr std::string_view kEnd = "\xbd\xe1\xca\xf8";                                      // 结束
inline constexpr std::string_view kShowNextTime =
    "\xcf\xc2\xb4\xce\xc6\xf4\xb6\xaf\xca\xb1\xb1\xed\xca\xbe\xc6\xf4\xb6\xaf\xc9\xe8\xb6\xa8\xbb\xad\xc3\xe6";  // 下次启动时表示启动设定画面
// 高分辨率的话总是对ＰＣ有高性能要求，请事先注意。\nDBD(Dot By Dot)是把电脑的１点以画面的１像素表示出来。
inline constexpr std::string_view kResolutionNote =
    "\xb8\xdf\xb7\xd6\xb1\xe6\xc2\xca\xb5\xc4\xbb\xb0\xd7\xdc\xca\xc7\xb6\xd4\xa3\xd0\xa3\xc3\xd3\xd0\xb8\xdf\xd0\xd4"
    "\xc4\xdc\xd2\xaa\xc7\xf3\xa3\xac\xc7\xeb\xca\xc2\xcf\xc8\xd7\xa2\xd2\xe2\xa1\xa3\n"
    "DBD(Dot By Dot)\xca\xc7\xb0\xd1\xb5\xe7\xc4\xd4\xb5\xc4\xa3\xb1\xb5\xe3\xd2\xd4\xbb\xad\xc3\xe6\xb5\xc4\xa3\xb1"
    "\xcf\xf1\xcb\xd8\xb1\xed\xca\xbe\xb3\xf6\xc0\xb4\xa1\xa3";
inline constexpr std::string_view kDotByDot = ":DBD";

}  // namespace vellum::menu_texts
