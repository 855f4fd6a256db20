// module_resources.h: the module's resources for the window layer — the string table
// (4000-4027), the dialog templates of every window and the two icons (102, 118).
//
// The module compiles its resources in and registers them when it loads; the layer copies
// them, so registering again (a second Load) only replaces the same entries.
#pragma once

#include <cstddef>

#include "platform/win/win_types.h"

inline constexpr UINT kModuleIcon = 102;  // the calibration line symbol: every window's icon
inline constexpr UINT kFolderIcon = 118;  // the folder button of the settings dialog

// The icons as PNG files (ui/icons_data.cpp, written by tools/gen_icons.py).
extern const unsigned char kCalibrationIconPng[];
extern const std::size_t kCalibrationIconPngSize;
extern const unsigned char kFolderIconPng[];
extern const std::size_t kFolderIconPngSize;

// Registers the string table, every dialog template and both icons with the window layer.
void RegisterModuleResources();

// The string table alone (entries whose text the module defines).
void RegisterModuleStrings();
