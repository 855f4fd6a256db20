// dialog.h: dialogs built from registered templates (CDialog, CDialogEx) and dialog
// data exchange (DDX_Control, DDX_Text, DDX_Check).
//
// A template (resources.h) gives the dialog's size and its controls in dialog units;
// they are converted to pixels through the metrics of the template's font, so layouts
// scale with the screen's font. Creation makes every control of the template, records
// the dynamic layout, sends WM_INITDIALOG (OnInitDialog), then asks WM_GETMINMAXINFO
// for the tracking limits of a resizable window. The default WM_SIZE handling moves and
// sizes the controls by the template's percentages of the size change.
// Modal: DoModal shows the dialog owned by its parent and runs a nested Qt event loop
// until EndDialog; the window is destroyed before DoModal returns, the object stays and
// can run again. Modeless: Create; a template with WS_CHILD makes a child page without
// caption. Enter in a dialog sends the default button's command (IDOK without one),
// Escape sends IDCANCEL; the base OnOK/OnCancel end the dialog (a modeless one is only
// hidden).
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CDialog : public CWnd {
 public:
  CDialog();
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);

  // Modeless creation; FALSE when the template is not registered.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);
  // Returns the value given to EndDialog, or -1 when the template is not registered.
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  // IDOK and IDCANCEL go to OnOK and OnCancel.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Dialog units of this dialog's font to pixels.
  void MapDialogRect(LPRECT rect) const;
  UINT GetTemplateId() const { return m_nIDTemplate; }

 protected:
  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;
};

// The extended dialog base; in this layer the same as CDialog.
class VETRIX_WIN_API CDialogEx : public CDialog {
 public:
  using CDialog::CDialog;
};

// The direction and target of one UpdateData pass.
class VETRIX_WIN_API CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to members
  CWnd* m_pDlgWnd;
};

// Binds a member control object to the dialog's control `id` (once; later passes do
// nothing). The control's PreSubclassWindow runs.
VETRIX_WIN_API void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// A control's text; multi-line edits exchange line breaks as "\r\n".
VETRIX_WIN_API void DDX_Text(CDataExchange* dx, int id, sys::Text& value);
// A check box: BST_UNCHECKED (0) or BST_CHECKED (1).
VETRIX_WIN_API void DDX_Check(CDataExchange* dx, int id, int& value);

// Ends the modal or modeless dialog `dialog` (for hooks that only hold a handle).
VETRIX_WIN_API BOOL EndDialog(HWND dialog, INT_PTR result);
// Dialog units of a dialog window's font to pixels; FALSE for a non-dialog window.
VETRIX_WIN_API BOOL MapDialogRect(HWND dialog, LPRECT rect);
