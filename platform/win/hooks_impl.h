// hooks_impl.h (internal): the hooks set through test_support.h.
#pragma once

#include "test_support.h"

namespace win::detail {

const MessageBoxHook& MessageHook();
const ModalDialogHook& ModalHook();
const PopupMenuHook& PopupHook();
const FolderPickerHook& FolderHook();

}  // namespace win::detail
