// automation.cpp: storage of the hooks, the recorders, and window lookup for tests
// and unattended runs.
//
// Lookup walks the live handles; fine for the few hundred windows of this system.
#include "automation.h"

#include <QCoreApplication>
#include <QEvent>

#include "dialog_impl.h"
#include "handle.h"
#include "hooks_impl.h"

namespace win {
namespace {

MessageBoxHook g_messageHook;
ModalDialogHook g_modalHook;
PopupMenuHook g_popupHook;
FolderPickerHook g_folderHook;

HWND FindIn(HWND root, int id) {
  for (HWND child : root->children) {
    if (child->id == id) return child;
    if (HWND found = FindIn(child, id)) return found;
  }
  return nullptr;
}

}  // namespace

namespace detail {
const MessageBoxHook& MessageHook() { return g_messageHook; }
const ModalDialogHook& ModalHook() { return g_modalHook; }
const PopupMenuHook& PopupHook() { return g_popupHook; }
const FolderPickerHook& FolderHook() { return g_folderHook; }
}  // namespace detail

void SetMessageBoxHook(MessageBoxHook hook) { g_messageHook = std::move(hook); }
void SetModalDialogHook(ModalDialogHook hook) { g_modalHook = std::move(hook); }
void SetPopupMenuHook(PopupMenuHook hook) { g_popupHook = std::move(hook); }
void SetFolderPickerHook(FolderPickerHook hook) { g_folderHook = std::move(hook); }

HWND FindControl(HWND root, int id) { return detail::Alive(root) ? FindIn(root, id) : nullptr; }

std::vector<HWND> ChildWindows(HWND parent) {
  return detail::Alive(parent) ? parent->children : std::vector<HWND>();
}

std::vector<HWND> TopLevelWindows() { return detail::TopLevels(); }

HWND FindDialog(UINT templateId) {
  const auto& tops = detail::TopLevels();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it)
    if (DialogTemplateOf(*it) == templateId) return *it;
  return nullptr;
}

UINT DialogTemplateOf(HWND dialog) {
  if (!detail::Alive(dialog) || dialog->kind != detail::WindowKind::Dialog) return 0;
  return static_cast<detail::DialogWidget*>(dialog->impl)->TemplateId();
}

BOOL ClickButton(HWND parent, int id) {
  HWND button = ::GetDlgItem(parent, id);
  if (!button) return FALSE;
  ::SendMessage(button, BM_CLICK);
  return TRUE;
}

void ProcessPendingMessages() {
  for (int round = 0; round < 10; ++round) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

ScopedMessageBoxRecorder::ScopedMessageBoxRecorder(int answer) {
  SetMessageBoxHook([this, answer](const MessageBoxCall& call) {
    calls_.push_back(call);
    return answer;
  });
}
ScopedMessageBoxRecorder::~ScopedMessageBoxRecorder() { SetMessageBoxHook({}); }

ScopedModalDialogHook::ScopedModalDialogHook(ModalDialogHook hook) { SetModalDialogHook(std::move(hook)); }
ScopedModalDialogHook::~ScopedModalDialogHook() { SetModalDialogHook({}); }

ScopedPopupMenuHook::ScopedPopupMenuHook(UINT answer) {
  SetPopupMenuHook([this, answer](const PopupMenuCall& call) {
    calls_.push_back(call);
    return answer;
  });
}
ScopedPopupMenuHook::ScopedPopupMenuHook(PopupMenuHook hook) {
  SetPopupMenuHook([this, hook = std::move(hook)](const PopupMenuCall& call) {
    calls_.push_back(call);
    return hook(call);
  });
}
ScopedPopupMenuHook::~ScopedPopupMenuHook() { SetPopupMenuHook({}); }

}  // namespace win
