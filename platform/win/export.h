// export.h: visibility of the window layer's public symbols.
//
// The project builds with -fvisibility=hidden; vetrix_win is one shared library used by
// the host and the module, so every public class and function carries VETRIX_WIN_API.
// Costs nothing at run time.
#pragma once

#define VETRIX_WIN_API __attribute__((visibility("default")))
