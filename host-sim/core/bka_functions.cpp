// The host's exported plug-in functions, acting on the process's Host. Each
// is exported from the program under its plain name so that the plug-in can
// bind it by name. A build with LUMO_HOSTSIM_OMIT_CONNECT leaves BKA_Connect
// out, to show that the plug-in refuses such a host.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <string>

#include "host-sim/core/codecs.h"
#include "host-sim/core/copy_out.h"
#include "host-sim/core/cp932.h"
#include "host-sim/core/host_state.h"
#include "host-sim/core/mail_text.h"

// The program exports them; "used" keeps each one even when nothing in the
// program calls it.
#define HOST_EXPORT extern "C" LUMO_PROGRAM_EXPORT __attribute__((used))

// Declared first from the shared list, so that a definition whose signature
// differs from the plug-in's declaration fails to compile.
#define DECLARE_HOST_FUNCTION(name, result, params) extern "C" result WINAPI name params;
LUMO_HOST_FUNCTIONS(DECLARE_HOST_FUNCTION)
#undef DECLARE_HOST_FUNCTION

using lumo::hostsim::copyOut;
using lumo::hostsim::Host;
using lumo::hostsim::MailStore;

namespace {

Host& host() { return Host::instance(); }

LPSTR allocCopy(const std::string& text) {
  auto* block = static_cast<char*>(std::malloc(text.size() + 1));
  if (!block) return nullptr;
  std::memcpy(block, text.c_str(), text.size() + 1);
  return block;
}

LPSTR held(const std::string& slot, const std::string& text) {
  return const_cast<LPSTR>(host().hold(slot, text));
}

// None also when the mail is too large for the memory left.
std::optional<std::string> mailSource(LPCSTR mailId) {
  if (!mailId) return std::nullopt;
  try {
    if (std::strcmp(mailId, "TEMP") == 0) return host().shownText;
    if (!host().store()) return std::nullopt;
    return host().store()->source(mailId);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool inOpenMail = false;  // BKA_SetCurrentMail from inside BKC_OnOpenMail only shows

}  // namespace

HOST_EXPORT int WINAPI BKA_GetVersion(void) { return 0x0250; }

HOST_EXPORT void WINAPI BKA_Command(HWND, LPCSTR command) {
  if (command) host().runCommand(command);
}

HOST_EXPORT BOOL WINAPI BKA_GetWindowHandles(HWND* main, HWND* tree, HWND* list, HWND* view) {
  auto* w = host().windows();
  if (main) *main = w ? w->mainWindow() : nullptr;
  if (tree) *tree = w ? w->treeWindow() : nullptr;
  if (list) *list = w ? w->listWindow() : nullptr;
  if (view) *view = w ? w->viewWindow() : nullptr;
  return w ? TRUE : FALSE;
}

HOST_EXPORT UINT WINAPI BKA_RegisterCommand(LPCSTR statusText, int menuType, LumoCommandProc proc) {
  lumo::hostsim::RegisteredCommand c;
  c.id = host().nextCommandId++;
  c.statusText = statusText ? statusText : "";
  c.menuType = menuType;
  c.proc = proc;
  host().commands.push_back(c);
  return c.id;
}

HOST_EXPORT UINT WINAPI BKA_RegisterUICallback(UINT commandId, LumoStateProc proc) {
  for (auto it = host().commands.rbegin(); it != host().commands.rend(); ++it) {
    if (it->id == commandId) {
      it->state = proc;
      return commandId;
    }
  }
  return 0;
}

HOST_EXPORT LPCSTR WINAPI BKA_GetDataFolder(void) {
  return host().store() ? host().hold("data", host().store()->dataFolderText()) : nullptr;
}

HOST_EXPORT LPCSTR WINAPI BKA_GetTempFolder(void) { return host().hold("temp", host().tempFolder); }

HOST_EXPORT LPCSTR WINAPI BKA_GetTempFileName(LPCSTR extension) {
  static unsigned counter = 0;
  std::string name =
      host().tempFolder + "tmp" + std::to_string(++counter) + "." + (extension ? extension : "tmp");
  return host().hold("tempfile", name);
}

HOST_EXPORT LPCSTR WINAPI BKA_GetCurrentMailBox(void) {
  return host().currentMailbox.empty() ? nullptr : host().hold("mailbox", host().currentMailbox);
}

HOST_EXPORT void WINAPI BKA_SetCurrentMailBox(LPCSTR mailbox) {
  host().currentMailbox = mailbox ? mailbox : "";
  host().currentFolder.clear();
  host().currentMail.clear();
  host().selection.clear();
}

HOST_EXPORT LPCSTR WINAPI BKA_GetCurrentFolder(void) {
  return host().currentFolder.empty() ? nullptr : host().hold("folder", host().currentFolder);
}

// Changes the folder on view; the plug-in is not notified (it asked for it).
HOST_EXPORT void WINAPI BKA_SetCurrentFolder(LPCSTR folderId) {
  if (!folderId || !host().store() || !host().store()->folderExists(folderId)) return;
  host().currentFolder = folderId;
  host().currentMailbox = lumo::hostsim::mailboxOf(folderId);
  host().currentMail.clear();
  host().selection.clear();
}

HOST_EXPORT LPCSTR WINAPI BKA_GetFolderDisplayName(LPCSTR folderId) {
  std::string name = folderId && host().store() ? host().store()->displayName(folderId) : "";
  return host().hold("display", name);
}

HOST_EXPORT void WINAPI BKA_SetMessageText(HWND, LPCSTR text) {
  host().statusText = text ? text : "";
  host().statusLog.push_back(host().statusText);
}

HOST_EXPORT LPCSTR WINAPI BKA_GetCurrentMail(void) {
  return host().currentMail.empty() ? nullptr : host().hold("mail", host().currentMail);
}

// Selects and shows the mail, as a click in the list does: the plug-in hears
// of it through BKC_OnOpenMail unless it is already inside that call.
HOST_EXPORT void WINAPI BKA_SetCurrentMail(LPCSTR mailId) {
  if (!mailId || !host().store() || !host().store()->entry(mailId)) return;
  if (inOpenMail) {
    host().currentFolder = MailStore::folderOf(mailId);
    host().currentMailbox = lumo::hostsim::mailboxOf(mailId);
    host().currentMail = mailId;
    host().selection = {mailId};
    host().shownText = host().store()->source(mailId).value_or("");
    return;
  }
  inOpenMail = true;
  host().openMail(mailId);
  inOpenMail = false;
}

HOST_EXPORT int WINAPI BKA_GetNextMail(int start, LPSTR mailId, int size, BOOL selectedOnly) {
  if (!host().store()) return -1;
  auto ids = host().store()->mailIds(host().currentFolder);
  for (std::size_t i = start < 0 ? 0 : static_cast<std::size_t>(start) + 1; i < ids.size(); ++i) {
    if (selectedOnly) {
      const auto& sel = host().selection;
      if (std::find(sel.begin(), sel.end(), ids[i]) == sel.end()) continue;
    }
    copyOut(ids[i], mailId, size);
    return static_cast<int>(i);
  }
  return -1;
}

HOST_EXPORT void WINAPI BKA_SetSel(LPCSTR mailId, BOOL select) {
  if (!mailId) return;
  std::vector<std::string> ids = host().selection;
  std::erase(ids, std::string(mailId));
  if (select) ids.push_back(mailId);
  std::string current = host().currentMail;
  host().select(ids);
  if (!current.empty()) host().currentMail = current;
}

HOST_EXPORT BOOL WINAPI BKA_AppendMessage(LPCSTR folderId, LPCSTR message) {
  if (!folderId || !message || !host().store()) return FALSE;
  return host().store()->append(folderId, message).empty() ? FALSE : TRUE;
}

HOST_EXPORT BOOL WINAPI BKA_MoveSelectedMessages(LPCSTR folderId, BOOL copy) {
  if (!folderId || !host().store() || host().selection.empty()) return FALSE;
  if (!host().store()->folderExists(folderId)) return FALSE;
  bool all = true;
  for (const auto& id : host().selection) all = !host().store()->transfer(id, folderId, copy).empty() && all;
  if (!copy) {
    for (const auto& id : host().selection)
      if (id == host().currentMail) host().currentMail.clear();
    host().selection.clear();
  }
  return all ? TRUE : FALSE;
}

HOST_EXPORT DWORD WINAPI BKA_GetStatus(LPCSTR mailId) {
  if (!mailId || !host().store()) return 0;
  auto e = host().store()->entry(mailId);
  return e && e->read ? 1u : 0u;
}

// The substitute host has no compose windows.
HOST_EXPORT HWND WINAPI BKA_ComposeMail(LPCSTR) { return nullptr; }

HOST_EXPORT int WINAPI BKA_GetCharSet(LPCSTR mailId, LPSTR charset, int size) {
  auto text = mailSource(mailId);
  std::string type = text ? lumo::hostsim::headerValue(*text, "Content-Type") : "";
  std::string set = "US-ASCII";
  std::size_t at = type.find("charset=");
  if (at != std::string::npos) {
    set = type.substr(at + 8);
    set = set.substr(0, set.find(';'));
    std::erase(set, '"');
  }
  return copyOut(set, charset, size);
}

// A mail too large for the memory left gives no source (mailSource), as a
// mail client that cannot read it into memory would; the host goes on.
HOST_EXPORT LPSTR WINAPI BKA_GetSource(LPCSTR mailId) {
  try {
    auto text = mailSource(mailId);
    return text ? held("source", *text) : nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// "TEMP" only sets what the view shows; a stored mail's source is replaced.
// The text is a block of this host's heap (BKA_Alloc) and is the host's from
// the call on: it is released here, with BKA_Free, whatever becomes of it, so
// a plug-in that releases it again, or passes memory of its own, is caught by
// the heap checks.
HOST_EXPORT void WINAPI BKA_SetSource(LPCSTR mailId, LPCSTR source) {
  if (!source) return;
  struct Release {
    LPCSTR block;
    ~Release() { BKA_Free(const_cast<LPSTR>(block)); }
  } release{source};
  if (!mailId) return;
  if (std::strcmp(mailId, "TEMP") == 0) {
    try {
      host().shownText = source;
    } catch (const std::bad_alloc&) {
      host().shownText.clear();  // too large to show: the view shows nothing
    }
    return;
  }
  if (host().store() && host().store()->setSource(mailId, source) && host().currentMail == mailId)
    host().shownText = source;
}

HOST_EXPORT LPSTR WINAPI BKA_GetHeader(LPCSTR mailId) {
  auto text = mailSource(mailId);
  return text ? allocCopy(lumo::hostsim::headerBlock(*text)) : nullptr;
}

HOST_EXPORT LPSTR WINAPI BKA_GetText(LPSTR mimeType, int size) {
  copyOut("text/plain", mimeType, size);
  const std::string& shown = host().shownText;
  std::size_t body = shown.find("\r\n\r\n");
  return held("text", body == std::string::npos ? std::string() : shown.substr(body + 4));
}

HOST_EXPORT int WINAPI BKA_SetText(int, LPCSTR text) {
  if (!text) return 0;
  std::string& shown = host().shownText;
  std::size_t body = shown.find("\r\n\r\n");
  shown = (body == std::string::npos ? std::string() : shown.substr(0, body + 4)) + text;
  return 1;
}

HOST_EXPORT void WINAPI BKA_GetSpecifiedHeader(LPCSTR name, LPSTR value, int size) {
  std::string found;
  if (name && host().store() && !host().currentMail.empty()) {
    auto text = host().store()->source(host().currentMail);
    if (text) found = lumo::hostsim::headerValue(*text, name);
  }
  copyOut(found, value, size);
}

HOST_EXPORT void WINAPI BKA_SetSpecifiedHeader(LPCSTR name, LPCSTR value) {
  if (!name || !value || !host().store() || host().currentMail.empty()) return;
  auto text = host().store()->source(host().currentMail);
  if (!text) return;
  std::string changed = lumo::hostsim::withHeader(*text, name, value);
  host().store()->setSource(host().currentMail, changed);
}

HOST_EXPORT int WINAPI BKA_CompGetCharSet(HWND, LPSTR charset, int size) {
  return copyOut("", charset, size);
}
HOST_EXPORT LPSTR WINAPI BKA_CompGetSource(HWND) { return nullptr; }
HOST_EXPORT void WINAPI BKA_CompSetSource(HWND, LPCSTR) {}
HOST_EXPORT LPSTR WINAPI BKA_CompGetHeader(HWND) { return nullptr; }
HOST_EXPORT void WINAPI BKA_CompGetSpecifiedHeader(HWND, LPCSTR, LPSTR value, int size) {
  copyOut("", value, size);
}
HOST_EXPORT void WINAPI BKA_CompSetSpecifiedHeader(HWND, LPCSTR, LPCSTR) {}
HOST_EXPORT LPSTR WINAPI BKA_CompGetText(HWND, LPSTR mimeType, int size) {
  copyOut("", mimeType, size);
  return nullptr;
}
HOST_EXPORT void WINAPI BKA_CompSetText(HWND, int, LPCSTR) {}
HOST_EXPORT void WINAPI BKA_CompAttachFile(HWND, LPCSTR, LPCSTR) {}

HOST_EXPORT LPVOID WINAPI BKA_Alloc(DWORD size) { return std::malloc(size ? size : 1); }
HOST_EXPORT LPVOID WINAPI BKA_ReAlloc(LPVOID block, DWORD size) {
  return std::realloc(block, size ? size : 1);
}
HOST_EXPORT void WINAPI BKA_Free(LPVOID block) { std::free(block); }

// Character set conversions: UTF-8 converts to and from code page 932; the
// others hand back an unchanged copy (the substitute host shows only 932).
HOST_EXPORT LPSTR WINAPI BKA_ISO_2022_JP(LPCSTR text, BOOL) { return text ? allocCopy(text) : nullptr; }
HOST_EXPORT LPSTR WINAPI BKA_ISO_2022_KR(LPCSTR text, BOOL) { return text ? allocCopy(text) : nullptr; }
HOST_EXPORT LPSTR WINAPI BKA_HZ_GB2312(LPCSTR text, BOOL) { return text ? allocCopy(text) : nullptr; }
HOST_EXPORT LPSTR WINAPI BKA_ISO_8859_2(LPCSTR text, BOOL) { return text ? allocCopy(text) : nullptr; }
HOST_EXPORT LPSTR WINAPI BKA_EUC_JP(LPCSTR text, BOOL) { return text ? allocCopy(text) : nullptr; }
HOST_EXPORT LPSTR WINAPI BKA_UTF_7(LPCSTR text, BOOL) { return text ? allocCopy(text) : nullptr; }
HOST_EXPORT LPSTR WINAPI BKA_UTF_8(LPCSTR text, BOOL encode) {
  if (!text) return nullptr;
  return allocCopy(encode ? lumo::hostsim::cp932ToUtf8(text) : lumo::hostsim::utf8ToCp932(text));
}

HOST_EXPORT BOOL WINAPI BKA_B64Convert(LPCSTR outFile, LPCSTR inFile, BOOL encode) {
  return lumo::hostsim::convertFile(outFile, inFile,
                                    encode ? lumo::hostsim::base64Encode : lumo::hostsim::base64Decode);
}

HOST_EXPORT BOOL WINAPI BKA_QPConvert(LPCSTR outFile, LPCSTR inFile, BOOL encode) {
  return lumo::hostsim::convertFile(outFile, inFile,
                                    encode ? lumo::hostsim::qpEncode : lumo::hostsim::qpDecode);
}

HOST_EXPORT LPSTR WINAPI BKA_MIMEHeader(LPCSTR text, LPSTR charset, int size, BOOL) {
  copyOut("ISO-2022-JP", charset, size);
  return text ? allocCopy(text) : nullptr;
}

HOST_EXPORT LPSTR WINAPI BKA_SerializeRcpts(LPCSTR addresses) {
  if (!addresses) return nullptr;
  std::string text;
  for (const char* p = addresses; *p; ++p) text += (*p == '\r' || *p == '\n') ? ',' : *p;
  return allocCopy(text);
}

#ifndef LUMO_HOSTSIM_OMIT_CONNECT
HOST_EXPORT BOOL WINAPI BKA_Connect(BOOL) { return TRUE; }
#endif
