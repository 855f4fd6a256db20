// dlg_report_template.cpp: dialog template 116, "Отчет": instrument number and operator,
// the group "Настройка содержимого отчета" with the five content switches, and the
// buttons "Отчет", "ОК" (default) and "Отмена". Fixed size.
#include "platform/win/resources.h"
#include "ui/dlg_report.h"

namespace {

constexpr int kOkButton = 1035;
constexpr int kCancelButton = 1036;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kEdit = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

constexpr win::DialogControl kControls[] = {
    {win::kStaticClass, -1, u"Номер прибора", SS_LEFT, 0, 7, 9, 60, 8},
    {win::kEditClass, kReportDeviceEdit, nullptr, kEdit, 0, 70, 7, 163, 13},
    {win::kStaticClass, -1, u"Оператор", SS_LEFT, 0, 7, 26, 60, 8},
    {win::kEditClass, kReportOperatorEdit, nullptr, kEdit, 0, 70, 24, 163, 13},
    {win::kButtonClass, -1, u"Настройка содержимого отчета", BS_GROUPBOX, 0, 7, 43, 226, 82},
    {win::kButtonClass, kReportAssayListCheck, u"Список хроматограмм", kCheck, 0, 15, 56, 210, 10},
    {win::kButtonClass, kReportMixtureListCheck, u"Список смесей", kCheck, 0, 15, 69, 210, 10},
    {win::kButtonClass, kReportMixtureInfoCheck, u"Данные по смесям", kCheck, 0, 15, 82, 210, 10},
    {win::kButtonClass, kReportResultCheck, u"Результаты проверки", kCheck, 0, 15, 95, 210, 10},
    {win::kButtonClass, kReportGraphCheck, u"График", kCheck, 0, 15, 108, 210, 10},
    {win::kButtonClass, kReportButton, u"Отчет", BS_PUSHBUTTON | WS_TABSTOP, 0, 7, 133, 60, 14},
    {win::kButtonClass, kOkButton, u"ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 129, 133, 50, 14},
    {win::kButtonClass, kCancelButton, u"Отмена", BS_PUSHBUTTON | WS_TABSTOP, 0, 183, 133, 50, 14},
};

}  // namespace

void RegisterDlgReportTemplate() {
  win::DialogTemplate t{kReportTemplate,
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                        0,
                        240,
                        154,
                        u"Отчет",
                        u"MS Shell Dlg",
                        8,
                        kControls,
                        {}};
  win::RegisterDialogTemplate(t);
}
