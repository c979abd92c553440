// The fixed description of the main window: title, size, and where each unit
// stands in the client area. Front ends build their window from this.
#pragma once

namespace quorvant::window_description {

struct Placement {
  int left;
  int top;
  int width;
  int height;
};

inline constexpr char TITLE[] = "Quorvant";
// Outer size, frame and title bar included.
inline constexpr int OUTER_WIDTH = 248;
inline constexpr int OUTER_HEIGHT = 151;
// The client area the units need, for window systems that draw their own frame.
inline constexpr int CLIENT_WIDTH = 240;
inline constexpr int CLIENT_HEIGHT = 120;

inline constexpr Placement 安全计时{184, 48, 56, 40};
inline constexpr Placement 客户进入{16, 96, 208, 24};
inline constexpr Placement 编辑框1{16, 48, 104, 40};
inline constexpr Placement 拨号{128, 48, 48, 40};
inline constexpr Placement 标签1{24, 8, 160, 32};

inline constexpr int 时钟1_PERIOD_MILLISECONDS = 300;

// Left and top of a window of the outer size centred on a screen, divisions
// truncated toward zero.
inline constexpr int CentredLeft(int screenWidth) { return (screenWidth - OUTER_WIDTH) / 2; }
inline constexpr int CentredTop(int screenHeight) { return (screenHeight - OUTER_HEIGHT) / 2; }

}  // namespace quorvant::window_description
