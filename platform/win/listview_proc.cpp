// listview_proc.cpp: the list view's class procedure: the LVM_* messages on rows,
// columns, states, rectangles and hit tests, and the header's notifications.
//
// Rectangles and points are in the list's client coordinates (the header's area
// included, frame excluded). Row operations are linear in the rows moved.
#include <QScrollBar>

#include "listview_widget.h"

namespace win::detail {
namespace {

QString TextOf(LPCWSTR text) { return text ? QString::fromUtf16(text) : QString(); }

}  // namespace

LRESULT ListViewWidget::Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  switch (message) {
    case LVM_GETITEMCOUNT: return model_.Rows();
    case LVM_INSERTITEMW: return InsertItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM:
      if (!model_.ValidRow(index)) return FALSE;
      DeleteRow(index);
      return TRUE;
    case LVM_DELETEALLITEMS: DeleteAll(); return TRUE;
    case LVM_SETITEMW: return SetItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMW: return GetItem(reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMTEXTW: {
      const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      if (!item || !model_.SetText(index, item->iSubItem, TextOf(item->pszText))) return FALSE;
      viewport()->update();
      return TRUE;
    }
    case LVM_GETITEMTEXTW: {
      auto* item = reinterpret_cast<LVITEMW*>(lParam);
      return item ? CopyOut(model_.Text(index, item->iSubItem), item->pszText, item->cchTextMax) : 0;
    }
    case LVM_SETITEMSTATE: {
      const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      return item ? SetState(index, item->state, item->stateMask) : FALSE;
    }
    case LVM_GETITEMSTATE: return State(index) & static_cast<UINT>(lParam);
    case LVM_GETNEXTITEM: return GetNextItem(index, static_cast<int>(lParam));
    case LVM_GETSELECTEDCOUNT: return selectionModel()->selectedRows().size();
    case LVM_ENSUREVISIBLE: return EnsureVisible(index);
    case LVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      return rect ? ItemRect(index, -1, rect->left, rect) : FALSE;
    }
    case LVM_GETSUBITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      return rect ? ItemRect(index, rect->top, rect->left, rect) : FALSE;
    }
    case LVM_HITTEST: return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST: return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_INSERTCOLUMNW: return InsertColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN:
      if (!model_.ValidColumn(index)) return FALSE;
      model_.RemoveColumn(index);
      return TRUE;
    case LVM_GETCOLUMNW: return GetColumn(index, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW: return SetColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNWIDTH: return model_.ValidColumn(index) ? header_->ReportedWidth(index) : 0;
    case LVM_SETCOLUMNWIDTH: return SetColumnWidth(index, static_cast<int>(lParam));
    case LVM_GETCOLUMNORDERARRAY: {
      auto* order = reinterpret_cast<int*>(lParam);
      if (!order || index > model_.Columns()) return FALSE;
      for (int visual = 0; visual < index; ++visual) order[visual] = header_->logicalIndex(visual);
      return TRUE;
    }
    case LVM_SETCOLUMNORDERARRAY: {
      const auto* order = reinterpret_cast<const int*>(lParam);
      if (!order || index > model_.Columns()) return FALSE;
      QSignalBlocker block(header_);
      for (int visual = 0; visual < index; ++visual)
        if (model_.ValidColumn(order[visual])) header_->moveSection(header_->visualIndex(order[visual]), visual);
      viewport()->update();
      return TRUE;
    }
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(HeaderHandle());
    case LVM_SETEXTENDEDLISTVIEWSTYLE: return SetExtendedStyle(static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return listExStyle_;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lParam);
      if (nm && nm->hwndFrom == HeaderHandle()) return HeaderNotification(h, wParam, nm);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        CopyRows();
        return 0;
      }
      return CommonProc(h, message, wParam, lParam);
    default: return CommonProc(h, message, wParam, lParam);
  }
}

LRESULT ListViewWidget::HeaderNotification(HWND h, WPARAM wParam, NMHDR* nm) {
  if (nm->code == HDN_ITEMCLICKW) {
    NMLISTVIEW click{};
    click.iItem = -1;
    click.iSubItem = reinterpret_cast<NMHEADERW*>(nm)->iItem;
    NotifyParent(h, &click.hdr, LVN_COLUMNCLICK);
    return 0;
  }
  // Every other header notification goes on to the list's parent as it is.
  return Alive(h->parent) ? Deliver(h->parent, WM_NOTIFY, wParam, reinterpret_cast<LPARAM>(nm)) : 0;
}

LRESULT ListViewWidget::SetExtendedStyle(DWORD mask, DWORD style) {
  DWORD previous = listExStyle_;
  if (mask == 0) mask = 0xFFFFFFFFu;
  listExStyle_ = (listExStyle_ & ~mask) | (style & mask);
  ApplyStyles();
  return previous;
}

LRESULT ListViewWidget::InsertColumn(int at, const LVCOLUMNW* info) {
  if (!info || at < 0) return -1;
  ListModel::Column column{(info->mask & LVCF_TEXT) ? TextOf(info->pszText) : QString(),
                           (info->mask & LVCF_FMT) ? info->fmt : LVCFMT_LEFT};
  int made = model_.InsertColumn(at, column);
  header_->resizeSection(made, (info->mask & LVCF_WIDTH) ? std::max(0, info->cx) : 0);
  if ((info->mask & LVCF_ORDER) && info->iOrder >= 0 && info->iOrder < model_.Columns()) {
    QSignalBlocker block(header_);
    header_->moveSection(header_->visualIndex(made), info->iOrder);
  }
  return made;
}

LRESULT ListViewWidget::GetColumn(int column, LVCOLUMNW* info) {
  if (!info || !model_.ValidColumn(column)) return FALSE;
  const ListModel::Column& c = model_.ColumnAt(column);
  if (info->mask & LVCF_FMT) info->fmt = c.format;
  if (info->mask & LVCF_WIDTH) info->cx = header_->ReportedWidth(column);
  if (info->mask & LVCF_TEXT) CopyOut(c.text, info->pszText, info->cchTextMax);
  if (info->mask & LVCF_SUBITEM) info->iSubItem = column;
  if (info->mask & LVCF_ORDER) info->iOrder = header_->visualIndex(column);
  return TRUE;
}

LRESULT ListViewWidget::SetColumn(int column, const LVCOLUMNW* info) {
  if (!info || !model_.ValidColumn(column)) return FALSE;
  ListModel::Column& c = model_.ColumnAt(column);
  if (info->mask & LVCF_FMT) c.format = info->fmt;
  if (info->mask & LVCF_TEXT) c.text = TextOf(info->pszText);
  if (info->mask & LVCF_WIDTH) SetColumnWidth(column, info->cx);
  if (info->mask & LVCF_ORDER) {
    QSignalBlocker block(header_);
    header_->moveSection(header_->visualIndex(column), std::clamp(info->iOrder, 0, model_.Columns() - 1));
  }
  header_->headerDataChanged(Qt::Horizontal, column, column);
  viewport()->update();
  return TRUE;
}

LRESULT ListViewWidget::SetColumnWidth(int column, int width) {
  if (!model_.ValidColumn(column)) return FALSE;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    int contents = sizeHintForColumn(column);
    int title = width == LVSCW_AUTOSIZE_USEHEADER ? header_->sectionSizeHint(column) : 0;
    width = std::max(contents, title);
  }
  header_->resizeSection(column, std::max(0, width));
  return TRUE;
}

LRESULT ListViewWidget::InsertItem(const LVITEMW* item) {
  if (!item || item->iSubItem != 0 || item->iItem < 0) return -1;
  ++quiet_;
  int row = model_.InsertRow(item->iItem, (item->mask & LVIF_TEXT) ? TextOf(item->pszText) : QString(),
                             (item->mask & LVIF_PARAM) ? item->lParam : 0);
  --quiet_;
  if (item->mask & LVIF_STATE) SetState(row, item->state, item->stateMask);
  return row;
}

LRESULT ListViewWidget::SetItem(const LVITEMW* item) {
  if (!item || !model_.ValidRow(item->iItem) || !model_.ValidColumn(item->iSubItem)) return FALSE;
  if (item->mask & LVIF_TEXT) model_.SetText(item->iItem, item->iSubItem, TextOf(item->pszText));
  if ((item->mask & LVIF_PARAM) && item->iSubItem == 0) model_.SetParam(item->iItem, item->lParam);
  if (item->mask & LVIF_STATE) SetState(item->iItem, item->state, item->stateMask);
  viewport()->update();
  return TRUE;
}

LRESULT ListViewWidget::GetItem(LVITEMW* item) {
  if (!item || !model_.ValidRow(item->iItem)) return FALSE;
  if (item->mask & LVIF_TEXT) CopyOut(model_.Text(item->iItem, item->iSubItem), item->pszText, item->cchTextMax);
  if (item->mask & LVIF_PARAM) item->lParam = model_.Param(item->iItem);
  if (item->mask & LVIF_STATE) item->state = State(item->iItem) & item->stateMask;
  return TRUE;
}

LRESULT ListViewWidget::GetNextItem(int start, int flags) const {
  UINT wanted = ((flags & LVNI_SELECTED) ? LVIS_SELECTED : 0u) | ((flags & LVNI_FOCUSED) ? LVIS_FOCUSED : 0u);
  for (int row = std::max(start + 1, 0); row < model_.Rows(); ++row)
    if ((State(row) & wanted) == wanted) return row;
  return -1;
}

LRESULT ListViewWidget::SetState(int row, UINT state, UINT mask) {
  if (row != -1 && !model_.ValidRow(row)) return FALSE;
  if (mask & LVIS_SELECTED) {
    auto flags = QItemSelectionModel::Rows |
                 ((state & LVIS_SELECTED) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
    if (row == -1) {
      if (model_.Rows() > 0)
        selectionModel()->select(QItemSelection(model_.index(0, 0), model_.index(model_.Rows() - 1, 0)), flags);
    } else {
      if ((state & LVIS_SELECTED) && selectionMode() == QAbstractItemView::SingleSelection)
        flags |= QItemSelectionModel::Clear;
      selectionModel()->select(model_.index(row, 0), flags);
    }
  }
  if ((mask & LVIS_FOCUSED) && row != -1) {
    if (state & LVIS_FOCUSED)
      selectionModel()->setCurrentIndex(model_.index(row, 0), QItemSelectionModel::NoUpdate);
    else if (currentIndex().row() == row)
      selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  return TRUE;
}

LRESULT ListViewWidget::EnsureVisible(int row) {
  if (!model_.ValidRow(row)) return FALSE;
  int horizontal = horizontalScrollBar()->value();  // rows scroll, columns stay
  scrollTo(model_.index(row, 0), QAbstractItemView::EnsureVisible);
  horizontalScrollBar()->setValue(horizontal);
  return TRUE;
}

LRESULT ListViewWidget::ItemRect(int row, int column, int code, RECT* rect) {
  if (!model_.ValidRow(row) || (column >= 0 && !model_.ValidColumn(column)) || model_.Columns() == 0) return FALSE;
  QRect cell = visualRect(model_.index(row, std::max(column, 0)));
  QRect r(header_->sectionViewportPosition(std::max(column, 0)), cell.top(), header_->sectionSize(std::max(column, 0)),
          cell.height());
  bool wholeRow = code == LVIR_BOUNDS && column <= 0;
  if (wholeRow) r = QRect(-header_->offset(), cell.top(), header_->length(), cell.height());
  *rect = ToClientRect(r);
  return TRUE;
}

LRESULT ListViewWidget::HitTest(LVHITTESTINFO* info, bool subItem) {
  if (!info) return -1;
  QPoint p = QPoint(info->pt.x, info->pt.y) + contentsRect().topLeft() - viewport()->geometry().topLeft();
  int column = header_->logicalIndexAt(p.x());
  int row = -1;
  for (int c = 0; c < model_.Columns() && row < 0; ++c)
    if (header_->sectionSize(c) > 0 && viewport()->rect().contains(QPoint(0, p.y())))
      row = indexAt(QPoint(header_->sectionViewportPosition(c), p.y())).row();
  bool onItem = row >= 0 && column >= 0;
  info->iItem = onItem ? row : -1;
  info->iSubItem = onItem && subItem ? column : 0;
  info->flags = onItem ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
  return info->iItem;
}

void ListViewWidget::DeleteRow(int row) {
  ++quiet_;
  model_.RemoveRow(row);
  --quiet_;
}

void ListViewWidget::DeleteAll() {
  ++quiet_;
  model_.Clear();
  --quiet_;
}

}  // namespace win::detail
