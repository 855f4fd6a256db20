// layout_test.cpp: dialog units through the template font's metrics, dynamic layout by
// percentages of the size change, tracking limits from WM_GETMINMAXINFO, and WM_SIZE
// for windows sized while hidden.
#include "win_fixture.h"

#include <QFontMetrics>

namespace {

using wintest::kChildStyle;
using wintest::kPopupStyle;

constexpr UINT kUnits = 9101;
constexpr UINT kLayout = 9102;
constexpr UINT kTracked = 9103;
constexpr UINT kBigFont = 9104;

// The dialog base units of a font and the conversion of dialog units, computed here
// independently of the layer.
struct Units {
  int x, y;
  int Px(int dluX) const { return (dluX * x + 2) / 4; }
  int Py(int dluY) const { return (dluY * y + 4) / 8; }
};
Units UnitsOf(int points) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSize(points);
  QFontMetrics m(font);
  int alphabet = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(alphabet / 26 + 1) / 2, m.height()};
}

RECT ChildRect(HWND dialog, int id) {
  RECT r{};
  HWND child = GetDlgItem(dialog, id);
  GetWindowRect(child, &r);
  POINT topLeft{r.left, r.top};
  ScreenToClient(dialog, &topLeft);
  return {topLeft.x, topLeft.y, topLeft.x + (r.right - r.left), topLeft.y + (r.bottom - r.top)};
}

void ExpectRect(const RECT& r, int left, int top, int width, int height) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

class WinLayoutTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::vector<win::DialogControl> controls = {
        {win::kButtonClass, 10, u"Кнопка", WS_TABSTOP, 0, 253, 0, 70, 16},
        {win::kListViewClass, 11, nullptr, LVS_REPORT | WS_BORDER, 0, 7, 7, 200, 60},
        {win::kListViewClass, 12, nullptr, LVS_REPORT | WS_BORDER, 0, 7, 70, 200, 50},
        {win::kComboBoxClass, 13, nullptr, CBS_DROPDOWNLIST, 0, 220, 20, 78, 30}};
    wintest::Register(kUnits, kPopupStyle, 330, 130, controls);
    win::DialogTemplate big{kBigFont, kPopupStyle, 0, 330, 130, u"", u"MS Shell Dlg", 12, controls, {}};
    win::RegisterDialogTemplate(big);
    // The main window's scheme: the buttons stay, the upper strip grows with the width and
    // 20 % of the height, the lower one moves down by 20 % and grows by 80 %.
    wintest::Register(kLayout, kPopupStyle | WS_THICKFRAME, 330, 130, controls,
                      {{10, 0, 0, 0, 0}, {11, 0, 0, 100, 20}, {12, 0, 20, 100, 80}, {13, 40, 0, 40, 0}});
    wintest::Register(kTracked, kPopupStyle | WS_THICKFRAME, 200, 100, {});
    wintest::Register(9105, kChildStyle, 100, 50, {{win::kButtonClass, 20, u"x", 0, 0, 0, 0, 100, 50}},
                      {{20, 0, 0, 100, 100}});
  }
  void TearDown() override { win::ProcessPendingMessages(); }
};

TEST_F(WinLayoutTest, DialogUnitsFollowTheTemplateFontMetrics) {
  for (auto [id, points] : {std::pair{kUnits, 8}, std::pair{kBigFont, 12}}) {
    SCOPED_TRACE(points);
    Units u = UnitsOf(points);
    CDialog dialog(id);
    ASSERT_TRUE(dialog.Create(id));
    RECT client{};
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.right, u.Px(330));
    EXPECT_EQ(client.bottom, u.Py(130));
    ExpectRect(ChildRect(dialog.m_hWnd, 10), u.Px(253), 0, u.Px(253 + 70) - u.Px(253), u.Py(16));
    ExpectRect(ChildRect(dialog.m_hWnd, 11), u.Px(7), u.Py(7), u.Px(207) - u.Px(7), u.Py(67) - u.Py(7));
    RECT mapped{7, 70, 207, 120};
    dialog.MapDialogRect(&mapped);
    ExpectRect(mapped, u.Px(7), u.Py(70), u.Px(207) - u.Px(7), u.Py(120) - u.Py(70));
    // A combo box keeps the height of its closed box whatever the template says.
    RECT combo = ChildRect(dialog.m_hWnd, 13);
    EXPECT_LT(combo.bottom - combo.top, u.Py(30));
    dialog.DestroyWindow();
  }
  EXPECT_GT(UnitsOf(12).x, UnitsOf(8).x);
}

TEST_F(WinLayoutTest, DynamicLayoutMovesAndSizesByPercentagesNeverBelowTheTemplate) {
  CDialog dialog(kLayout);
  ASSERT_TRUE(dialog.Create(kLayout));
  RECT button0 = ChildRect(dialog.m_hWnd, 10);
  RECT upper0 = ChildRect(dialog.m_hWnd, 11);
  RECT lower0 = ChildRect(dialog.m_hWnd, 12);
  RECT combo0 = ChildRect(dialog.m_hWnd, 13);
  RECT window{};
  dialog.GetWindowRect(&window);
  dialog.MoveWindow(window.left, window.top, window.right - window.left + 100, window.bottom - window.top + 50);
  RECT button = ChildRect(dialog.m_hWnd, 10);
  RECT upper = ChildRect(dialog.m_hWnd, 11);
  RECT lower = ChildRect(dialog.m_hWnd, 12);
  RECT combo = ChildRect(dialog.m_hWnd, 13);
  EXPECT_EQ(button.left, button0.left);
  EXPECT_EQ(button.top, button0.top);
  ExpectRect(upper, upper0.left, upper0.top, upper0.right - upper0.left + 100, upper0.bottom - upper0.top + 10);
  ExpectRect(lower, lower0.left, lower0.top + 10, lower0.right - lower0.left + 100, lower0.bottom - lower0.top + 40);
  EXPECT_EQ(combo.left, combo0.left + 40);
  EXPECT_EQ(combo.right - combo.left, combo0.right - combo0.left + 40);
  // Smaller than created: the controls keep their template rectangles.
  dialog.MoveWindow(window.left, window.top, 50, 40);
  ExpectRect(ChildRect(dialog.m_hWnd, 12), lower0.left, lower0.top, lower0.right - lower0.left,
             lower0.bottom - lower0.top);
}

// As the main window does: the size at creation is the minimum, +800 x +1000 the maximum.
class TrackedDialog : public CDialog {
 public:
  TrackedDialog() : CDialog(kTracked) {}
  SIZE minimum{0, 0};
  SIZE maximum{2000, 2000};
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    RECT r{};
    GetWindowRect(&r);
    minimum = {r.right - r.left, r.bottom - r.top};
    maximum = {minimum.cx + 800, minimum.cy + 1000};
    return TRUE;
  }
  void OnGetMinMaxInfo(MINMAXINFO* info) override {
    info->ptMinTrackSize = {minimum.cx, minimum.cy};
    info->ptMaxTrackSize = {maximum.cx, maximum.cy};
  }
};

TEST_F(WinLayoutTest, TrackingLimitsBoundTheWindowSize) {
  TrackedDialog dialog;
  ASSERT_TRUE(dialog.Create(kTracked));
  ASSERT_TRUE(wintest::ShowActive(dialog.m_hWnd));
  QWidget* w = win::WidgetOf(dialog.m_hWnd);
  auto windowSize = [&] {
    RECT r{};
    dialog.GetWindowRect(&r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  w->resize(10, 10);  // as a user's drag would
  EXPECT_EQ(windowSize().cx, dialog.minimum.cx);
  EXPECT_EQ(windowSize().cy, dialog.minimum.cy);
  RECT r{};
  dialog.GetWindowRect(&r);
  dialog.MoveWindow(r.left, r.top, 5000, 5000);
  EXPECT_EQ(windowSize().cx, dialog.minimum.cx + 800);
  EXPECT_EQ(windowSize().cy, dialog.minimum.cy + 1000);
}

class SizeLog : public CDialog {
 public:
  std::vector<std::pair<int, int>> sizes;
  void OnSize(UINT type, int cx, int cy) override {
    CDialog::OnSize(type, cx, cy);
    sizes.emplace_back(cx, cy);
  }
};

TEST_F(WinLayoutTest, HiddenPageHearsOfItsSizeAtOnceAndLaysOutItsControls) {
  CDialog owner(kTracked);
  ASSERT_TRUE(owner.Create(kTracked));
  SizeLog page;
  ASSERT_TRUE(page.Create(9105, &owner));
  ASSERT_FALSE(page.IsWindowVisible());
  page.sizes.clear();
  page.MoveWindow(2, 22, 300, 200);
  ASSERT_EQ(page.sizes.size(), 1u);
  EXPECT_EQ(page.sizes[0], std::make_pair(300, 200));
  RECT child = ChildRect(page.m_hWnd, 20);
  EXPECT_EQ(child.right - child.left, 300);
  EXPECT_EQ(child.bottom - child.top, 200);
  page.ShowWindow(SW_SHOW);
  EXPECT_EQ(page.sizes.size(), 1u);  // showing does not repeat an unchanged size
}

}  // namespace
