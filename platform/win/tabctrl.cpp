// tabctrl.cpp: the "SysTabControl32" class and CTabCtrl.
//
// A QTabBar along the top (kStripHeight pixels) over a framed area; the pages are
// ordinary child windows placed by the owner in client coordinates. Only a change made
// by the user sends TCN_SELCHANGE.
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include "controls.h"
#include "resources.h"
#include "tabctrl.h"

namespace win::detail {
namespace {

constexpr int kStripHeight = 21;

class TabWidget : public Win<QWidget> {
 public:
  explicit TabWidget(QWidget* parent) : Win<QWidget>(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setFixedHeight(kStripHeight);
    connect(bar_, &QTabBar::currentChanged, [this] {
      if (handle && !programmatic_) {
        NMHDR header{};
        NotifyParent(handle, &header, TCN_SELCHANGE);
      }
    });
  }
  ~TabWidget() override { WidgetDestroyed(this); }

  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override {
    int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    bool valid = index >= 0 && index < bar_->count();
    switch (message) {
      case TCM_INSERTITEMW: return Insert(index, reinterpret_cast<const TCITEMW*>(lParam));
      case TCM_DELETEITEM:
        if (!valid) return FALSE;
        Quietly([&] { bar_->removeTab(index); });
        params_.erase(params_.begin() + index);
        return TRUE;
      case TCM_DELETEALLITEMS:
        Quietly([&] { while (bar_->count()) bar_->removeTab(0); });
        params_.clear();
        return TRUE;
      case TCM_GETITEMCOUNT: return bar_->count();
      case TCM_GETCURSEL: return bar_->currentIndex();
      case TCM_SETCURSEL: {
        if (!valid) return -1;
        int previous = bar_->currentIndex();
        Quietly([&] { bar_->setCurrentIndex(index); });
        return previous;
      }
      case TCM_GETITEMW: return GetItem(index, reinterpret_cast<TCITEMW*>(lParam));
      default: return CommonProc(h, message, wParam, lParam);
    }
  }

 protected:
  void resizeEvent(QResizeEvent* e) override {
    bar_->setGeometry(0, 0, width(), kStripHeight);
    Win<QWidget>::resizeEvent(e);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, kStripHeight - 1, 0, 0);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
  }

 private:
  template <class F>
  void Quietly(F f) {
    programmatic_ = true;
    f();
    programmatic_ = false;
  }
  LRESULT Insert(int index, const TCITEMW* item) {
    if (!item || index < 0) return -1;
    index = std::min(index, bar_->count());
    QString text = (item->mask & TCIF_TEXT) ? ToQt(item->pszText) : QString();
    Quietly([&] { bar_->insertTab(index, text); });
    params_.insert(params_.begin() + index, (item->mask & TCIF_PARAM) ? item->lParam : 0);
    return index;
  }
  LRESULT GetItem(int index, TCITEMW* item) {
    if (!item || index < 0 || index >= bar_->count()) return FALSE;
    if (item->mask & TCIF_TEXT) CopyOut(bar_->tabText(index), item->pszText, item->cchTextMax);
    if (item->mask & TCIF_PARAM) item->lParam = params_[static_cast<std::size_t>(index)];
    return TRUE;
  }

  QTabBar* bar_;
  std::vector<LPARAM> params_;
  bool programmatic_ = false;
};

}  // namespace

WindowImpl* MakeTabControl(DWORD, QWidget* parent) { return new TabWidget(parent); }

}  // namespace win::detail

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, win::kTabControlClass, nullptr, style | WS_CHILD, rect, parent, id);
}
LONG CTabCtrl::InsertItem(int item, LPCWSTR text) { return InsertItem(TCIF_TEXT, item, text, 0, 0); }
LONG CTabCtrl::InsertItem(UINT mask, int item, LPCWSTR text, int image, LPARAM lParam) {
  TCITEMW info{mask, 0, 0, const_cast<LPWSTR>(text), 0, image, lParam};
  return InsertItem(item, &info);
}
LONG CTabCtrl::InsertItem(int item, const TCITEMW* info) {
  return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(info)));
}
BOOL CTabCtrl::GetItem(int item, TCITEMW* info) const {
  return static_cast<BOOL>(SendMessage(TCM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(info)));
}
BOOL CTabCtrl::DeleteItem(int item) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(item))); }
BOOL CTabCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
int CTabCtrl::GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
int CTabCtrl::GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
int CTabCtrl::SetCurSel(int item) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(item))); }
