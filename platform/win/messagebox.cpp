// messagebox.cpp: message boxes over QMessageBox, or answered by the message box hook.
//
// The hook sees the call exactly as made (caption, text, MB_* flags) and its answer is
// returned as the user's. Without a hook the box is application-modal.
#include <QApplication>
#include <QMessageBox>

#include "handle.h"
#include "hooks_impl.h"
#include "messagebox.h"

using namespace win::detail;

namespace {

QMessageBox::Icon IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

struct ButtonChoice {
  QMessageBox::StandardButton button;
  int id;
};

std::vector<ButtonChoice> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
      return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
  }
}

}  // namespace

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  static const char16_t kDefaultCaption[] = u"Ошибка";
  LPCWSTR shownCaption = caption ? caption : kDefaultCaption;
  if (const win::MessageBoxHook& hook = MessageHook()) {
    win::MessageBoxCall call{Alive(owner) ? owner : nullptr, shownCaption, text ? sys::Text(text) : sys::Text(), type};
    return hook(call);
  }
  QWidget* parent = Alive(owner) && owner->widget ? owner->widget->window() : QApplication::activeWindow();
  QMessageBox box(IconOf(type), ToQt(shownCaption), ToQt(text), QMessageBox::NoButton, parent);
  std::vector<ButtonChoice> choices = ButtonsOf(type);
  QMessageBox::StandardButtons buttons;
  for (const ButtonChoice& c : choices) buttons |= c.button;
  box.setStandardButtons(buttons);
  box.setWindowModality(Qt::ApplicationModal);
  auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
  for (const ButtonChoice& c : choices)
    if (c.button == chosen) return c.id;
  return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
}

int AfxMessageBox(LPCWSTR text, UINT type) {
  HWND active = HandleOfWidget(QApplication::activeWindow());
  return MessageBox(active, text, nullptr, type);
}
