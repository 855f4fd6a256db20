// listview_header.cpp: the list view's header as a window: HDM_GETITEMCOUNT and
// HDM_GETITEMW, and the header notifications sent to the list (which passes them on to
// its parent unless a subclass of the list answers them first).
//
// Divider drags are tracked here rather than by Qt, so that HDN_BEGINTRACKW can refuse
// them. Where dividers coincide (a column of width 0 after its neighbour), the drag
// takes the later column, as the desktop header does.
#include <QMouseEvent>

#include "listview_widget.h"

namespace win::detail {

HeaderWidget::HeaderWidget(ListViewWidget* list) : Win<QHeaderView>(Qt::Horizontal, list), list_(list) {
  setSectionResizeMode(QHeaderView::Fixed);
  setMinimumSectionSize(0);
  setStretchLastSection(false);
  setHighlightSections(false);
  setSortIndicatorShown(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(this, &QHeaderView::sectionClicked, [this](int logical) { NotifyHeader(HDN_ITEMCLICKW, logical, nullptr); });
  connect(this, &QHeaderView::sectionMoved, this, &HeaderWidget::OnSectionMoved);
}

HeaderWidget::~HeaderWidget() { WidgetDestroyed(this); }

int HeaderWidget::ReportedWidth(int column) const {
  return column == trackColumn_ ? trackStartWidth_ : sectionSize(column);
}

LRESULT HeaderWidget::NotifyHeader(UINT code, int column, HDITEMW* item) {
  if (!handle) return 0;
  NMHEADERW nm{};
  nm.iItem = column;
  nm.pitem = item;
  return NotifyParent(handle, &nm.hdr, code);
}

int HeaderWidget::DividerAt(int x) const {
  int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this) + 1;
  for (int visual = count() - 1; visual >= 0; --visual) {
    int logical = logicalIndex(visual);
    if (isSectionHidden(logical)) continue;
    int edge = sectionViewportPosition(logical) + sectionSize(logical);
    if (std::abs(x - edge) <= grip) return logical;
  }
  return -1;
}

void HeaderWidget::mousePressEvent(QMouseEvent* e) {
  int column = e->button() == Qt::LeftButton ? DividerAt(e->pos().x()) : -1;
  if (column < 0) {
    Win<QHeaderView>::mousePressEvent(e);
    return;
  }
  e->accept();
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = sectionSize(column);
  QPointer<HeaderWidget> self(this);
  if (NotifyHeader(HDN_BEGINTRACKW, column, &item) != 0 || !self) return;  // refused
  trackColumn_ = column;
  trackStartWidth_ = sectionSize(column);
  trackStartX_ = e->pos().x();
}

void HeaderWidget::mouseMoveEvent(QMouseEvent* e) {
  if (trackColumn_ < 0) {
    setCursor(DividerAt(e->pos().x()) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    Win<QHeaderView>::mouseMoveEvent(e);
    return;
  }
  resizeSection(trackColumn_, std::max(0, trackStartWidth_ + e->pos().x() - trackStartX_));
  e->accept();
}

void HeaderWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (trackColumn_ < 0) {
    Win<QHeaderView>::mouseReleaseEvent(e);
    return;
  }
  e->accept();
  int column = trackColumn_;
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = std::max(0, trackStartWidth_ + e->pos().x() - trackStartX_);
  resizeSection(column, item.cxy);
  QPointer<HeaderWidget> self(this);
  NotifyHeader(HDN_ENDTRACKW, column, &item);
  if (!self) return;
  trackColumn_ = -1;
  item.cxy = sectionSize(column);
  NotifyHeader(HDN_ITEMCHANGEDW, column, &item);
}

void HeaderWidget::OnSectionMoved(int logical, int oldVisual, int newVisual) {
  if (movingBack_) return;
  HDITEMW item{};
  item.mask = HDI_ORDER;
  item.iOrder = newVisual;
  QPointer<HeaderWidget> self(this);
  if (NotifyHeader(HDN_ENDDRAG, logical, &item) == 0 || !self) return;
  movingBack_ = true;  // the parent cancelled the drop
  moveSection(newVisual, oldVisual);
  movingBack_ = false;
}

LRESULT HeaderWidget::Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  switch (message) {
    case HDM_GETITEMCOUNT:
      return count();
    case HDM_GETITEMW: {
      auto* item = reinterpret_cast<HDITEMW*>(lParam);
      if (!item || index < 0 || index >= count()) return FALSE;
      const ListModel& model = list_->Model();
      if (item->mask & HDI_TEXT) CopyOut(model.ColumnAt(index).text, item->pszText, item->cchTextMax);
      if (item->mask & HDI_WIDTH) item->cxy = ReportedWidth(index);
      if (item->mask & HDI_FORMAT) item->fmt = model.ColumnAt(index).format & LVCFMT_JUSTIFYMASK;
      if (item->mask & HDI_ORDER) item->iOrder = visualIndex(index);
      if (item->mask & HDI_LPARAM) item->lParam = 0;
      return TRUE;
    }
    default:
      return CommonProc(h, message, wParam, lParam);
  }
}

}  // namespace win::detail
