// about_dlg.cpp: the about box's opening: title, icons and the version block's values.
//
// Assumes the module's resources are registered (string 4001, icon 102). Costs one read
// of the version block when no other reader is alive.
#include "ui/about_dlg.h"

#include "platform/win/resources.h"
#include "platform/win/static.h"
#include "ui/module_resources.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialogEx(kAboutTemplate, parent) {}

BOOL CAboutDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();
  SetWindowText(LoadString(4001));
  HICON icon = LoadIcon(kModuleIcon);
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  if (auto* picture = dynamic_cast<CStatic*>(GetDlgItem(kAboutIcon)))
    picture->SetIcon(LoadIcon(kModuleIcon, kAboutIconPixels, kAboutIconPixels));
  SetDlgItemText(kAboutCompany, m_version.Value(u"CompanyName"));
  SetDlgItemText(kAboutProduct, m_version.Value(u"ProductName"));
  SetDlgItemText(kAboutVersion, m_version.Value(u"ProductVersion"));
  SetDlgItemText(kAboutDescription, m_version.Value(u"FileDescription"));
  SetDlgItemText(kAboutCopyright, m_version.Value(u"LegalCopyright"));
  return TRUE;
}
