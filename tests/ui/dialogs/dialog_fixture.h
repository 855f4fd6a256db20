// dialog_fixture.h: what the dialog tests share: the engine state of a fresh main window,
// the test host with the module's profile prefix, the three templates, a run built from
// records, and a top-level window hosting the graph page the way the main window does.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QTest>
#include <QWidget>

#include "platform/win/qt_bridge.h"
#include "platform/win/automation.h"
#include "plugin/profile.h"
#include "tests/calc/fixture.h"
#include "tests/support/test_host.h"
#include "tests/platform/win/win_fixture.h"
#include "ui/dlg_components.h"
#include "ui/dlg_graph_preview.h"
#include "ui/dlg_report.h"

namespace dialogs {

inline constexpr UINT kHostWindowTemplate = 9100;

// Certified concentrations of the five mixtures. Ethane is missing from the fifth
// mixture (its peaks there give a point with areas but no concentration), propane's
// peaks are missing from the third mixture's analyses (a point without mean area), and
// helium on channel 2 is certified in the first mixture only (a curve of one point).
inline constexpr double kMethane[5] = {85, 88, 90, 92, 95};
inline constexpr double kEthane[4] = {1, 2, 3, 4};
inline constexpr double kPropane[5] = {0.1, 0.2, 0.5, 1, 2};

class DialogTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    host.Install();
    SetProfilePrefix(kModuleProfilePrefix);
    RegisterDlgGraphPreviewTemplate();
    RegisterDlgComponentsTemplate();
    RegisterDlgReportTemplate();
    wintest::Register(kHostWindowTemplate, wintest::kPopupStyle, 620, 190, {});
  }
  void TearDown() override {
    DlgGraphPreview& page = GraphPage();
    page.SetCurves(nullptr);
    if (page.m_hWnd) page.DestroyWindow();
    if (hostWindow.m_hWnd) hostWindow.DestroyWindow();
    win::ProcessPendingMessages();
    SetProfilePrefix(u"");
    EngineTest::TearDown();
  }

  void BuildRun() {
    for (int m = 0; m < 5; ++m) {
      Mixture& mixture = lists.AddMixture(kMixtureNames[m], {{u"Метан", kMethane[m], 0.5}, {u"Пропан", kPropane[m], 1.5}});
      mixture.ballon = kBallons[m];
      mixture.release = 1690000000 + m * 86400;
      mixture.expiry = 0;
      if (m < 4) mixture.components.push_back({u"", u"Этан", kEthane[m], 1.0});
      if (m == 0) mixture.components.push_back({u"", u"Гелий", 0.05, 2.0});
    }
    for (std::size_t m = 0; m < 5; ++m) {
      for (int k = 0; k < 5; ++k) {
        const double f = 1 + 0.001 * (k - 2);
        Assay& a = lists.AddAssay(m, {{u"Метан", 100 * kMethane[m] * f, 0, 1.0},
                                      {u"Этан", (100 * (m < 4 ? kEthane[m] : 5.0) + 20) * f, 0, 2.0}});
        if (m != 2) a.peaks.push_back({u"", u"Пропан", 0, 100 * kPropane[m] * f, 3.0});
        if (m == 0) a.peaks.push_back({u"", u"Гелий", 2, 40 * f, 0.4});
      }
    }
    Run(lists);
  }

  // The graph page as a child of a shown top-level window, given the run's curves and
  // channels in the order the main window gives them.
  DlgGraphPreview& ShowGraphPage() {
    hostWindow.Create(kHostWindowTemplate, nullptr);
    DlgGraphPreview& page = GraphPage();
    EXPECT_TRUE(page.Create(kGraphPageTemplate, &hostWindow));
    page.ShowWindow(SW_SHOW);
    EXPECT_TRUE(wintest::ShowActive(hostWindow.m_hWnd));
    page.ComponentCombo().ResetContent();
    page.SetCurves(nullptr);
    page.Refresh();
    page.ChannelCombo().ResetContent();
    page.SetCurves(&context.curves);
    for (const ChannelEntry& c : context.channels) {
      const int entry = page.ChannelCombo().AddString(c.title);
      page.ChannelCombo().SetItemData(entry, static_cast<DWORD_PTR>(c.channel));
    }
    page.ChannelCombo().SetCurSel(0);
    if (page.FillComponents() > 0) {
      page.ComponentCombo().SetCurSel(0);
      page.Refresh();
    }
    return page;
  }

  // A key press on a combo box as the user makes it (Down chooses the next entry).
  static void PressOn(CComboBox& combo, Qt::Key key) {
    QTest::keyClick(win::WidgetOf(combo.m_hWnd), key);
    win::ProcessPendingMessages();
  }

  static std::vector<sys::Text> Entries(const CComboBox& combo) {
    std::vector<sys::Text> texts;
    for (int i = 0; i < combo.GetCount(); ++i) texts.push_back(combo.GetLBText(i));
    return texts;
  }

  static std::vector<std::vector<sys::Text>> Cells(const CListCtrl& list, int columns) {
    std::vector<std::vector<sys::Text>> rows;
    for (int r = 0; r < list.GetItemCount(); ++r) {
      rows.emplace_back();
      for (int c = 0; c < columns; ++c) rows.back().push_back(list.GetItemText(r, c));
    }
    return rows;
  }

  // Pixels of colour `c` (COLORREF) in what the window shows.
  static int CountColour(HWND window, COLORREF c) {
    QImage image = win::WidgetOf(window)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb want = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFFu) == (want & 0xFFFFFFu)) ++n;
    return n;
  }

  static sys::Text Key(sys::TextView section, sys::TextView key) { return ProfileKey(section, key); }

  static constexpr const char16_t* kMixtureNames[5] = {u"ГСО-1", u"ГСО-2", u"ГСО-3", u"ГСО-4", u"ГСО-5"};
  static constexpr const char16_t* kBallons[5] = {u"Б-101", u"Б-102", u"Б-103", u"Б-104", u"Б-105"};

  TestHost host;
  RunLists lists;
  CDialog hostWindow;
};

}  // namespace dialogs
