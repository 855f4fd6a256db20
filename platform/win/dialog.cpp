// dialog.cpp: CDialog (modeless Create, modal DoModal / EndDialog, the default OK and
// Cancel) and dialog data exchange.
//
// DoModal shows the dialog application-modal and runs a nested Qt event loop; the modal
// dialog hook, when set, runs from that loop once the dialog is shown. The window is
// destroyed before DoModal returns and the owner is activated again.
#include <QApplication>
#include <QPointer>
#include <QTimer>

#include "dialog.h"
#include "dialog_impl.h"
#include "hooks_impl.h"

using namespace win::detail;

namespace {

constexpr int kHookTries = 200;

HWND ActiveOwner() {
  HWND active = HandleOfWidget(QApplication::activeWindow());
  while (Alive(active) && IsChildWindow(active)) active = active->parent;
  return active;
}

// Runs the modal dialog hook from the dialog's loop once the dialog is active (the
// window system activates asynchronously), or after about a second regardless.
void RunModalHookLater(HWND h, std::uint64_t serial, UINT templateId, int triesLeft) {
  QTimer::singleShot(triesLeft == kHookTries ? 0 : 5, qApp, [h, serial, templateId, triesLeft] {
    DialogWidget* dialog = AliveWithSerial(h, serial) ? DialogOf(h) : nullptr;
    if (!dialog || !dialog->Modal() || dialog->Modal()->ended || !ModalHook()) return;
    if (!dialog->isActiveWindow() && triesLeft > 0) {
      RunModalHookLater(h, serial, templateId, triesLeft - 1);
      return;
    }
    ModalHook()(h, templateId);
  });
}

}  // namespace

CDialog::CDialog() = default;
CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDTemplate = templateId;
  if (parent) m_pParentWnd = parent;
  return BuildDialog(templateId, this, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, false) ? TRUE : FALSE;
}

INT_PTR CDialog::DoModal() {
  HWND owner = m_pParentWnd && Alive(m_pParentWnd->m_hWnd) ? m_pParentWnd->m_hWnd : ActiveOwner();
  HWND h = BuildDialog(m_nIDTemplate, this, owner, true);
  if (!h) return -1;
  std::shared_ptr<ModalState> state = DialogOf(h)->Modal();
  if (!state->ended) {
    h->widget->setWindowModality(Qt::ApplicationModal);
    ::ShowWindow(h, SW_SHOW);
    if (ModalHook()) RunModalHookLater(h, SerialOf(h), m_nIDTemplate, kHookTries);
    QEventLoop loop;
    state->loop = &loop;
    if (!state->ended) loop.exec(QEventLoop::DialogExec);
    state->loop = nullptr;
  }
  if (Alive(h)) DestroyHandle(h);
  if (Alive(owner) && owner->widget) owner->widget->window()->activateWindow();
  return state->result;
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
  }
}

void CDialog::MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogWidget* widget = DialogOf(dialog);
  if (!widget) return FALSE;
  widget->End(result);
  return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogWidget* widget = DialogOf(dialog);
  if (!widget || !rect) return FALSE;
  QRect r = widget->MapDialogRect(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
  *rect = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  return TRUE;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd || !dx || !dx->m_pDlgWnd) return;
  control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, int id, sys::Text& value) {
  if (!dx || !dx->m_pDlgWnd) return;
  if (dx->m_bSaveAndValidate)
    value = dx->m_pDlgWnd->GetDlgItemText(id);
  else
    dx->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  if (!dx || !dx->m_pDlgWnd) return;
  if (dx->m_bSaveAndValidate)
    value = static_cast<int>(dx->m_pDlgWnd->IsDlgButtonChecked(id));
  else
    dx->m_pDlgWnd->CheckDlgButton(id, static_cast<UINT>(value));
}
