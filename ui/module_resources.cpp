// module_resources.cpp: the module's string table and the one registration of all its
// resources with the window layer (strings, every window's dialog template, icons).
//
// Assumes each page's header declares its template's registration function. Runs once per
// Load; the layer copies everything, so the cost is a few hash-table insertions.
#include "ui/module_resources.h"

#include "platform/win/resources.h"
#include "ui/about_dlg.h"
#include "ui/dlg_assay_list.h"
#include "ui/dlg_calc_info.h"
#include "ui/dlg_components.h"
#include "ui/dlg_graph_preview.h"
#include "ui/dlg_main.h"
#include "ui/dlg_mixture_list.h"
#include "ui/dlg_msg.h"
#include "ui/dlg_out_table.h"
#include "ui/dlg_report.h"
#include "ui/dlg_settings.h"

namespace {

// Only entries with a text of their own; the other identifiers of the range stay empty.
constexpr win::StringResource kStrings[] = {
    {4000, u"Сведения о плагине..."},
    {4001, u"О плагине"},
    {4002, u"Результаты расчета"},
    {4003, u"Смеси"},
    {4004, u"Хроматограммы"},
    {4005, u"Инфо. о смеси."},
    {4006, u"Инфо. по хрм."},
    {4007, u"Промежуточные расчеты"},
    {4008, u"Системные сообщения"},
    {4015, u"Все"},
    {4020, u"Предупреждений и ошибок нет."},
    {4027, u"График"},
};

}  // namespace

void RegisterModuleStrings() { win::RegisterStrings(kStrings); }

void RegisterModuleResources() {
  RegisterModuleStrings();
  win::RegisterIcon(kModuleIcon, kCalibrationIconPng, kCalibrationIconPngSize);
  win::RegisterIcon(kFolderIcon, kFolderIconPng, kFolderIconPngSize);
  RegisterDlgMainTemplate();
  RegisterDlgSettingsTemplate();
  RegisterAboutDlgTemplate();
  RegisterDlgOutTableTemplate();
  RegisterDlgMsgTemplate();
  RegisterDlgAssayListTemplate();
  RegisterDlgMixtureListTemplate();
  RegisterDlgCalcInfoTemplate();
  RegisterDlgGraphPreviewTemplate();
  RegisterDlgComponentsTemplate();
  RegisterDlgReportTemplate();
}
