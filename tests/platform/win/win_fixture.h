// win_fixture.h: helpers shared by the window layer's tests: templates registered on
// the fly, a parent window that logs what it is told, and real mouse and key input at
// a window's client coordinates.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/win/dialog.h"
#include "platform/win/qt_bridge.h"
#include "platform/win/resources.h"
#include "platform/win/automation.h"

namespace wintest {

inline constexpr DWORD kPopupStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
inline constexpr DWORD kChildStyle = WS_CHILD | DS_CONTROL | DS_SETFONT;

inline void Register(UINT id, DWORD style, short cx, short cy, std::vector<win::DialogControl> controls,
                     std::vector<win::DynamicLayoutItem> layout = {}, const char16_t* caption = u"Проверка") {
  win::DialogTemplate t{id, style, 0, cx, cy, caption, u"MS Shell Dlg", 8, controls, layout};
  win::RegisterDialogTemplate(t);
}

// Shows a top-level window and waits until Qt reports it active.
inline bool ShowActive(HWND h) {
  ShowWindow(h, SW_SHOW);
  QWidget* w = win::WidgetOf(h)->window();
  w->activateWindow();
  return QTest::qWaitForWindowActive(w);
}

// The widget under a client point of h and the point in its coordinates.
struct Target {
  QWidget* widget;
  QPoint point;
};
inline Target At(HWND h, int x, int y) {
  QPoint local;
  QWidget* w = win::WidgetAt(h, POINT{x, y}, &local);
  return {w, local};
}
inline Target Centre(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  return At(h, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Drags header section `from` onto the left edge of section `to` in eight mouse moves,
// as a user drags a column heading.
inline void DragHeaderSection(QHeaderView* header, int from, int to) {
  const QPoint start(header->sectionViewportPosition(from) + header->sectionSize(from) / 2, header->height() / 2);
  const QPoint end(header->sectionViewportPosition(to) + 5, header->height() / 2);
  QTest::mousePress(header->viewport(), Qt::LeftButton, {}, start);
  for (int step = 1; step <= 8; ++step) QTest::mouseMove(header->viewport(), start + (end - start) * step / 8);
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, end);
}

inline void Click(const Target& t, Qt::KeyboardModifiers mods = {}) {
  QTest::mouseClick(t.widget, Qt::LeftButton, mods, t.point);
}
// A double click as a user makes it: a click, then the second press as a double click.
inline void DoubleClick(const Target& t) {
  QTest::mouseClick(t.widget, Qt::LeftButton, {}, t.point);
  QTest::mouseDClick(t.widget, Qt::LeftButton, {}, t.point);
}

// Typed text; each character as its own key event (Cyrillic included).
inline void Type(QWidget* w, const QString& text) {
  for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), {});
}

inline QWidget* FocusWidget() { return QApplication::focusWidget(); }

// A dialog that records the notifications and commands it receives.
class RecordingDialog : public CDialog {
 public:
  using CDialog::CDialog;
  struct Note {
    UINT code;
    int id;
    std::vector<std::intptr_t> data;
  };
  std::vector<Note> notes;
  std::vector<std::pair<int, UINT>> commands;  // (id, code)
  LRESULT answer = 0;                           // WM_NOTIFY result for every code
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    notes.push_back({header->code, static_cast<int>(wParam), Describe(header)});
    *result = answer;
    return TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
  }
  std::vector<Note> NotesWith(UINT code) const {
    std::vector<Note> found;
    for (const Note& n : notes)
      if (n.code == code) found.push_back(n);
    return found;
  }
  // The fields a test looks at, copied while the record is alive.
  static std::vector<std::intptr_t> Describe(NMHDR* h) {
    if (h->code == LVN_ITEMCHANGED || h->code == LVN_COLUMNCLICK) {
      auto* n = reinterpret_cast<NMLISTVIEW*>(h);
      return {n->iItem, n->iSubItem, static_cast<std::intptr_t>(n->uOldState), static_cast<std::intptr_t>(n->uNewState)};
    }
    if (h->code == NM_CLICK || h->code == NM_DBLCLK) {
      auto* n = reinterpret_cast<NMITEMACTIVATE*>(h);
      return {n->iItem, n->iSubItem};
    }
    if (h->code == HDN_ENDDRAG) {
      auto* n = reinterpret_cast<NMHEADERW*>(h);
      return {n->iItem, n->pitem ? n->pitem->iOrder : -1};
    }
    if (h->code == HDN_BEGINTRACKW || h->code == HDN_ENDTRACKW || h->code == HDN_ITEMCHANGEDW) {
      auto* n = reinterpret_cast<NMHEADERW*>(h);
      return {n->iItem, n->pitem ? n->pitem->cxy : -1};
    }
    if (h->code == NM_CUSTOMDRAW) {
      auto* n = reinterpret_cast<NMLVCUSTOMDRAW*>(h);
      return {static_cast<std::intptr_t>(n->nmcd.dwDrawStage), static_cast<std::intptr_t>(n->nmcd.dwItemSpec),
              n->iSubItem};
    }
    return {};
  }
};

}  // namespace wintest
