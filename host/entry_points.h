// The plug-in's exported entry points: the sixteen names the host calls, plus
// the load notification. On Windows the export list is res/lumo.def; on Linux
// these are the module's only visible symbols.
#pragma once

#include "platform/win32.h"

// The information record the host passes to BKC_OnPlugInInfo: four texts at
// fixed byte offsets. The description's width is the host's to choose; ours
// (the substitute host) gives it 256 bytes.
struct LumoPluginInfo {
  char name[80];          // offset 0
  char vendor[80];        // offset 80, left as the host set it
  char version[80];       // offset 160
  char description[256];  // offset 240
};

extern "C" {
LUMO_EXPORT BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

LUMO_EXPORT int WINAPI BKC_OnStart(void);
LUMO_EXPORT int WINAPI BKC_OnExit(void);
LUMO_EXPORT int WINAPI BKC_OnMenuInit(HWND window, HMENU menu, int menuType);
LUMO_EXPORT int WINAPI BKC_OnOpenFolder(LPCSTR folderId);
LUMO_EXPORT int WINAPI BKC_OnOpenMail(LPCSTR mailId);
LUMO_EXPORT int WINAPI BKC_OnRetrieve(LPCSTR message, LPCSTR mailId);
LUMO_EXPORT int WINAPI BKC_OnKeyDispatch(HWND window, int key, int shift);
LUMO_EXPORT int WINAPI BKC_OnDragDrop(LPCSTR destinationFolderId, LPCSTR sourceList, int count,
                                      int dropEffect);
LUMO_EXPORT int WINAPI LumoMakeShortCut(LPCSTR mailId, LPCSTR folderId);
LUMO_EXPORT int WINAPI BKC_OnPlugInSetup(HWND owner);
LUMO_EXPORT int WINAPI BKC_OnPlugInInfo(LumoPluginInfo* info);
LUMO_EXPORT int WINAPI BKC_OnEveryMinute(void);
LUMO_EXPORT int WINAPI BKC_OnOpenCompose(HWND window, int mode);
LUMO_EXPORT int WINAPI BKC_OnOutgoing(HWND window, int mode);
LUMO_EXPORT int WINAPI BKC_OnSend(LPCSTR message);
LUMO_EXPORT int WINAPI BKC_OnFinishRetrieve(int count);
}

// The one list of the sixteen entry points, in the order of the export list
// (res/lumo.def, which a test holds to it), each with the short name the
// substitute host gives its slot. Whatever lists them expands this:
// LumoExportNames below, the host's slots, its loaders' bindings.
#define LUMO_ENTRY_POINTS(X)          \
  X(BKC_OnStart, OnStart)             \
  X(BKC_OnExit, OnExit)               \
  X(BKC_OnMenuInit, OnMenuInit)       \
  X(BKC_OnOpenFolder, OnOpenFolder)   \
  X(BKC_OnOpenMail, OnOpenMail)       \
  X(BKC_OnRetrieve, OnRetrieve)       \
  X(BKC_OnKeyDispatch, OnKeyDispatch) \
  X(BKC_OnDragDrop, OnDragDrop)       \
  X(LumoMakeShortCut, MakeShortCut)   \
  X(BKC_OnPlugInSetup, OnPlugInSetup) \
  X(BKC_OnPlugInInfo, OnPlugInInfo)   \
  X(BKC_OnEveryMinute, OnEveryMinute) \
  X(BKC_OnOpenCompose, OnOpenCompose) \
  X(BKC_OnOutgoing, OnOutgoing)       \
  X(BKC_OnSend, OnSend)               \
  X(BKC_OnFinishRetrieve, OnFinishRetrieve)

#define LUMO_ENTRY_POINT_COUNT_ONE(name, slot) +1
#define LUMO_EXPORT_COUNT (0 LUMO_ENTRY_POINTS(LUMO_ENTRY_POINT_COUNT_ONE))

// The exported names, in the order of the export list.
extern const char* const LumoExportNames[LUMO_EXPORT_COUNT];
