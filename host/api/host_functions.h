// The host mail client's exported plug-in functions, in the order in which the
// plug-in binds them. One list serves both sides: the plug-in's table of
// function pointers (host/api/host_api.h) and the substitute host's definitions.
//
// Ownership: texts returned by the getters of ids, paths and names belong to
// the host and are never released; BKA_GetHeader's text is released with
// BKA_Free; text handed to BKA_SetSource comes from BKA_Alloc/BKA_ReAlloc and
// belongs to the host after the call (the host releases it). Every other text
// the plug-in passes (BKA_AppendMessage's mail, header names and values,
// status texts) is only read during the call and stays the plug-in's.
#pragma once

#include "platform/win32.h"

// A command procedure registered with BKA_RegisterCommand: it receives the
// host's window and a parameter.
typedef void(WINAPI* LumoCommandProc)(HWND window, LPARAM param);
// A state procedure registered with BKA_RegisterUICallback: bit 1 disables the
// item, bit 2 checks it.
typedef UINT(WINAPI* LumoStateProc)(HWND window, LPARAM param);

// X(name, result, parameter list)
#define LUMO_HOST_FUNCTIONS(X)                                                            \
  X(BKA_GetVersion, int, (void))                                                          \
  X(BKA_Command, void, (HWND window, LPCSTR command))                                     \
  X(BKA_GetWindowHandles, BOOL, (HWND * main, HWND * tree, HWND * list, HWND * view))     \
  X(BKA_RegisterCommand, UINT, (LPCSTR statusText, int menuType, LumoCommandProc proc))   \
  X(BKA_RegisterUICallback, UINT, (UINT commandId, LumoStateProc proc))                   \
  X(BKA_GetDataFolder, LPCSTR, (void))                                                    \
  X(BKA_GetTempFolder, LPCSTR, (void))                                                    \
  X(BKA_GetTempFileName, LPCSTR, (LPCSTR extension))                                      \
  X(BKA_GetCurrentMailBox, LPCSTR, (void))                                                \
  X(BKA_SetCurrentMailBox, void, (LPCSTR mailbox))                                        \
  X(BKA_GetCurrentFolder, LPCSTR, (void))                                                 \
  X(BKA_SetCurrentFolder, void, (LPCSTR folderId))                                        \
  X(BKA_GetFolderDisplayName, LPCSTR, (LPCSTR folderId))                                  \
  X(BKA_SetMessageText, void, (HWND window, LPCSTR text))                                 \
  X(BKA_GetCurrentMail, LPCSTR, (void))                                                   \
  X(BKA_SetCurrentMail, void, (LPCSTR mailId))                                            \
  X(BKA_GetNextMail, int, (int start, LPSTR mailId, int size, BOOL selectedOnly))         \
  X(BKA_SetSel, void, (LPCSTR mailId, BOOL select))                                       \
  X(BKA_AppendMessage, BOOL, (LPCSTR folderId, LPCSTR message))                           \
  X(BKA_MoveSelectedMessages, BOOL, (LPCSTR folderId, BOOL copy))                         \
  X(BKA_GetStatus, DWORD, (LPCSTR mailId))                                                \
  X(BKA_ComposeMail, HWND, (LPCSTR url))                                                  \
  X(BKA_GetCharSet, int, (LPCSTR mailId, LPSTR charset, int size))                        \
  X(BKA_GetSource, LPSTR, (LPCSTR mailId))                                                \
  X(BKA_SetSource, void, (LPCSTR mailId, LPCSTR source))                                  \
  X(BKA_GetHeader, LPSTR, (LPCSTR mailId))                                                \
  X(BKA_GetText, LPSTR, (LPSTR mimeType, int size))                                       \
  X(BKA_SetText, int, (int mode, LPCSTR text))                                            \
  X(BKA_GetSpecifiedHeader, void, (LPCSTR name, LPSTR value, int size))                   \
  X(BKA_SetSpecifiedHeader, void, (LPCSTR name, LPCSTR value))                            \
  X(BKA_CompGetCharSet, int, (HWND compose, LPSTR charset, int size))                     \
  X(BKA_CompGetSource, LPSTR, (HWND compose))                                             \
  X(BKA_CompSetSource, void, (HWND compose, LPCSTR source))                               \
  X(BKA_CompGetHeader, LPSTR, (HWND compose))                                             \
  X(BKA_CompGetSpecifiedHeader, void, (HWND compose, LPCSTR name, LPSTR value, int size)) \
  X(BKA_CompSetSpecifiedHeader, void, (HWND compose, LPCSTR name, LPCSTR value))          \
  X(BKA_CompGetText, LPSTR, (HWND compose, LPSTR mimeType, int size))                     \
  X(BKA_CompSetText, void, (HWND compose, int mode, LPCSTR text))                         \
  X(BKA_CompAttachFile, void, (HWND compose, LPCSTR path, LPCSTR mimeType))               \
  X(BKA_Alloc, LPVOID, (DWORD size))                                                      \
  X(BKA_ReAlloc, LPVOID, (LPVOID block, DWORD size))                                      \
  X(BKA_Free, void, (LPVOID block))                                                       \
  X(BKA_ISO_2022_JP, LPSTR, (LPCSTR text, BOOL encode))                                   \
  X(BKA_ISO_2022_KR, LPSTR, (LPCSTR text, BOOL encode))                                   \
  X(BKA_HZ_GB2312, LPSTR, (LPCSTR text, BOOL encode))                                     \
  X(BKA_ISO_8859_2, LPSTR, (LPCSTR text, BOOL encode))                                    \
  X(BKA_EUC_JP, LPSTR, (LPCSTR text, BOOL encode))                                        \
  X(BKA_UTF_7, LPSTR, (LPCSTR text, BOOL encode))                                         \
  X(BKA_UTF_8, LPSTR, (LPCSTR text, BOOL encode))                                         \
  X(BKA_B64Convert, BOOL, (LPCSTR outFile, LPCSTR inFile, BOOL encode))                   \
  X(BKA_QPConvert, BOOL, (LPCSTR outFile, LPCSTR inFile, BOOL encode))                    \
  X(BKA_MIMEHeader, LPSTR, (LPCSTR text, LPSTR charset, int size, BOOL encode))           \
  X(BKA_SerializeRcpts, LPSTR, (LPCSTR addresses))                                        \
  X(BKA_Connect, BOOL, (BOOL connect))

// Number of host functions the plug-in binds.
#define LUMO_HOST_FUNCTION_COUNT 54
