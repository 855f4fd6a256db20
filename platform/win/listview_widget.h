// listview_widget.h (internal): the "SysListView32" class: a QTreeView over ListModel
// in report mode, its header (a window of its own, identifier 0) and the delegate
// that asks the parent for colours through NM_CUSTOMDRAW.
#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "handle.h"
#include "listview_model.h"

namespace win::detail {

class ListViewWidget;

// The header: clicks become HDN_ITEMCLICKW, divider drags HDN_BEGINTRACKW / HDN_ENDTRACKW
// (tracked here so a parent can refuse them), drops HDN_ENDDRAG. While a divider is
// being dragged, the column reports the width it had when the drag began.
class HeaderWidget : public Win<QHeaderView> {
 public:
  explicit HeaderWidget(ListViewWidget* list);
  ~HeaderWidget() override;
  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override;
  int ReportedWidth(int column) const;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  int DividerAt(int x) const;
  LRESULT NotifyHeader(UINT code, int column, HDITEMW* item);
  void OnSectionMoved(int logical, int oldVisual, int newVisual);

  ListViewWidget* list_;
  int trackColumn_ = -1;
  int trackStartWidth_ = 0;
  int trackStartX_ = 0;
  bool movingBack_ = false;
};

class ListDelegate : public QStyledItemDelegate {
 public:
  explicit ListDelegate(ListViewWidget* list) : QStyledItemDelegate(nullptr), list_(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  ListViewWidget* list_;
};

class ListViewWidget : public Win<QTreeView> {
 public:
  ListViewWidget(DWORD style, DWORD exStyle, QWidget* parent);
  ~ListViewWidget() override;

  void Created(HWND h) override;
  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override;
  void StyleChanged() override;
  QString Text() const override { return {}; }
  void SetText(const QString&) override {}

  ListModel& Model() { return model_; }
  HeaderWidget* Header() const { return header_; }
  HWND HeaderHandle() const { return header_ ? header_->handle : nullptr; }
  DWORD ListExStyle() const { return listExStyle_; }
  UINT State(int row) const;

  struct CellLook {
    bool skip = false;
    COLORREF text = CLR_DEFAULT;
    COLORREF background = CLR_DEFAULT;
  };
  // Custom draw for one cell of the paint under way.
  CellLook CustomDrawCell(int row, int column, const QRect& viewportRect);
  // Ctrl+C: the selected rows (all rows when none is selected) with the header line, as
  // tab-separated text in the order and with the texts shown; hidden (zero-width) columns
  // are left out (listview_copy.cpp).
  QString RowsAsText() const;
  void CopyRows() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  // Messages (listview_proc.cpp).
  LRESULT InsertColumn(int at, const LVCOLUMNW* info);
  LRESULT GetColumn(int column, LVCOLUMNW* info);
  LRESULT SetColumn(int column, const LVCOLUMNW* info);
  LRESULT SetColumnWidth(int column, int width);
  LRESULT InsertItem(const LVITEMW* item);
  LRESULT SetItem(const LVITEMW* item);
  LRESULT GetItem(LVITEMW* item);
  LRESULT GetNextItem(int start, int flags) const;
  LRESULT SetState(int row, UINT state, UINT mask);
  LRESULT EnsureVisible(int row);
  LRESULT ItemRect(int row, int column, int code, RECT* rect);
  LRESULT HitTest(LVHITTESTINFO* info, bool subItem);
  LRESULT HeaderNotification(HWND h, WPARAM wParam, NMHDR* header);
  LRESULT SetExtendedStyle(DWORD mask, DWORD style);
  void DeleteRow(int row);
  void DeleteAll();

  // Notifications (listview_widget.cpp).
  void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  void OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
  void NotifyStateChange(int row, UINT oldState, UINT newState);
  void NotifyActivate(UINT code, QMouseEvent* e);
  void OnScrollAction(int action, bool vertical);
  QPoint ViewportToClient(QPoint p) const;
  RECT ToClientRect(const QRect& viewportRect) const;
  void ApplyStyles();

  ListModel model_;
  ListDelegate delegate_;
  HeaderWidget* header_ = nullptr;
  DWORD listExStyle_ = 0;
  int quiet_ = 0;  // > 0: state changes made by row insertion or removal, not reported
  bool afterDoubleClick_ = false;
  LRESULT prepaint_ = CDRF_DODEFAULT;
  int paintRow_ = -1;
  LRESULT rowResult_ = CDRF_DODEFAULT;
  CellLook rowLook_;

  friend class HeaderWidget;
};

ListViewWidget* ListViewOf(HWND h);

}  // namespace win::detail
