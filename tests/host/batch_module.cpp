// batch_module.cpp: a fake module with the module's window structure, for testing the
// host's batch driver before the real windows exist — the host is what is tested.
//
// Its main window (template 101) has "Пересчитать" 1040, "Настройки" 1001, "Отчет" 1024
// and "Экспорт" 1025, an upper tab strip with a chromatogram page (153: "Добавить" 1020,
// "Удалить все" 1019, the list 1016 of the chosen identifiers) and a lower strip with three table pages (150, list 1023; the third
// is the results table) and a messages page (151, edit 1015). "Добавить" asks the host's
// chooser; "Пересчитать" writes one results row per chosen chromatogram after a channel
// separator, and one message; the settings dialog (156) stores the export folder in the
// profile; "Экспорт" writes a file there and says so in a message box; the report dialog
// (116) sends a data document with the chosen chromatograms to "Export/ExportToOdt".
#include <cstdint>
#include <fstream>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "platform/sys/text.h"
#include "platform/win/dialog.h"
#include "platform/win/listctrl.h"
#include "platform/win/messagebox.h"
#include "platform/win/resources.h"
#include "plugin/host_api.h"

#define BATCH_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

HostApi* g_api = nullptr;
std::int32_t g_event = 0, g_command = 0;
std::vector<std::int32_t> g_ids;

constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
constexpr DWORD kPage = WS_CHILD | DS_CONTROL | DS_SETFONT;
constexpr char16_t kExportKey[] = u"plugins\\Vetrix\\ProgramSettings/ExportFolder";

void Register(UINT id, DWORD style, short cx, short cy, const std::vector<win::DialogControl>& controls) {
  win::RegisterDialogTemplate({id, style, 0, cx, cy, u"Тест", u"MS Shell Dlg", 8, controls, {}});
}

void RegisterTemplates() {
  const DWORD push = BS_PUSHBUTTON | WS_TABSTOP, check = BS_AUTOCHECKBOX | WS_TABSTOP;
  Register(101, kPopup | WS_THICKFRAME, 619, 344,
           {{win::kButtonClass, 1040, u"Пересчитать", push, 0, 253, 0, 70, 16},
            {win::kButtonClass, 1001, u"Настройки", push, 0, 397, 0, 70, 16},
            {win::kButtonClass, 1024, u"Отчет", push, 0, 469, 0, 70, 16},
            {win::kButtonClass, 1025, u"Экспорт", push, 0, 541, 0, 70, 16},
            {win::kTabControlClass, 1013, nullptr, 0, 0, 7, 7, 605, 139},
            {win::kTabControlClass, 1009, nullptr, 0, 0, 7, 149, 605, 188}});
  Register(153, kPage, 436, 79,
           {{win::kButtonClass, 1020, u"Добавить", push, 0, 6, 7, 65, 14},
            {win::kButtonClass, 1019, u"Удалить все", push, 0, 140, 7, 65, 14},
            {win::kListViewClass, 1016, nullptr, LVS_REPORT, 0, 7, 25, 422, 47}});
  Register(150, kPage, 338, 90, {{win::kListViewClass, 1023, nullptr, LVS_REPORT, 0, 7, 7, 324, 76}});
  Register(151, kPage, 300, 99,
           {{win::kEditClass, 1015, nullptr, ES_MULTILINE | ES_READONLY | WS_VSCROLL, 0, 7, 19, 286, 73}});
  Register(156, kPopup, 200, 80,
           {{win::kEditClass, 1061, nullptr, 0, 0, 7, 7, 186, 14},
            {win::kButtonClass, 1035, u"ОК", push, 0, 7, 50, 50, 14},
            {win::kButtonClass, 1036, u"Отмена", push, 0, 60, 50, 50, 14}});
  std::vector<win::DialogControl> report;
  short y = 7;
  for (int id : {1046, 1047, 1048, 1050, 1051})
    report.push_back({win::kButtonClass, id, u"Часть", check, 0, 7, y += 12, 120, 10});
  for (auto [id, text] : {std::pair{1024, u"Отчет"}, std::pair{1035, u"ОК"}, std::pair{1036, u"Отмена"}})
    report.push_back({win::kButtonClass, id, text, push, 0, static_cast<short>(7 + (id % 10) * 20), 90, 50, 14});
  Register(116, kPopup, 200, 110, report);
}

CListCtrl* List(CWnd& page) { return static_cast<CListCtrl*>(page.GetDlgItem(1023)); }

class Page : public CDialog {
 public:
  CListCtrl* Listed() { return static_cast<CListCtrl*>(GetDlgItem(1016)); }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const int id = LOWORD(wParam);
    if (id == 1019) {
      g_ids.clear();
      Listed()->DeleteAllItems();
      return TRUE;
    }
    if (id == 1020) {
      std::int32_t ids[256];
      AssayIdBuffer buffer{ids, 256};
      const std::int32_t n = g_api->Execute("Main/OpenAssayIdDlgEx", &buffer, m_hWnd);
      for (std::int32_t i = 0; i < n && n <= 256; ++i) {
        g_ids.push_back(ids[i]);
        const int row = Listed()->InsertItem(Listed()->GetItemCount(), u"");
        Listed()->SetItemData(row, static_cast<DWORD_PTR>(ids[i]));
      }
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }
};

class Settings : public CDialog {
 public:
  using CDialog::CDialog;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == 1035) {
      const sys::Text folder = GetDlgItemText(1061);
      g_api->Execute("Profile/SetString", const_cast<char16_t*>(kExportKey), const_cast<char16_t*>(folder.c_str()));
      EndDialog(IDOK);
      return TRUE;
    }
    if (LOWORD(wParam) == 1036) return EndDialog(IDCANCEL), TRUE;
    return CDialog::OnCommand(wParam, lParam);
  }
};

class Report : public CDialog {
 public:
  using CDialog::CDialog;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const int id = LOWORD(wParam);
    if (id == 1024) return MakeReport(), TRUE;
    if (id == 1035 || id == 1036) return EndDialog(id == 1035 ? IDOK : IDCANCEL), TRUE;
    return CDialog::OnCommand(wParam, lParam);
  }

 private:
  void MakeReport() {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("root");
    root.append_child("DateCreated").text().set("01.02.2024, 11:00");
    pugi::xml_node row = root.append_child("table1").append_child("row");
    row.append_child("title").text().set("Нормативный документ");
    row.append_child("DataString").text().set("ГОСТ 31371.7-2020, приложение Б");
    if (IsDlgButtonChecked(1046)) {
      pugi::xml_node t3 = root.append_child("table3");
      for (std::size_t i = 0; i < g_ids.size(); ++i) {
        pugi::xml_node r = t3.append_child("row");
        r.append_child("num").text().set(static_cast<int>(i + 1));
        r.append_child("Sample").text().set(("Хроматограмма " + std::to_string(g_ids[i])).c_str());
      }
    }
    const OdtExportRequest request{
        0, 1, IsDlgButtonChecked(1051) ? u"Vetrix\\ReportTemplateWitchGraph.odt" : u"Vetrix\\ReportTemplate.odt"};
    if (g_api->Execute("Export/ExportToOdt", &root, const_cast<OdtExportRequest*>(&request)) < 0)
      MessageBox(u"Ошибка формирования отчета!", u"Ошибка формирования отчета", MB_ICONEXCLAMATION);
  }
};

class Main : public CDialog {
 public:
  Main() : CDialog(101) {}

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    assays_.Create(153, GetDlgItem(1013));
    assays_.Listed()->InsertColumn(0, u"ID", LVCFMT_LEFT, 80);
    for (int i = 0; i < 3; ++i) tables_[i].Create(150, GetDlgItem(1009));
    messages_.Create(151, GetDlgItem(1009));
    const char16_t* headers[3][9] = {{u"№", u"Пик", u"Канал", u"Площадь", u"Время выхода, мин"},
                                     {u"№", u"Компонент", u"Концентрация, моль%", u"Неопределенность, %отн"},
                                     {u"№", u"Пик", u"Канал", u"Коэфф. B", u"Коэфф. b", u"Соотв. b",
                                      u"Коэфф. корреляции R²", u"Норматив", u"Соотв."}};
    for (int t = 0; t < 3; ++t)
      for (int c = 0; c < 9 && headers[t][c]; ++c) List(tables_[t])->InsertColumn(c, headers[t][c], LVCFMT_LEFT, 80);
    return TRUE;
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    switch (LOWORD(wParam)) {
      case 1040:
        Recalculate();
        return TRUE;
      case 1001: {
        Settings s(156, this);
        s.DoModal();
        return TRUE;
      }
      case 1024: {
        Report r(116, this);
        r.DoModal();
        return TRUE;
      }
      case 1025:
        Export();
        return TRUE;
      default:
        return CDialog::OnCommand(wParam, lParam);
    }
  }

 private:
  void Recalculate() {
    CListCtrl* results = List(tables_[2]);
    results->DeleteAllItems();
    int row = results->InsertItem(0, u"");
    results->SetItemText(row, 1, u"----------------------------------");
    for (std::size_t i = 0; i < g_ids.size(); ++i) {
      row = results->InsertItem(results->GetItemCount(), sys::FromUtf8(std::to_string(i + 1)).c_str());
      results->SetItemText(row, 1, sys::FromUtf8("Компонент " + std::to_string(g_ids[i])));
      results->SetItemText(row, 2, u"2");
      results->SetItemText(row, 7, u"0,999");
    }
    messages_.SetDlgItemText(1015, u"1.  Ошибка! \r\n\tНет пятой смеси.\r\n");
  }

  void Export() {
    char16_t folder[260] = {};
    TextBuffer buffer{folder, 260};
    if (!g_api->Execute("Profile/GetString", const_cast<char16_t*>(kExportKey), &buffer)) return;
    std::ofstream(sys::ToUtf8(folder) + "/vetrix_export.XLSX") << g_ids.size();
    MessageBox(u"Экспорт успешно завершен.", u"Экспорт данных", MB_OK | MB_ICONINFORMATION);
  }

  Page assays_;
  CDialog tables_[3];
  CDialog messages_;
};

std::unique_ptr<Main> g_main;

std::int32_t OnMenu(void* hostWindow) {
  if (!g_main) {
    g_main = std::make_unique<Main>();
    g_main->Create(101, CWnd::FromHandle(static_cast<HWND>(hostWindow)));
  }
  g_main->ShowWindow(SW_SHOWNORMAL);
  return 0;
}

std::int32_t OnModulesLoaded() {
  g_command = g_api->RegisterCommand("BatchModule/Menu", OnMenu);
  MenuItemRequest request{sizeof(MenuItemRequest), u"Данные/Расчёты/Проверка линейности детектора", 0,
                          "BatchModule/Menu"};
  g_api->Execute("MainMenu/CreateNewMenu", nullptr, &request);
  return 0;
}

PluginInfo g_info{sizeof(PluginInfo), u"Модуль для пакетного режима", 0x01000000u, u"", u"", u"", u"", u"", {}};

}  // namespace

BATCH_MODULE_EXPORT PluginInfo* GetPluginInfo(std::uint32_t) { return &g_info; }

BATCH_MODULE_EXPORT std::int32_t Load(HostApi* api) {
  g_api = api;
  RegisterTemplates();
  g_event = api->Subscribe("System/ModulesLoaded", OnModulesLoaded);
  return 0;
}

BATCH_MODULE_EXPORT std::int32_t Unload() {
  g_api->Unsubscribe(g_event);
  g_api->UnregisterCommand(g_command);
  return 0;
}
