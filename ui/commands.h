// The small commands of the plug-in's menu items: jumping from a shortcut to
// its target mail, and choosing the fixed creation folder and the folder for
// shortcuts of retrieved mails. Each is a host command procedure: it gets the
// host's window, which owns any message box it shows, and a parameter it does
// not read.
#pragma once

#include "platform/win32.h"

namespace lumo {

// Selects the target of the shortcut opened last, when there is one.
void WINAPI JumpToTargetCommand(HWND window, LPARAM param);

// Ask, and on OK store the host's current folder as "SetSC-Path" (creation
// folder) or "RetSC-Path" (folder for retrieved mails). Nothing changes on
// Cancel, without a current folder, or for a folder id the setting cannot
// hold (longer than 255 bytes, or holding a line break that would break the
// settings file); the folder chosen before stays.
void WINAPI SetCreationFolderCommand(HWND window, LPARAM param);
void WINAPI SetRetrieveFolderCommand(HWND window, LPARAM param);

}  // namespace lumo
