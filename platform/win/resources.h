// resources.h: the module's resources (dialog templates, string table, icons) as data
// registered with the layer, and their lookup.
//
// A module compiles its resources in and registers them when it loads; the layer copies
// what it is given, so the data need not outlive the call. Registering an identifier
// again replaces the earlier entry. Dialog templates are in dialog units: x = 4 units
// per average character width, y = 8 units per character height of the template's font.
// Lookups are hash-table reads.
#pragma once

#include <cstddef>
#include <span>

#include "export.h"
#include "win_types.h"

namespace win {

// Window classes a template control may name.
inline constexpr char16_t kButtonClass[] = u"Button";
inline constexpr char16_t kEditClass[] = u"Edit";
inline constexpr char16_t kStaticClass[] = u"Static";
inline constexpr char16_t kComboBoxClass[] = u"ComboBox";
inline constexpr char16_t kListViewClass[] = u"SysListView32";
inline constexpr char16_t kTabControlClass[] = u"SysTabControl32";

// One control of a template, in template (tab and drawing) order. cy of a combo box is
// the height of its open list; the closed box takes the font's height.
struct DialogControl {
  const char16_t* windowClass;
  int id;
  const char16_t* text;  // may be null
  DWORD style;           // WS_CHILD | WS_VISIBLE are added
  DWORD exStyle;
  short x, y, cx, cy;    // dialog units
};

// Dynamic layout of one control: percentages of the dialog's size change since
// creation by which the control moves (moveX, moveY) and grows (sizeX, sizeY). A dialog
// never lays its controls out smaller than the template.
struct DynamicLayoutItem {
  int id;
  BYTE moveX, moveY, sizeX, sizeY;
};

struct DialogTemplate {
  UINT id;
  DWORD style;  // WS_CHILD: a page without caption; WS_THICKFRAME: resizable
  DWORD exStyle;
  short cx, cy;  // client size in dialog units
  const char16_t* caption;
  const char16_t* fontFace;  // "MS Shell Dlg" and the like map to Liberation Sans
  WORD fontPoints;
  std::span<const DialogControl> controls;
  std::span<const DynamicLayoutItem> layout;
};

struct StringResource {
  UINT id;
  const char16_t* text;
};

VETRIX_WIN_API void RegisterDialogTemplate(const DialogTemplate& dialogTemplate);
VETRIX_WIN_API void RegisterStrings(std::span<const StringResource> strings);
// An icon as the bytes of a PNG file; FALSE when the bytes do not decode.
VETRIX_WIN_API BOOL RegisterIcon(UINT id, const unsigned char* png, std::size_t size);
VETRIX_WIN_API BOOL IsDialogTemplateRegistered(UINT id);

}  // namespace win

// The string-table entry, empty when there is none.
VETRIX_WIN_API sys::Text LoadString(UINT id);
// The icon resource at its own size (cx, cy 0) or scaled to cx by cy pixels; null when
// there is no such icon. Handles are shared per (id, size) and live as long as the
// layer; DestroyIcon is accepted and does nothing.
VETRIX_WIN_API HICON LoadIcon(UINT id, int cx = 0, int cy = 0);
VETRIX_WIN_API HICON LoadImage(HINSTANCE instance, UINT id, UINT type, int cx, int cy, UINT flags);
VETRIX_WIN_API BOOL DestroyIcon(HICON icon);
// Pixel size of an icon handle, (0, 0) for null.
VETRIX_WIN_API SIZE GetIconSize(HICON icon);
