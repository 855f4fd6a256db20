// window_png.h: writes a layer window as it is drawn now into a PNG file.
//
// Assumes a QApplication (the offscreen platform draws no window frame, so a plain
// caption strip with the window's icon and title is drawn above the client image to
// show which window it is). Costs one render of the window and one PNG encoding.
#pragma once

#include <string>

#include "platform/win/win_types.h"

// Renders the top-level window of `window` and writes it to `path` (maximum PNG
// compression). Returns an empty string, or what went wrong.
std::string SaveWindowPng(HWND window, const std::string& path);
