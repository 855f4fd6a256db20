// The settings dialog on real widgets, answered through the layer's modal-dialog hook:
// what OK stores (and reads back), what Cancel undoes, the folder button, the icons.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/sys/locale.h"
#include "platform/win/button.h"
#include "platform/win/resources.h"
#include "platform/win/automation.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "tests/support/test_host.h"
#include "ui/dlg_settings.h"
#include "ui/module_resources.h"

namespace {

const sys::Text kProg = u"plugins\\Vetrix\\ProgramSettings/qtySymInProg";
const sys::Text kReport = u"plugins\\Vetrix\\ProgramSettings/qtySymInReport";
const sys::Text kPress = u"plugins\\Vetrix\\ProgramSettings/enPressCorrect";
const sys::Text kFolder = u"plugins\\Vetrix\\ProgramSettings/ExportFolder";

class SettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterModuleResources();
    host.Install();
    SetProfilePrefix(kModuleProfilePrefix);
  }
  void TearDown() override {
    SetProfilePrefix(u"");
    Settings::qtySymInProg = Settings::qtySymInReport = 3;
    Settings::enPressCorrect = Settings::enTempCorrect = 0;
  }
  // Opens the dialog and lets `user` act on it; returns what DoModal returned.
  INT_PTR Run(const std::function<void(HWND)>& user) {
    DlgSettings dialog;
    win::ScopedModalDialogHook hook([&](HWND shown, UINT id) {
      if (id == kSettingsTemplate) user(shown);
      else EndDialog(shown, IDCANCEL);
    });
    return dialog.DoModal();
  }
  int SetIntCalls(const sys::Text& key) const {
    int n = 0;
    for (const auto& call : host.calls) n += call.command == "Profile/SetInt" && call.key == key;
    return n;
  }
  TestHost host;
};

TEST_F(SettingsDialog, OpensWithTheStoredValuesAndIcons) {
  host.ints[kProg] = 5;
  host.ints[kPress] = 1;
  host.strings[kFolder] = u"/srv/export";
  INT_PTR result = Run([](HWND dialog) {
    EXPECT_EQ(GetDlgItemText(dialog, kSettingsProgDigitsEdit), u"5");
    EXPECT_EQ(GetDlgItemText(dialog, kSettingsReportDigitsEdit), u"3");
    CWnd* wnd = CWnd::FromHandle(dialog);
    EXPECT_EQ(wnd->IsDlgButtonChecked(kSettingsPressureCheck), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kSettingsTemperatureCheck)));
    EXPECT_EQ(GetDlgItemText(dialog, kSettingsFolderEdit), u"/srv/export");
    EXPECT_EQ(GetWindowText(dialog), u"Настройки");
    auto* button = dynamic_cast<CButton*>(wnd->GetDlgItem(kSettingsFolderButton));
    ASSERT_NE(button, nullptr);
    const SIZE icon = GetIconSize(button->GetIcon());
    EXPECT_EQ(icon.cx, 20);
    EXPECT_EQ(icon.cy, 20);
    EXPECT_NE(wnd->GetIcon(TRUE), nullptr);
    win::ClickButton(dialog, kSettingsCancel);
  });
  EXPECT_EQ(result, 2);
}

// The digit field is read as wcstol reads it; whatever it gives is stored unchecked, and
// a stored 0 reads back as the default.
TEST_F(SettingsDialog, DigitCountsAreParsedStoredAndReadBack) {
  struct Case {
    const char16_t* typed;
    std::int32_t stored;
    std::int32_t readBack;
  } cases[] = {{u"0", 0, 3},
               {u"-2", -2, -2},
               {u"abc", 0, 3},
               {u"  7 знаков", 7, 7},
               {u"+4", 4, 4},
               {u"2147483647", 2147483647, 2147483647},
               {u"99999999999", 2147483647, 2147483647},  // saturates, never wraps
               {u"-99999999999", -2147483647 - 1, -2147483647 - 1},
               {u"4294967299", 2147483647, 2147483647}};
  for (const Case& c : cases) {
    host.ints.erase(kProg);
    Settings::qtySymInProg = 3;
    INT_PTR result = Run([&](HWND dialog) {
      SetDlgItemText(dialog, kSettingsProgDigitsEdit, c.typed);
      win::ClickButton(dialog, kSettingsOk);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(host.ints[kProg], c.stored) << sys::ToUtf8(c.typed);
    EXPECT_EQ(Settings::qtySymInProg, c.stored) << "the module-wide value follows at once";
    Settings later;
    EXPECT_EQ(Settings::qtySymInProg, c.readBack) << sys::ToUtf8(c.typed);
  }
}

TEST_F(SettingsDialog, OkWritesSwitchesAndFolderAlwaysButDigitsOnlyWhenChanged) {
  INT_PTR result = Run([](HWND dialog) {
    CWnd::FromHandle(dialog)->CheckDlgButton(kSettingsPressureCheck, BST_CHECKED);
    SetDlgItemText(dialog, kSettingsFolderEdit, u"/tmp/выгрузка");
    SetDlgItemText(dialog, kSettingsReportDigitsEdit, u"4");
    win::ClickButton(dialog, kSettingsOk);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(SetIntCalls(kProg), 0) << "unchanged digit count is not written";
  EXPECT_EQ(host.ints[kReport], 4);
  EXPECT_EQ(host.ints[kPress], 1);
  EXPECT_EQ(host.ints[u"plugins\\Vetrix\\ProgramSettings/enTempCorrect"], 0);
  EXPECT_EQ(host.strings[kFolder], u"/tmp/выгрузка");
}

TEST_F(SettingsDialog, CancelReloadsFromTheProfileAndWritesNothing) {
  host.ints[kProg] = 6;
  DlgSettings dialog;
  Settings::qtySymInProg = 9;  // changed behind the dialog's back
  win::ScopedModalDialogHook hook([](HWND shown, UINT) {
    SetDlgItemText(shown, kSettingsProgDigitsEdit, u"1");
    win::ClickButton(shown, kSettingsCancel);
  });
  host.calls.clear();
  EXPECT_EQ(dialog.DoModal(), 2);
  EXPECT_EQ(dialog.QtySymInProg(), 6);
  for (const auto& call : host.calls) EXPECT_EQ(call.command.rfind("Profile/Set", 0), std::string::npos) << call.command;
}

// A folder picked resets the check boxes to the values held before; an unconfirmed tick
// is lost. Cancel in the picker changes nothing.
TEST_F(SettingsDialog, FolderButtonRefillsFromHeldValues) {
  std::optional<sys::Text> answer = u"/data/выгрузки";
  win::SetFolderPickerHook([&](HWND) { return answer; });
  INT_PTR result = Run([&](HWND dialog) {
    CWnd* wnd = CWnd::FromHandle(dialog);
    wnd->CheckDlgButton(kSettingsPressureCheck, BST_CHECKED);
    answer.reset();
    win::ClickButton(dialog, kSettingsFolderButton);
    EXPECT_EQ(wnd->IsDlgButtonChecked(kSettingsPressureCheck), BST_CHECKED) << "picker cancelled";
    answer = u"/data/выгрузки";
    win::ClickButton(dialog, kSettingsFolderButton);
    EXPECT_EQ(wnd->IsDlgButtonChecked(kSettingsPressureCheck), BST_UNCHECKED);
    EXPECT_EQ(GetDlgItemText(dialog, kSettingsFolderEdit), u"/data/выгрузки");
    win::ClickButton(dialog, kSettingsOk);
  });
  win::SetFolderPickerHook({});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(host.strings[kFolder], u"/data/выгрузки");
  EXPECT_EQ(host.ints[kPress], 0);
}

// A folder longer than the profile gives back is refused with a message and the dialog
// stays open, nothing stored; 127 characters are taken.
TEST_F(SettingsDialog, ExportFolderLongerThanTheProfileKeepsIsRefused) {
  host.strings[kFolder] = u"/srv/export";
  const sys::Text tooLong = u"/" + sys::Text(126, u'я') + u"/";  // 128 characters
  const sys::Text longest = tooLong.substr(0, 127);
  win::ScopedMessageBoxRecorder boxes;
  host.calls.clear();
  bool stillOpen = false;
  INT_PTR result = Run([&](HWND dialog) {
    SetDlgItemText(dialog, kSettingsProgDigitsEdit, u"6");
    SetDlgItemText(dialog, kSettingsFolderEdit, tooLong.c_str());
    win::ClickButton(dialog, kSettingsOk);
    stillOpen = IsWindowVisible(dialog) != FALSE;
    SetDlgItemText(dialog, kSettingsFolderEdit, longest.c_str());
    win::ClickButton(dialog, kSettingsOk);
  });
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_NE(boxes.Calls()[0].text.find(u"128 символов"), sys::Text::npos) << sys::ToUtf8(boxes.Calls()[0].text);
  EXPECT_NE(boxes.Calls()[0].text.find(u"127"), sys::Text::npos);
  EXPECT_EQ(boxes.Calls()[0].Icon(), static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(host.strings[kFolder], longest);
  EXPECT_EQ(SetIntCalls(kProg), 1) << "the refused OK stored nothing";
}

TEST_F(SettingsDialog, WithoutProfileCommandsDefaultsAndOkStillCloses) {
  host.missing = {"Profile/GetInt", "Profile/SetInt", "Profile/GetString", "Profile/SetString"};
  host.ints[kProg] = 7;
  INT_PTR result = Run([](HWND dialog) {
    EXPECT_EQ(GetDlgItemText(dialog, kSettingsProgDigitsEdit), u"3");
    SetDlgItemText(dialog, kSettingsProgDigitsEdit, u"5");
    win::ClickButton(dialog, kSettingsOk);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(host.ints[kProg], 7) << "writes are dropped";
}

}  // namespace
