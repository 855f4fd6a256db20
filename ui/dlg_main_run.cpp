// dlg_main_run.cpp: the main window's run of the check and its refresh of the lower
// pages (RunAndShow, FillResultsTable), the reload of "Пересчитать", and the export.
//
// Assumes the page singletons and the module-wide loaded lists (Loaded()). The results
// table is written from ResultsRows, so it holds exactly what the headless check prints.
// Costs: one run plus one rebuild of each page; the reload is one database connection.

#include "calc/messages.h"
#include "calc/presentation.h"
#include "data/database.h"
#include "data/loaders.h"
#include "output/workbook.h"
#include "platform/sys/format.h"
#include "platform/win/messagebox.h"
#include "plugin/component_store.h"
#include "plugin/profile.h"
#include "plugin/settings.h"
#include "ui/dlg_assay_list.h"
#include "ui/dlg_calc_info.h"
#include "ui/dlg_graph_preview.h"
#include "ui/dlg_main.h"
#include "ui/dlg_main_failure.h"
#include "ui/dlg_mixture_list.h"
#include "ui/dlg_msg.h"
#include "ui/dlg_out_table.h"

namespace {

void FillChannels(CComboBox& combo, const std::vector<ChannelEntry>& channels) {
  for (const ChannelEntry& entry : channels) {
    const int item = combo.AddString(entry.title);
    combo.SetItemData(item, static_cast<DWORD_PTR>(static_cast<std::intptr_t>(entry.channel)));
  }
  combo.SetCurSel(0);
}

}  // namespace

// The inputs are gathered here and handed to the engine as values: the loaded lists of the
// two upper pages, the module's component list and the correction switches as the profile
// holds them right now. The run's messages go into the log the messages page shows.
void DlgMain::RunAndShow() {
  m_shownChange = AssayListPage().ChangeCount();
  MessagesPage().Clear();
  const Settings settings;
  RunCheck(m_context, {MixtureListPage().Mixtures(), AssayListPage().Assays(), ComponentList(), CorrectionsOf(settings)});
  AppendMessages(MessagesPage().log, m_context.messages);
  ShowCalcInfoPage();
  ShowGraphPage();
  FillResultsTable();
  MessagesPage().ShowMessages();
}

void DlgMain::ShowCalcInfoPage() {
  DlgCalcInfo& page = CalcInfoPage();
  page.Table().DeleteAllRows();
  page.MixtureCombo().ResetContent();
  page.ChannelCombo().ResetContent();
  page.SetMixtures(nullptr);
  page.SetContext(nullptr);
  const MixtureList& mixtures = MixtureListPage().Mixtures();
  if (mixtures.empty()) return;
  page.SetMixtures(&mixtures);
  page.SetContext(&m_context);
  for (const auto& mixture : mixtures) {
    const int item = page.MixtureCombo().AddString(mixture->name);
    page.MixtureCombo().SetItemData(item, static_cast<DWORD_PTR>(static_cast<std::intptr_t>(mixture->id)));
  }
  page.MixtureCombo().SetCurSel(0);
  FillChannels(page.ChannelCombo(), m_context.channels);
  page.ShowCalcInfo();
}

void DlgMain::ShowGraphPage() {
  DlgGraphPreview& page = GraphPage();
  page.ComponentCombo().ResetContent();
  page.SetCurves(nullptr);
  page.Refresh();
  page.ChannelCombo().ResetContent();
  page.SetCurves(&m_context.curves);
  FillChannels(page.ChannelCombo(), m_context.channels);
  if (page.FillComponents() > 0) {
    page.ComponentCombo().SetCurSel(0);
    page.Refresh();
  }
}

void DlgMain::FillResultsTable() {
  CGridCtrl& table = ResultsTable().table;
  table.DeleteAllRows();
  if (m_context.curves.empty()) return;
  const Settings settings;  // the program rounding as the profile holds it now
  for (const TextRow& row : ResultsRows(m_context.curves, Settings::qtySymInProg)) table.AppendRow(row);
}

const std::vector<std::int32_t>& DlgMain::UnloadedIds() const { return AssayListPage().UnloadedIds(); }

void DlgMain::SaveChromatogramList() { AssayListPage().SaveList(); }

// Every chosen chromatogram (also those a failed load kept out) is removed and loaded
// again; a database failure is shown by the page, which keeps the ids it could not read.
void DlgMain::Recalculate() {
  if (!CurrentHost()) SaveChromatogramList();
  const std::vector<std::int32_t> ids = AssayListPage().ListedIds();
  AssayListPage().Remove(true);
  ChromatogramInfoTable().table.DeleteAllRows();
  AssayListPage().LoadIds(ids);
  AssayListPage().AssaysChanged();
  RunAndShow();
}

// Without a usable export folder (2 characters or fewer) the user is sent to "Настройки";
// after a write the message names the file.
void DlgMain::Export() {
  if (Settings().exportFolder.size() <= 2) {
    ::MessageBox(GetSafeHwnd(), u"Каталог для экспорта не выбран. Выберите его в окне «Настройки».",
                 u"Экспорт данных", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const ExportMessageSink toMessageBox = [this](sys::TextView message) {
    const sys::Text text(message);
    ::MessageBox(GetSafeHwnd(), text.c_str(), u"Экспорт данных", MB_OK | MB_ICONERROR);
  };
  const Settings settings;  // the folder and the digits saved a moment ago count
  std::string path;
  if (ExportWorkbook(m_context, {settings.exportFolder, Settings::qtySymInProg}, toMessageBox, &path)) {
    const sys::Text text = u"Экспорт успешно завершен.\nФайл: " + sys::FromUtf8(path);
    ::MessageBox(GetSafeHwnd(), text.c_str(), u"Экспорт данных", MB_OK | MB_ICONINFORMATION);
  }
}
