// listview_widget.cpp: the list view's Qt side: construction from the styles, state
// changes as LVN_ITEMCHANGED, clicks as NM_CLICK / NM_DBLCLK, scrolling as WM_VSCROLL /
// WM_HSCROLL, and custom draw (NM_CUSTOMDRAW) around every paint.
//
// Custom draw: CDDS_PREPAINT once per paint; when answered with CDRF_NOTIFYITEMDRAW,
// CDDS_ITEMPREPAINT once per row painted; when that is answered with
// CDRF_NOTIFYSUBITEMDRAW, a sub-item stage per cell. A colour other than CLR_DEFAULT
// replaces the list's own, selection highlight included. Costs one notification per
// painted row or cell, nothing for rows out of view.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "controls.h"
#include "listview_widget.h"

namespace win::detail {
namespace {

QColor FromColorRef(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

UINT KeyFlags(Qt::KeyboardModifiers mods) {
  return ((mods & Qt::AltModifier) ? 0x1u : 0u) | ((mods & Qt::ControlModifier) ? 0x2u : 0u) |
         ((mods & Qt::ShiftModifier) ? 0x4u : 0u);
}

UINT ScrollCode(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    default: return SB_THUMBTRACK;
  }
}

}  // namespace

ListViewWidget::ListViewWidget(DWORD style, DWORD exStyle, QWidget* parent)
    : Win<QTreeView>(parent), delegate_(this) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setIndentation(0);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTextElideMode(Qt::ElideRight);
  setItemDelegate(&delegate_);
  header_ = new HeaderWidget(this);
  setHeader(header_);
  setModel(&model_);
  bool border = (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE);
  setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListViewWidget::OnSelectionChanged);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &ListViewWidget::OnCurrentChanged);
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, [this](int a) { OnScrollAction(a, true); });
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, [this](int a) { OnScrollAction(a, false); });
}

ListViewWidget::~ListViewWidget() {
  WidgetDestroyed(this);
  setModel(nullptr);
}

void ListViewWidget::Created(HWND h) {
  NewHandle(WindowKind::Header, header_, h, 0, WS_CHILD | WS_VISIBLE, 0);
  ApplyStyles();
}

void ListViewWidget::StyleChanged() { ApplyStyles(); }

void ListViewWidget::ApplyStyles() {
  DWORD style = handle ? handle->style : 0;
  setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                           : QAbstractItemView::ExtendedSelection);
  header_->setVisible(!(style & LVS_NOCOLUMNHEADER));
  header_->setSectionsClickable(!(style & LVS_NOSORTHEADER));
  header_->setSectionsMovable((listExStyle_ & LVS_EX_HEADERDRAGDROP) != 0);
  viewport()->update();
}

UINT ListViewWidget::State(int row) const {
  if (!model_.ValidRow(row)) return 0;
  UINT state = selectionModel()->isRowSelected(row, QModelIndex()) ? LVIS_SELECTED : 0;
  if (currentIndex().isValid() && currentIndex().row() == row) state |= LVIS_FOCUSED;
  return state;
}

void ListViewWidget::NotifyStateChange(int row, UINT oldState, UINT newState) {
  if (!handle || quiet_ || oldState == newState || !model_.ValidRow(row)) return;
  NMLISTVIEW nm{};
  nm.iItem = row;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = LVIF_STATE;
  nm.lParam = model_.Param(row);
  NotifyParent(handle, &nm.hdr, LVN_ITEMCHANGED);
}

void ListViewWidget::OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  auto rowsOf = [](const QItemSelection& s) {
    std::vector<int> rows;
    for (const QItemSelectionRange& r : s)
      for (int row = r.top(); row <= r.bottom(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
  };
  std::vector<int> on = rowsOf(selected);
  std::vector<int> off = rowsOf(deselected);
  std::vector<int> all;
  std::set_union(on.begin(), on.end(), off.begin(), off.end(), std::back_inserter(all));
  for (int row : all) {
    UINT now = State(row);
    bool wasSelected = std::binary_search(off.begin(), off.end(), row);
    UINT before = (now & ~LVIS_SELECTED) | (wasSelected ? LVIS_SELECTED : 0);
    NotifyStateChange(row, before, now);
  }
}

void ListViewWidget::OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (previous.isValid() && previous.row() != current.row()) {
    UINT now = State(previous.row());
    NotifyStateChange(previous.row(), now | LVIS_FOCUSED, now);
  }
  if (current.isValid() && (!previous.isValid() || previous.row() != current.row())) {
    UINT now = State(current.row());
    NotifyStateChange(current.row(), now & ~LVIS_FOCUSED, now);
  }
}

QPoint ListViewWidget::ViewportToClient(QPoint p) const {
  return p + viewport()->geometry().topLeft() - contentsRect().topLeft();
}

RECT ListViewWidget::ToClientRect(const QRect& r) const {
  QPoint topLeft = ViewportToClient(r.topLeft());
  return {topLeft.x(), topLeft.y(), topLeft.x() + r.width(), topLeft.y() + r.height()};
}

void ListViewWidget::NotifyActivate(UINT code, QMouseEvent* e) {
  QPoint client = ViewportToClient(e->pos());
  LVHITTESTINFO hit{{client.x(), client.y()}, 0, -1, -1};
  HitTest(&hit, true);
  NMITEMACTIVATE nm{};
  nm.iItem = hit.iItem;
  nm.iSubItem = hit.iSubItem;
  nm.ptAction = hit.pt;
  nm.lParam = model_.ValidRow(hit.iItem) ? model_.Param(hit.iItem) : 0;
  nm.uKeyFlags = KeyFlags(e->modifiers());
  NotifyParent(handle, &nm.hdr, code);
}

void ListViewWidget::mouseReleaseEvent(QMouseEvent* e) {
  QPointer<ListViewWidget> self(this);
  QTreeView::mouseReleaseEvent(e);
  bool afterDouble = afterDoubleClick_;
  afterDoubleClick_ = false;
  if (self && handle && e->button() == Qt::LeftButton && !afterDouble) NotifyActivate(NM_CLICK, e);
}

void ListViewWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  QPointer<ListViewWidget> self(this);
  QTreeView::mouseDoubleClickEvent(e);
  if (!self || !handle || e->button() != Qt::LeftButton) return;
  afterDoubleClick_ = true;
  NotifyActivate(NM_DBLCLK, e);
}

void ListViewWidget::OnScrollAction(int action, bool vertical) {
  if (!handle) return;
  QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
  WPARAM wParam = MAKEWPARAM(ScrollCode(action), static_cast<unsigned>(bar->sliderPosition()));
  Deliver(handle, vertical ? WM_VSCROLL : WM_HSCROLL, wParam, 0);
}

void ListViewWidget::paintEvent(QPaintEvent* e) {
  prepaint_ = CDRF_DODEFAULT;
  paintRow_ = -1;
  NMLVCUSTOMDRAW nm{};
  if (handle) {
    nm.nmcd.dwDrawStage = CDDS_PREPAINT;
    nm.nmcd.rc = ToClientRect(viewport()->rect());
    nm.clrText = nm.clrTextBk = CLR_DEFAULT;
    prepaint_ = NotifyParent(handle, &nm.nmcd.hdr, NM_CUSTOMDRAW);
  }
  if (prepaint_ & CDRF_SKIPDEFAULT) return;
  QTreeView::paintEvent(e);
  if (handle && (prepaint_ & CDRF_NOTIFYPOSTPAINT)) {
    nm.nmcd.dwDrawStage = CDDS_POSTPAINT;
    NotifyParent(handle, &nm.nmcd.hdr, NM_CUSTOMDRAW);
  }
}

ListViewWidget::CellLook ListViewWidget::CustomDrawCell(int row, int column, const QRect& rect) {
  if (!handle || !(prepaint_ & CDRF_NOTIFYITEMDRAW) || !model_.ValidRow(row)) return {};
  UINT state = State(row);
  NMLVCUSTOMDRAW nm{};
  nm.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
  nm.nmcd.uItemState = ((state & LVIS_SELECTED) ? CDIS_SELECTED : 0u) | ((state & LVIS_FOCUSED) ? CDIS_FOCUS : 0u);
  nm.nmcd.lItemlParam = model_.Param(row);
  if (row != paintRow_) {  // the first cell painted of this row
    paintRow_ = row;
    QRect rowRect(-header_->offset(), rect.top(), header_->length(), rect.height());
    nm.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    nm.nmcd.rc = ToClientRect(rowRect);
    nm.clrText = nm.clrTextBk = CLR_DEFAULT;
    rowResult_ = NotifyParent(handle, &nm.nmcd.hdr, NM_CUSTOMDRAW);
    rowLook_ = {(rowResult_ & CDRF_SKIPDEFAULT) != 0, nm.clrText, nm.clrTextBk};
  }
  CellLook look = rowLook_;
  if (!look.skip && (rowResult_ & CDRF_NOTIFYSUBITEMDRAW)) {
    nm.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
    nm.nmcd.rc = ToClientRect(rect);
    nm.iSubItem = column;
    nm.clrText = nm.clrTextBk = CLR_DEFAULT;
    LRESULT result = NotifyParent(handle, &nm.nmcd.hdr, NM_CUSTOMDRAW);
    look = {(result & CDRF_SKIPDEFAULT) != 0, nm.clrText, nm.clrTextBk};
  }
  return look;
}

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  ListViewWidget::CellLook look = list_->CustomDrawCell(index.row(), index.column(), option.rect);
  if (look.skip) return;
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  bool fullRow = list_->ListExStyle() & LVS_EX_FULLROWSELECT;
  if (!fullRow && index.column() != 0) opt.state &= ~QStyle::State_Selected;
  if (look.background != CLR_DEFAULT && look.background != CLR_NONE) {
    painter->fillRect(opt.rect, FromColorRef(look.background));
    opt.state &= ~QStyle::State_Selected;
    opt.backgroundBrush = Qt::NoBrush;
  }
  if (look.text != CLR_DEFAULT && look.text != CLR_NONE) {
    opt.palette.setColor(QPalette::Text, FromColorRef(look.text));
    opt.palette.setColor(QPalette::HighlightedText, FromColorRef(look.text));
  }
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
  if (list_->ListExStyle() & LVS_EX_GRIDLINES) {
    painter->save();
    painter->setPen(opt.palette.color(QPalette::Midlight).darker(110));
    painter->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
    painter->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
    painter->restore();
  }
}

WindowImpl* MakeListView(DWORD style, DWORD exStyle, QWidget* parent) {
  return new ListViewWidget(style, exStyle, parent);
}

ListViewWidget* ListViewOf(HWND h) {
  return Alive(h) && h->kind == WindowKind::ListView ? static_cast<ListViewWidget*>(h->impl) : nullptr;
}

}  // namespace win::detail
