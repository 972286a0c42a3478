// The Win32 profile-file functions on Linux, served by the portable code.
#include "platform/profile_file.h"
#include "platform/win32.h"

extern "C" UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName) {
  return lumo::platform::profileGetInt(section, key, defaultValue, fileName);
}

extern "C" DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned,
                                          DWORD size, LPCSTR fileName) {
  return lumo::platform::profileGetString(section, key, defaultValue, returned, size, fileName);
}

extern "C" BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  return lumo::platform::profileWriteString(section, key, value, fileName) ? TRUE : FALSE;
}
