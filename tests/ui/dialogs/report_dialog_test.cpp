// The report dialog on real widgets with the test host: its settings in the profile, its
// messages, the document and template handed to "Export/ExportToOdt", the graph picture
// and the messages for the host's error codes.
#include <pugixml.hpp>

#include <QImage>

#include <filesystem>
#include <functional>

#include "tests/ui/dialogs/dialog_fixture.h"

namespace dialogs {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kNoSupport[] = u"Невозможно сформировать отчет в текущей версии ПО Лортан.";
constexpr char16_t kNoData[] = u"Недостаточно данных для формирования отчета!";

class ReportDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    host.extra = {"Main/OpenAssayFile", "Export/ExportToOdt"};
    host.onExtra = [this](const std::string& command, void* p1, void* p2) -> std::int32_t {
      if (command != "Export/ExportToOdt") return 1;
      ++exports;
      document.reset();
      document.append_copy(*static_cast<pugi::xml_node*>(p1));
      request = *static_cast<OdtExportRequest*>(p2);
      templatePath = request.templatePath;
      return answer;
    };
    std::string pattern = (fs::temp_directory_path() / "vetrix-report-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    tempRoot = pattern;
    const char* previous = getenv("TMPDIR");
    previousTmp = previous ? previous : "";
    setenv("TMPDIR", tempRoot.c_str(), 1);
  }
  void TearDown() override {
    if (previousTmp.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", previousTmp.c_str(), 1);
    std::error_code ignored;
    fs::remove_all(tempRoot, ignored);
    DialogTest::TearDown();
  }

  void GiveRun(DlgReport& dlg) {
    dlg.SetMixtures(&lists.mixtures);
    dlg.SetAssays(&lists.assays);
    dlg.SetContext(&context);
  }

  // Runs the dialog; `user` acts inside it and returns the button that closes it.
  INT_PTR RunDialog(DlgReport& dlg, const std::function<int(HWND)>& user) {
    win::ScopedModalDialogHook hook([&](HWND dialog, UINT templateId) {
      EXPECT_EQ(templateId, kReportTemplate);
      win::ClickButton(dialog, user(dialog));
    });
    return dlg.DoModal();
  }

  std::vector<std::string> RootChildren() const {
    std::vector<std::string> names;
    for (pugi::xml_node n : document.child("root").children()) names.push_back(n.name());
    return names;
  }
  std::string Item(const char* name) const { return document.child("root").child(name).text().get(); }

  TestHost::Call LastCall() const { return host.calls.empty() ? TestHost::Call{} : host.calls.back(); }

  pugi::xml_document document;
  OdtExportRequest request{};
  sys::Text templatePath;
  int exports = 0;
  std::int32_t answer = 0;
  fs::path tempRoot;
  std::string previousTmp;
};

TEST_F(ReportDialogTest, HostWithoutOpenAssayFileGetsNoReport) {
  host.extra.erase("Main/OpenAssayFile");
  BuildRun();
  DlgReport dlg;
  GiveRun(dlg);
  win::ScopedMessageBoxRecorder boxes;
  RunDialog(dlg, [](HWND dialog) {
    win::ClickButton(dialog, kReportButton);
    return 1036;
  });
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, kNoSupport);
  EXPECT_EQ(boxes.Calls()[0].caption, u"Ошибка отчета");
  EXPECT_EQ(boxes.Calls()[0].Icon(), MB_ICONERROR);
  EXPECT_EQ(exports, 0);
}

TEST_F(ReportDialogTest, MissingDataIsReportedAndNothingIsSent) {
  BuildRun();
  const MixtureList noMixtures;
  const AssayList noAssays;
  struct Case {
    const char* what;
    const MixtureList* mixtures;
    const AssayList* assays;
    const CalculationContext* context;
  };
  const Case cases[] = {
      {"no mixture list", nullptr, &lists.assays, &context},
      {"empty mixture list", &noMixtures, &lists.assays, &context},
      {"no chromatogram list", &lists.mixtures, nullptr, &context},
      {"empty chromatogram list", &lists.mixtures, &noAssays, &context},
      {"no context", &lists.mixtures, &lists.assays, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DlgReport dlg;
    dlg.SetMixtures(c.mixtures);
    dlg.SetAssays(c.assays);
    dlg.SetContext(c.context);
    win::ScopedMessageBoxRecorder boxes;
    dlg.MakeReport();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, kNoData);
    EXPECT_EQ(boxes.Calls()[0].caption, u"Ошибка отчета");
    EXPECT_EQ(boxes.Calls()[0].Icon(), MB_ICONERROR);
  }
  EXPECT_EQ(exports, 0);
}

TEST_F(ReportDialogTest, SwitchesChooseTheTablesAndTheDialogStaysOpen) {
  BuildRun();
  DlgReport dlg;
  GiveRun(dlg);
  win::ScopedMessageBoxRecorder boxes;
  std::vector<std::vector<std::string>> documents;
  std::vector<sys::Text> templates;
  RunDialog(dlg, [&](HWND dialog) {
    win::ClickButton(dialog, kReportButton);  // every switch off
    documents.push_back(RootChildren());
    templates.push_back(templatePath);
    SetDlgItemText(dialog, kReportDeviceEdit, u"Хромос-1000 № 17");
    win::ClickButton(dialog, kReportMixtureListCheck);
    win::ClickButton(dialog, kReportResultCheck);
    win::ClickButton(dialog, kReportButton);
    documents.push_back(RootChildren());
    win::ClickButton(dialog, kReportAssayListCheck);
    win::ClickButton(dialog, kReportMixtureInfoCheck);
    win::ClickButton(dialog, kReportButton);
    documents.push_back(RootChildren());
    templates.push_back(templatePath);
    EXPECT_TRUE(IsWindowVisible(dialog));
    return 1036;
  });
  EXPECT_TRUE(boxes.Calls().empty());
  ASSERT_EQ(documents.size(), 3u);
  using Names = std::vector<std::string>;
  EXPECT_EQ(documents[0], (Names{"DateCreated", "table1"}));
  // The evidence part follows every standard item: the results switch brings the evidence,
  // the messages and the corrections, the mixture data the five mixtures' names.
  const Names evidence = {"table7", "table8", "PressureCorrection", "TemperatureCorrection"};
  Names withResults = {"DateCreated", "table1", "table2", "table5"};
  withResults.insert(withResults.end(), evidence.begin(), evidence.end());
  EXPECT_EQ(documents[1], withResults);
  Names everything = {"DateCreated", "table1", "table2", "table3", "table4", "table5"};
  for (const char* e : {"1", "2", "3", "4", "5"}) {
    everything.push_back(std::string("table4Mix") + e);
    everything.push_back(std::string("table4Balloon") + e);
  }
  everything.insert(everything.end(), evidence.begin(), evidence.end());
  EXPECT_EQ(documents[2], everything);
  EXPECT_EQ(templates, (std::vector<sys::Text>{u"Vetrix\\ReportTemplate.odt", u"Vetrix\\ReportTemplate.odt"}));
  EXPECT_EQ(request.zero, 0);
  EXPECT_EQ(request.flag, 1u);

  // The last document in detail: the header rows, the mixtures and the channel rows.
  pugi::xml_node root = document.child("root");
  pugi::xml_node table1 = root.child("table1");
  EXPECT_EQ(std::distance(table1.children("row").begin(), table1.children("row").end()), 2);
  EXPECT_EQ(std::string(table1.last_child().child("DataString").text().get()), "Хромос-1000 № 17");
  EXPECT_EQ(std::string(root.child("table2").first_child().child("NumBalloon").text().get()), "Б-101");
  EXPECT_EQ(std::string(root.child("table5").first_child().child("formula").text().get()), "-- Канал 1 --");
  EXPECT_EQ(std::string(root.child("table5").child("row").next_sibling().child("R_norm").text().get()), "0,999");
  EXPECT_EQ(std::distance(root.child("table3").children().begin(), root.child("table3").children().end()), 25);
}

TEST_F(ReportDialogTest, GraphAddsItsItemsAndA1000By1000Picture) {
  BuildRun();
  DlgGraphPreview& page = ShowGraphPage();
  PressOn(page.ComponentCombo(), Qt::Key_Down);  // ethane, as on the graph page
  ASSERT_EQ(page.SelectedCurve()->name, u"Этан");
  DlgReport dlg;
  GiveRun(dlg);
  dlg.enableGraph = 1;
  win::ScopedMessageBoxRecorder boxes;
  dlg.MakeReport();
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_EQ(templatePath, u"Vetrix\\ReportTemplateWitchGraph.odt");
  EXPECT_EQ(RootChildren(), (std::vector<std::string>{"DateCreated", "table1", "graphComp", "graph_Ch",
                                                        "graphFormula", "table6", "PictureGraph"}));
  EXPECT_EQ(Item("graphComp"), "Этан");
  EXPECT_EQ(Item("graph_Ch"), "1");
  EXPECT_EQ(Item("graphFormula").rfind("A = 100,000 * x + 20,000", 0), 0u) << Item("graphFormula");

  const fs::path picture = fs::u8path(Item("PictureGraph"));
  EXPECT_EQ(picture.filename(), "VetrixGraph.png");
  const fs::path folder = picture.parent_path();
  EXPECT_EQ(folder.parent_path(), tempRoot);
  EXPECT_EQ(folder.filename().string().rfind("VTX", 0), 0u);
  EXPECT_EQ(folder.extension(), ".cat");
  QImage image(QString::fromStdString(picture.string()), "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 1000);
  EXPECT_EQ(image.height(), 1000);
  int black = 0;
  for (int y = 0; y < 1000; y += 2)
    for (int x = 0; x < 1000; x += 2) black += (image.pixel(x, y) & 0xFFFFFFu) == 0;
  EXPECT_GT(black, 500);  // axes, labels and the black series
}

TEST_F(ReportDialogTest, GraphWithoutSelectionOrTemporaryFolderGoesOutWithoutIt) {
  BuildRun();
  DlgReport dlg;
  GiveRun(dlg);
  dlg.enableGraph = 1;
  dlg.MakeReport();  // the graph page shows nothing
  EXPECT_EQ(RootChildren(), (std::vector<std::string>{"DateCreated", "table1"}));
  EXPECT_EQ(templatePath, u"Vetrix\\ReportTemplateWitchGraph.odt");

  ShowGraphPage();
  setenv("TMPDIR", (tempRoot / "missing").c_str(), 1);  // no folder can be made there
  dlg.MakeReport();
  EXPECT_EQ(RootChildren(), (std::vector<std::string>{"DateCreated", "table1"}));
  EXPECT_EQ(exports, 2);
}

TEST_F(ReportDialogTest, NegativeAnswersGiveTheirReasons) {
  BuildRun();
  struct Case {
    std::int32_t rc;
    const char16_t* text;
  };
  const Case cases[] = {
      {-1, u"Ошибка формирования отчета! Код ошибки: -1 \r\nВозможные причины:\r\n"
           u" - Не удалось найти шаблон отчета.\r\n - Отсутствует плагин формирования ODT отчетов.\r\n"},
      {-8, u"Ошибка формирования отчета! Код ошибки: -8 \r\nВозможные причины:\r\n"
           u" - Ошибка окончания формирования отчета.\r\n"},
      {-11, u"Ошибка формирования отчета! Код ошибки: -11 \r\nВозможные причины:\r\n - Неизвестная ошибка.\r\n"},
      {0, nullptr},
      {3, nullptr},
  };
  DlgReport dlg;
  GiveRun(dlg);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rc);
    answer = c.rc;
    win::ScopedMessageBoxRecorder boxes;
    dlg.MakeReport();
    if (!c.text) {
      EXPECT_TRUE(boxes.Calls().empty());
      continue;
    }
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, c.text);
    EXPECT_EQ(boxes.Calls()[0].caption, u"Ошибка формирования отчета");
    EXPECT_EQ(boxes.Calls()[0].Icon(), MB_ICONEXCLAMATION);
  }
}

TEST_F(ReportDialogTest, SettingsComeFromTheProfileAndGoBackOnOk) {
  const sys::Text s = kReportSection;
  host.strings[Key(s, u"DeviceNumber")] = u"17";
  host.strings[Key(s, u"Operator")] = u"Иванов";
  host.ints[Key(s, u"enableMixtureInfo")] = 1;
  host.ints[Key(s, u"enableGraph")] = 1;
  DlgReport dlg;
  sys::Text shownOperator;
  std::vector<UINT> checks;
  const INT_PTR result = RunDialog(dlg, [&](HWND dialog) {
    shownOperator = GetDlgItemText(dialog, kReportOperatorEdit);
    for (int id : {kReportAssayListCheck, kReportMixtureListCheck, kReportMixtureInfoCheck, kReportResultCheck,
                   kReportGraphCheck})
      checks.push_back(CWnd::FromHandle(dialog)->IsDlgButtonChecked(id));
    SetDlgItemText(dialog, kReportOperatorEdit, u"Петров");
    win::ClickButton(dialog, kReportGraphCheck);
    win::ClickButton(dialog, kReportAssayListCheck);
    return 1035;
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(shownOperator, u"Иванов");
  EXPECT_EQ(checks, (std::vector<UINT>{0, 0, 1, 0, 1}));
  EXPECT_EQ(host.strings[Key(s, u"Operator")], u"Петров");
  EXPECT_EQ(host.strings[Key(s, u"DeviceNumber")], u"17");
  EXPECT_EQ(host.ints[Key(s, u"enableGraph")], 0);
  EXPECT_EQ(host.ints[Key(s, u"enableAssayList")], 1);
  EXPECT_EQ(host.ints[Key(s, u"enableMixtureInfo")], 1);
}

TEST_F(ReportDialogTest, CancelKeepsTakenChangesInTheObjectUntilItIsDestroyed) {
  const sys::Text s = kReportSection;
  host.strings[Key(s, u"Operator")] = u"Иванов";
  {
    DlgReport dlg;
    BuildRun();
    GiveRun(dlg);
    const INT_PTR result = RunDialog(dlg, [&](HWND dialog) {
      SetDlgItemText(dialog, kReportOperatorEdit, u"Петров");
      win::ClickButton(dialog, kReportButton);  // takes the controls in
      return 1036;
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(host.strings[Key(s, u"Operator")], u"Иванов");
    sys::Text reopened;
    host.strings[Key(s, u"Operator")] = u"Сидоров";  // not read again: the object has texts
    RunDialog(dlg, [&](HWND dialog) {
      reopened = GetDlgItemText(dialog, kReportOperatorEdit);
      return 1036;
    });
    EXPECT_EQ(reopened, u"Петров");
  }
  EXPECT_EQ(host.strings[Key(s, u"Operator")], u"Петров");  // saved when destroyed
}

TEST_F(ReportDialogTest, AnUnopenedDialogLeavesTheStoredSettingsAlone) {
  const sys::Text s = kReportSection;
  host.strings[Key(s, u"Operator")] = u"Иванов";
  host.ints[Key(s, u"enableGraph")] = 1;
  { DlgReport dlg; }
  EXPECT_EQ(host.strings[Key(s, u"Operator")], u"Иванов");
  EXPECT_EQ(host.ints[Key(s, u"enableGraph")], 1);
}

}  // namespace
}  // namespace dialogs
