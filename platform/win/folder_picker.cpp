// folder_picker.cpp: CFolderPickerDialog over QFileDialog's folder mode, or answered
// by the folder picker hook.
#include <QFileDialog>

#include "folder_picker.h"
#include "handle.h"
#include "hooks_impl.h"

using namespace win::detail;

CFolderPickerDialog::CFolderPickerDialog(LPCWSTR folder, DWORD, CWnd* parent)
    : start_(folder ? sys::Text(folder) : sys::Text()), parent_(parent) {}

INT_PTR CFolderPickerDialog::DoModal() {
  HWND owner = parent_ && Alive(parent_->m_hWnd) ? parent_->m_hWnd : nullptr;
  std::optional<sys::Text> chosen;
  if (const win::FolderPickerHook& hook = FolderHook()) {
    chosen = hook(owner);
  } else {
    QWidget* parent = owner && owner->widget ? owner->widget->window() : nullptr;
    QString folder = QFileDialog::getExistingDirectory(parent, QString(), ToQt(start_));
    if (!folder.isEmpty()) chosen = FromQt(folder);
  }
  if (!chosen) return IDCANCEL;
  path_ = *chosen;
  return IDOK;
}
