// page_fixture.h: a shown top-level dialog that hosts a child page, as the main
// window's tab strips do.
#pragma once

#include "tests/platform/win/win_fixture.h"

namespace pagetest {

inline constexpr UINT kHostDialog = 9711;

class PageHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { wintest::Register(kHostDialog, wintest::kPopupStyle, 400, 200, {}); }
  void SetUp() override {
    ASSERT_TRUE(host.Create(kHostDialog));
    ASSERT_TRUE(wintest::ShowActive(host.m_hWnd));
  }
  void TearDown() override {
    host.DestroyWindow();
    win::ProcessPendingMessages();
  }
  // Presses a key on a control of a page, as the user would.
  static void Press(HWND control, Qt::Key key) {
    QTest::keyClick(win::WidgetOf(control), key);
    win::ProcessPendingMessages();
  }
  wintest::RecordingDialog host{kHostDialog};
};

}  // namespace pagetest
