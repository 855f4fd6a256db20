// dialog_impl.h (internal): the dialog window class: template identity, dialog units,
// dynamic layout, the modal loop state and dialog keys (Enter, Escape).
#pragma once

#include <QEventLoop>

#include <memory>
#include <vector>

#include "handle.h"
#include "resources.h"

namespace win::detail {

struct ModalState {
  QEventLoop* loop = nullptr;
  bool ended = false;
  INT_PTR result = 0;
};

class DialogWidget : public Win<QWidget> {
 public:
  DialogWidget(QWidget* parent, UINT templateId);
  ~DialogWidget() override;

  UINT TemplateId() const { return templateId_; }
  // Dialog units to pixels with this dialog's font.
  QRect MapDialogRect(QRect units) const;
  void SetBaseUnits(int x, int y) { baseX_ = x; baseY_ = y; }
  void AddLayoutItem(HWND control, const DynamicLayoutItem& item);
  void SetInitialClientSize(QSize size) { initialClient_ = size; }
  std::shared_ptr<ModalState> Modal() { return modal_; }
  void MakeModal() { modal_ = std::make_shared<ModalState>(); }
  void End(INT_PTR result);

  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  struct LayoutEntry {
    HWND control;
    QRect initial;
    DynamicLayoutItem item;
  };
  void ApplyLayout();
  void DialogKey(QKeyEvent* e);
  int DefaultButtonId(HWND* button) const;

  UINT templateId_;
  int baseX_ = 6;
  int baseY_ = 13;
  QSize initialClient_;
  std::vector<LayoutEntry> layout_;
  std::shared_ptr<ModalState> modal_;
};

// Makes the dialog window of a template for `object`, owned by (top-level) or child of
// (WS_CHILD templates) parent, runs WM_INITDIALOG. Null when the template is unknown or
// a child template has no parent.
HWND BuildDialog(UINT templateId, CWnd* object, HWND parent, bool modal);
DialogWidget* DialogOf(HWND h);

}  // namespace win::detail
