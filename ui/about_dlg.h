// about_dlg.h: CAboutDlg, the modal about box (template 152, "О плагине"): the module's
// icon and the company, product, version, description and copyright of its version block.
//
// The box reads the version block through a ModuleVersionInfo that lives as long as the
// box object. Opened by the main window's system menu item "Сведения о плагине...".
#pragma once

#include "platform/win/dialog.h"
#include "plugin/module_identity.h"

inline constexpr UINT kAboutTemplate = 152;
inline constexpr int kAboutIcon = 1002;
inline constexpr int kAboutVersion = 1004;
inline constexpr int kAboutDescription = 1005;
inline constexpr int kAboutCopyright = 1006;
inline constexpr int kAboutCompany = 1007;
inline constexpr int kAboutProduct = 1008;
inline constexpr int kAboutIconPixels = 80;

class CAboutDlg : public CDialogEx {
 public:
  enum { IDD = kAboutTemplate };
  explicit CAboutDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;

 private:
  ModuleVersionInfo m_version;
};

// Registers dialog template 152.
void RegisterAboutDlgTemplate();
