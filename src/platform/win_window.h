// Window geometry and the window messages, flags and answers beyond win_types.h,
// with their Windows values. Plain C++: usable by code that does not know Qt.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
};

constexpr bool PtInRect(const RECT& r, int32_t x, int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
constexpr int32_t RectWidth(const RECT& r) {
    return r.right - r.left;
}
constexpr int32_t RectHeight(const RECT& r) {
    return r.bottom - r.top;
}
constexpr bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Pointer coordinates travel as two 16-bit halves of lParam, as on Windows.
constexpr LPARAM MAKELPARAM(int32_t low, int32_t high) {
    return LPARAM(uint32_t(uint16_t(low)) | (uint32_t(uint16_t(high)) << 16));
}
constexpr int32_t GET_X_LPARAM(LPARAM l) {
    return int16_t(LOWORD(uintptr_t(l)));
}
constexpr int32_t GET_Y_LPARAM(LPARAM l) {
    return int16_t(HIWORD(uintptr_t(l)));
}

// WM_NCHITTEST answers.
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;

// Virtual keys beyond Escape and Enter.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_SNAPSHOT = 0x2C;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
