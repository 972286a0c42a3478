// Whether each of the plug-in's menu items is disabled or checked. The host
// asks a state procedure whenever it shows an item; the procedure reads the
// creation and view state, the folder options and whether the host's current
// folder is one the plug-in acts on, and the rules below turn them into the
// host's state bits.
#pragma once

#include "platform/win32.h"

namespace lumo {

// The host's state bits: 0 is enabled and unchecked.
inline constexpr UINT ItemDisabled = 1;
inline constexpr UINT ItemChecked = 2;

// Everything the item states depend on.
struct ItemConditions {
  bool creationPending = false;
  bool shortcutOpened = false;
  bool memoOpened = false;
  bool usableFolder = false;          // IsUsableFolder of the current folder
  bool creationFolderOn = false;      // "SetFolder"
  bool retrieveFolderOn = false;      // "RetFolder"
  bool creationFolderChosen = false;  // "SetSC-Path" not empty
  bool retrieveFolderChosen = false;  // "RetSC-Path" not empty
};

// The rules, one per kind of item.
UINT createItemState(const ItemConditions& c);
UINT findItemState(const ItemConditions& c);
UINT shortcutItemState(const ItemConditions& c);
UINT deleteMemoItemState(const ItemConditions& c);
UINT creationFolderItemState(const ItemConditions& c);
UINT retrieveFolderItemState(const ItemConditions& c);

// The conditions as they are now.
ItemConditions currentItemConditions();

// The state procedures registered with the host; both arguments are ignored.
UINT WINAPI CreateItemState(HWND window, LPARAM param);
UINT WINAPI FindItemState(HWND window, LPARAM param);
UINT WINAPI ShortcutItemState(HWND window, LPARAM param);
UINT WINAPI DeleteMemoItemState(HWND window, LPARAM param);
UINT WINAPI CreationFolderItemState(HWND window, LPARAM param);
UINT WINAPI RetrieveFolderItemState(HWND window, LPARAM param);

}  // namespace lumo
