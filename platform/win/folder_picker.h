// folder_picker.h: CFolderPickerDialog, the modal choice of a folder.
//
// DoModal returns IDOK with the chosen folder in GetPathName, or IDCANCEL. A folder
// picker hook (automation.h) answers in place of the user.
#pragma once

#include "export.h"
#include "window.h"

class VETRIX_WIN_API CFolderPickerDialog {
 public:
  // folder: where the picker starts (null: its own choice).
  explicit CFolderPickerDialog(LPCWSTR folder = nullptr, DWORD flags = 0,
                               CWnd* parent = nullptr);
  INT_PTR DoModal();
  sys::Text GetPathName() const { return path_; }
  sys::Text GetFolderPath() const { return path_; }

 private:
  sys::Text start_;
  CWnd* parent_;
  sys::Text path_;
};
