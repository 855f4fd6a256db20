// dlg_msg_template.cpp: dialog template 151, the system messages page (a child page
// without caption, 300 x 99 dialog units): three level check boxes that stay in place
// and a read-only multi-line text box that grows with the page. Constant data;
// registering copies it into the window layer once.
#include "platform/win/resources.h"
#include "ui/dlg_msg.h"

namespace {

constexpr DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_SETFONT;
constexpr DWORD kCheckStyle = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kTextStyle = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;

constexpr win::DialogControl kControls[] = {
    {win::kButtonClass, kMsgErrorsCheck, u"Ошибки", kCheckStyle, 0, 7, 7, 43, 10},
    {win::kButtonClass, kMsgWarningsCheck, u"Предупреждения", kCheckStyle, 0, 68, 7, 75, 10},
    {win::kButtonClass, kMsgInfosCheck, u"Информация", kCheckStyle, 0, 159, 7, 62, 10},
    {win::kEditClass, kMsgTextEdit, nullptr, kTextStyle, 0, 7, 19, 286, 73},
};

constexpr win::DynamicLayoutItem kLayout[] = {
    {kMsgErrorsCheck, 0, 0, 0, 0},
    {kMsgWarningsCheck, 0, 0, 0, 0},
    {kMsgInfosCheck, 0, 0, 0, 0},
    {kMsgTextEdit, 0, 0, 100, 100},
};

}  // namespace

void RegisterDlgMsgTemplate() {
  win::RegisterDialogTemplate({kDlgMsgTemplate, kPageStyle, 0, 300, 99, u"", u"MS Shell Dlg", 8, kControls, kLayout});
}
