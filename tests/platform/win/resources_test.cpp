// resources_test.cpp: the string table, icons registered as PNG bytes and shown on
// windows, buttons and icon statics, and the folder picker answered by its hook.
#include "win_fixture.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "platform/win/button.h"
#include "platform/win/folder_picker.h"
#include "platform/win/static.h"

namespace {

using wintest::kPopupStyle;

constexpr UINT kIconDialog = 9601;
constexpr UINT kIcon = 9602;

QByteArray Png(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

class WinResourcesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wintest::Register(kIconDialog, kPopupStyle, 200, 120,
                      {{win::kStaticClass, 1002, nullptr, SS_ICON, 0, 7, 7, 20, 20},
                       {win::kButtonClass, 1060, nullptr, BS_PUSHBUTTON | BS_ICON, 0, 7, 60, 20, 20}});
    QByteArray png = Png(32, 32, Qt::blue);
    ASSERT_TRUE(win::RegisterIcon(kIcon, reinterpret_cast<const unsigned char*>(png.constData()),
                                  static_cast<std::size_t>(png.size())));
  }
  void TearDown() override { win::ProcessPendingMessages(); }
};

TEST_F(WinResourcesTest, StringTableAnswersRegisteredEntriesAndEmptyOtherwise) {
  const win::StringResource strings[] = {{4000, u"Сведения о плагине..."}, {4015, u"Все"}};
  win::RegisterStrings(strings);
  EXPECT_EQ(LoadString(4000), u"Сведения о плагине...");
  EXPECT_EQ(LoadString(4015), u"Все");
  EXPECT_EQ(LoadString(4999), u"");
  const win::StringResource replaced[] = {{4015, u"Всё"}};
  win::RegisterStrings(replaced);
  EXPECT_EQ(LoadString(4015), u"Всё");
}

TEST_F(WinResourcesTest, IconsLoadAtTheirOwnOrARequestedSizeAndAreShared) {
  HICON natural = LoadIcon(kIcon);
  HICON small = LoadImage(nullptr, kIcon, IMAGE_ICON, 20, 20, 0);
  ASSERT_NE(natural, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(GetIconSize(natural).cx, 32);
  EXPECT_EQ(GetIconSize(small).cx, 20);
  EXPECT_EQ(GetIconSize(small).cy, 20);
  EXPECT_EQ(LoadIcon(kIcon, 20, 20), small);
  EXPECT_EQ(LoadIcon(4711), nullptr);
  const unsigned char junk[] = {1, 2, 3};
  EXPECT_FALSE(win::RegisterIcon(4711, junk, sizeof junk));
}

TEST_F(WinResourcesTest, IconsShowOnTheWindowTheIconButtonAndTheIconStatic) {
  CDialog dialog(kIconDialog);
  ASSERT_TRUE(dialog.Create(kIconDialog));
  HICON icon = LoadIcon(kIcon);
  dialog.SetIcon(icon, TRUE);
  dialog.SetIcon(icon, FALSE);
  EXPECT_EQ(dialog.GetIcon(TRUE), icon);
  EXPECT_FALSE(win::WidgetOf(dialog.m_hWnd)->windowIcon().isNull());

  auto* button = static_cast<CButton*>(dialog.GetDlgItem(1060));
  EXPECT_EQ(button->SetIcon(LoadIcon(kIcon, 20, 20)), nullptr);
  EXPECT_EQ(static_cast<QPushButton*>(win::WidgetOf(button->m_hWnd))->iconSize(), QSize(20, 20));

  auto* picture = static_cast<CStatic*>(dialog.GetDlgItem(1002));
  picture->SetIcon(LoadIcon(kIcon, 80, 80));
  RECT r{};
  picture->GetWindowRect(&r);
  EXPECT_EQ(r.right - r.left, 80);  // an icon static takes the icon's size
  EXPECT_EQ(static_cast<QLabel*>(win::WidgetOf(picture->m_hWnd))->pixmap().size(), QSize(80, 80));
  dialog.DestroyWindow();
}

TEST_F(WinResourcesTest, FolderPickerAnsweredByItsHook) {
  win::SetFolderPickerHook([](HWND) { return std::optional<sys::Text>(u"/tmp/экспорт"); });
  CFolderPickerDialog picker;
  EXPECT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(picker.GetPathName(), u"/tmp/экспорт");
  win::SetFolderPickerHook([](HWND) { return std::optional<sys::Text>(); });
  CFolderPickerDialog cancelled;
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_EQ(cancelled.GetPathName(), u"");
  win::SetFolderPickerHook({});
}

}  // namespace
