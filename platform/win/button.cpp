// button.cpp: the "Button" class (push buttons, icon buttons, check boxes, group boxes)
// and CButton.
//
// A click sends BN_CLICKED to the parent after an automatic check box has toggled; a
// plain BS_CHECKBOX does not toggle by itself. Group boxes are frames behind their
// sibling controls and send nothing.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include <type_traits>

#include "button.h"
#include "controls.h"
#include "resources_impl.h"

namespace win::detail {
namespace {

LRESULT ButtonProc(HWND h, QAbstractButton* button, HICON* icon, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_GETCHECK:
      return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      if (button && button->isCheckable()) button->setChecked(wParam == BST_CHECKED);
      return 0;
    case BM_CLICK:
      if (button && button->isEnabled()) button->click();
      return 0;
    case BM_SETIMAGE: {
      if (wParam != IMAGE_ICON || !button) return 0;
      HICON previous = *icon;
      *icon = reinterpret_cast<HICON>(lParam);
      button->setIcon(IconToQt(*icon));
      if (*icon) button->setIconSize((*icon)->pixmap.size());
      return reinterpret_cast<LRESULT>(previous);
    }
    case BM_GETIMAGE:
      return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(*icon) : 0;
    default:
      return CommonProc(h, message, wParam, lParam);
  }
}

template <class Base>
class ButtonWidget : public Win<Base> {
 public:
  explicit ButtonWidget(QWidget* parent) : Win<Base>(parent) {
    if constexpr (std::is_base_of_v<QAbstractButton, Base>)
      QObject::connect(this, &QAbstractButton::clicked, [this] {
        if (this->handle) CommandParent(this->handle, BN_CLICKED);
      });
  }
  ~ButtonWidget() override { WidgetDestroyed(this); }
  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override {
    QAbstractButton* button = nullptr;
    if constexpr (std::is_base_of_v<QAbstractButton, Base>) button = this;
    return ButtonProc(h, button, &icon_, message, wParam, lParam);
  }
  QString Text() const override {
    if constexpr (std::is_base_of_v<QGroupBox, Base>)
      return this->title();
    else
      return this->text();
  }
  void SetText(const QString& text) override {
    if constexpr (std::is_base_of_v<QGroupBox, Base>)
      this->setTitle(text);
    else
      this->setText(text);
  }

 private:
  HICON icon_ = nullptr;
};

// BS_CHECKBOX: the owner sets the state; a click only reports.
class ManualCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

}  // namespace

WindowImpl* MakeButton(DWORD style, QWidget* parent) {
  switch (style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX: return new ButtonWidget<QCheckBox>(parent);
    case BS_CHECKBOX: return new ButtonWidget<ManualCheckBox>(parent);
    case BS_GROUPBOX: {
      auto* box = new ButtonWidget<QGroupBox>(parent);
      box->setFocusPolicy(Qt::NoFocus);
      return box;
    }
    default: {
      auto* button = new ButtonWidget<QPushButton>(parent);
      button->setAutoDefault(false);
      return button;
    }
  }
}

}  // namespace win::detail

BOOL CButton::Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, win::kButtonClass, caption, style | WS_CHILD, rect, parent, id);
}
int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
HICON CButton::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
}
HICON CButton::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)); }
