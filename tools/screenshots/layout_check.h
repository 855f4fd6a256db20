// layout_check.h: finds text that does not fit its control in a rendered window: list
// columns narrower than their header, and labels, buttons and check boxes narrower than
// their text. What the eye would catch in a screenshot, said in words.
//
// Assumes a QApplication and a shown window. Costs one walk over the window's widgets.
#pragma once

#include <string>
#include <vector>

#include "platform/win/win_types.h"

// One line per misfit ("header 'Канал': 52 px for 60 px of text"); empty when all fit.
// Hidden widgets and zero-width (hidden) columns are skipped.
std::vector<std::string> TextMisfits(HWND window);
