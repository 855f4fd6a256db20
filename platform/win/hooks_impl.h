// hooks_impl.h (internal): the hooks set through automation.h.
#pragma once

#include "automation.h"

namespace win::detail {

const MessageBoxHook& MessageHook();
const ModalDialogHook& ModalHook();
const PopupMenuHook& PopupHook();
const FolderPickerHook& FolderHook();

}  // namespace win::detail
