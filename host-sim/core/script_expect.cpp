// Expectations of the script language, `expect SUBJECT ...`: each checks the
// host's state and names what it expected and found.
#include <cstdlib>
#include <filesystem>

#include "host-sim/core/mail_text.h"
#include "host-sim/core/script.h"
#include "host-sim/core/script_text.h"
#include "host-sim/core/settings_view.h"

namespace lumo::hostsim {

using namespace script_text;

namespace {

// The expected text: every word after the subject, in code page 932.
std::string wanted(const Words& w) { return w.size() >= 3 ? c(join(w, 2)) : ""; }

std::string mismatch(const Words& w, const std::string& actual) {
  return "expected " + w[1] + " \"" + visible(u(wanted(w))) + "\", got \"" + visible(u(actual)) + "\"";
}

std::string compare(const Words& w, const std::string& actual) {
  return actual == wanted(w) ? "" : mismatch(w, actual);
}

}  // namespace

std::span<const ScriptCommand> Script::expectations() {
  static const ScriptCommand table[] = {
      {"status", "TEXT", "the status bar text", &Script::expectStatus},
      {"shown-contains", "TEXT", "the mail view shows TEXT", &Script::expectShownContains},
      {"shown-lacks", "TEXT", "the mail view does not show TEXT", &Script::expectShownLacks},
      {"shown", "TEXT", "the mail view shows exactly TEXT", &Script::expectShown},
      {"shown-source", "MAIL", "the mail view shows exactly a stored mail's source",
       &Script::expectShownSource},
      {"source", "MAIL TEXT", "a stored mail's whole source is exactly TEXT", &Script::expectSource},
      {"folder", "ID", "the current folder", &Script::expectFolder},
      {"mail", "MAIL", "the current mail", &Script::expectMail},
      {"selection", "MAIL...", "the selection, in list order", &Script::expectSelection},
      {"box", "FIELD VALUE", "the last message box's title, text, icon, buttons, owner, answer or style",
       &Script::expectBox},
      {"boxes", "N", "the number of message boxes so far", &Script::expectBoxes},
      {"item", "TYPE CAPTION STATE...", "a menu item is enabled, disabled, checked, unchecked or absent",
       &Script::expectItem},
      {"menu", "TYPE ITEM...", "the whole menu in order, --- for separators", &Script::expectMenu},
      {"header", "MAIL NAME VALUE", "a stored mail's header value", &Script::expectHeader},
      {"mails", "FOLDER N", "the number of mails in a folder", &Script::expectMails},
      {"read", "MAIL yes|no", "a stored mail's read mark", &Script::expectRead},
      {"host-command", "NAME", "the plug-in issued that BKA_Command", &Script::expectHostCommand},
      {"readonly", "yes|no", "the mail view editor's read-only style", &Script::expectReadonly},
      {"hooks", "G C", "installed WH_GETMESSAGE and WH_CALLWNDPROC hooks", &Script::expectHooks},
      {"plugin", "loaded|absent", "whether a plug-in is loaded", &Script::expectPlugin},
      {"result", "N", "the last entry point's result", &Script::expectResult},
      {"setting", "KEY VALUE", "a setting as read from the settings file now", &Script::expectSetting},
      {"queues-empty", "", "every queued answer and dialog action was used", &Script::expectQueuesEmpty},
      {"file-exists", "PATH", "the file exists", &Script::expectFileExists},
      {"file-missing", "PATH", "the file does not exist", &Script::expectFileExists},
      {"file", "PATH TEXT", "the file holds exactly TEXT (code page 932)", &Script::expectFileContains},
      {"file-contains", "PATH TEXT", "the file holds TEXT (code page 932)", &Script::expectFileContains},
      {"file-lacks", "PATH TEXT", "the file does not hold TEXT (code page 932)", &Script::expectFileContains},
  };
  return table;
}

std::string Script::expectStatus(const Words& w) { return compare(w, Host::instance().statusText); }

std::string Script::expectShownContains(const Words& w) {
  const std::string& shown = Host::instance().shownText;
  return shown.find(wanted(w)) != std::string::npos ? "" : mismatch(w, shown.substr(0, 400));
}

std::string Script::expectShownLacks(const Words& w) {
  std::string want = wanted(w);
  return Host::instance().shownText.find(want) == std::string::npos ? ""
                                                                    : "shown text holds \"" + u(want) + "\"";
}

std::string Script::expectShown(const Words& w) { return compare(w, Host::instance().shownText); }

// expect shown-source MAIL: byte for byte, so mails of any bytes can be
// checked without writing them into the script.
std::string Script::expectShownSource(const Words& w) {
  if (!store_ || w.size() < 3) return "expect shown-source needs a store and a mail";
  auto text = store_->source(mailId(w[2]));
  if (!text) return "no mail " + w[2];
  const std::string& shown = Host::instance().shownText;
  if (shown == *text) return {};
  std::size_t at = 0;
  while (at < shown.size() && at < text->size() && shown[at] == (*text)[at]) ++at;
  return "the view differs from the source of " + w[2] + " at byte " + std::to_string(at) + " (shows " +
         std::to_string(shown.size()) + " bytes, the source has " + std::to_string(text->size()) + ")";
}

// expect source MAIL TEXT
std::string Script::expectSource(const Words& w) {
  if (!store_ || w.size() < 3) return "expect source needs a store and a mail";
  auto text = store_->source(mailId(w[2]));
  if (!text) return "no mail " + w[2];
  std::string want = c(w.size() >= 4 ? join(w, 3) : "");
  return *text == want ? ""
                       : "expected source \"" + visible(u(want)) + "\", got \"" + visible(u(*text)) + "\"";
}

std::string Script::expectFolder(const Words& w) { return compare(w, Host::instance().currentFolder); }

std::string Script::expectMail(const Words& w) {
  const std::string& current = Host::instance().currentMail;
  return current == mailId(w.size() >= 3 ? w[2] : "") ? "" : mismatch(w, current);
}

std::string Script::expectSelection(const Words& w) {
  const auto& selection = Host::instance().selection;
  std::vector<std::string> ids;
  for (std::size_t i = 2; i < w.size(); ++i) ids.push_back(mailId(w[i]));
  return ids == selection ? "" : "expected selection " + u(join(ids, 0)) + ", got " + u(join(selection, 0));
}

std::string Script::expectResult(const Words& w) {
  return lastResult_ == std::atoi(wanted(w).c_str()) ? "" : mismatch(w, std::to_string(lastResult_));
}

std::string Script::expectHostCommand(const Words& w) {
  std::string want = wanted(w);
  for (const auto& name : Host::instance().commandLog)
    if (name == want) return {};
  return "the host command \"" + u(want) + "\" was not issued";
}

std::string Script::expectQueuesEmpty(const Words&) {
  std::size_t answers = windows_.pendingAnswers(), actions = windows_.pendingDialogActions();
  if (answers == 0 && actions == 0) return {};
  return std::to_string(answers) + " queued message-box answers and " + std::to_string(actions) +
         " queued dialog actions were not used";
}

// expect plugin loaded|absent
std::string Script::expectPlugin(const Words& w) {
  bool loaded = Host::instance().entry() != nullptr;
  return (wanted(w) == "loaded") == loaded ? "" : mismatch(w, loaded ? "loaded" : "absent");
}

std::string Script::expectReadonly(const Words& w) {
  bool readOnly = windows_.editorReadOnly();
  return (wanted(w) == "yes") == readOnly ? "" : mismatch(w, readOnly ? "yes" : "no");
}

// expect setting KEY VALUE: as the settings file reads now
std::string Script::expectSetting(const Words& w) {
  if (!plugin_ || w.size() < 4) return "expect setting needs a loaded plug-in, a key and a value";
  std::filesystem::path file = plugin_->description();
  file.replace_extension(".ini");
  std::string value = c(join(w, 3));
  for (const LoadedSetting& s : loadedSettings(file.string())) {
    if (s.key != w[2]) continue;
    std::string shown =
        s.value.size() >= 2 && s.value.front() == '"' ? s.value.substr(1, s.value.size() - 2) : s.value;
    return shown == value ? ""
                          : "expected setting " + w[2] + " \"" + u(value) + "\", got \"" + u(shown) + "\"";
  }
  return "no setting " + w[2];
}

// expect hooks GETMESSAGE CALLWNDPROC
std::string Script::expectHooks(const Words& w) {
  std::string actual = std::to_string(windows_.hookCount(WH_GETMESSAGE)) + " " +
                       std::to_string(windows_.hookCount(WH_CALLWNDPROC));
  return compare(w, actual);
}

std::string Script::expectBoxes(const Words& w) {
  return compare(w, std::to_string(windows_.messageBoxes().size()));
}

// expect box FIELD TEXT, on the last box: title text icon buttons owner answer style
std::string Script::expectBox(const Words& w) {
  if (windows_.messageBoxes().empty()) return "no message box was shown";
  if (w.size() < 3) return "expect box needs a field";
  const MessageBoxRecord& b = windows_.messageBoxes().back();
  const std::string& field = w[2];
  std::string value = c(w.size() >= 4 ? join(w, 3) : "");
  std::string actual = field == "title"     ? b.title
                       : field == "text"    ? b.text
                       : field == "icon"    ? iconName(b.type)
                       : field == "buttons" ? buttonsName(b.type)
                       : field == "owner"   ? (b.owner == windows_.mainWindow() ? "main"
                                               : b.owner                        ? "window"
                                                                                : "none")
                       : field == "answer"  ? answerName(b.answer)
                       : field == "style"   ? std::to_string(b.type)
                                            : "?";
  return actual == value ? "" : "expected box " + field + " \"" + u(value) + "\", got \"" + u(actual) + "\"";
}

// expect item TYPE CAPTION STATE...  (enabled disabled checked unchecked absent)
std::string Script::expectItem(const Words& w) {
  if (w.size() < 5) return "expect item needs a menu type, a caption and a state";
  HMENU menu = buildMenu(std::atoi(w[2].c_str()));
  auto items = windows_.menuItems(menu);
  windows_.destroyMenu(menu);
  std::string caption = c(w[3]);
  for (const auto& item : items) {
    if (item.separator || item.caption != caption) continue;
    UINT state = Host::instance().itemState(item.id);
    for (std::size_t i = 4; i < w.size(); ++i) {
      bool ok = w[i] == "enabled"     ? !(state & 1)
                : w[i] == "disabled"  ? (state & 1)
                : w[i] == "checked"   ? (state & 2)
                : w[i] == "unchecked" ? !(state & 2)
                                      : false;
      if (!ok) return "menu item \"" + w[3] + "\" is not " + w[i] + " (state " + std::to_string(state) + ")";
    }
    return {};
  }
  for (std::size_t i = 4; i < w.size(); ++i)
    if (w[i] == "absent") return {};
  return "no menu item \"" + w[3] + "\"";
}

// expect menu TYPE CAPTION|--- ...: the whole menu in order
std::string Script::expectMenu(const Words& w) {
  if (w.size() < 3) return "expect menu needs a type";
  HMENU menu = buildMenu(std::atoi(w[2].c_str()));
  std::vector<std::string> actual;
  for (const auto& item : windows_.menuItems(menu))
    actual.push_back(item.separator ? "---" : u(item.caption));
  windows_.destroyMenu(menu);
  std::vector<std::string> expected(w.begin() + 3, w.end());
  return actual == expected ? ""
                            : "expected menu " + join(expected, 0, " | ") + ", got " + join(actual, 0, " | ");
}

// expect header MAIL NAME VALUE
std::string Script::expectHeader(const Words& w) {
  if (!store_ || w.size() < 4) return "expect header needs a mail and a name";
  auto text = store_->source(mailId(w[2]));
  if (!text) return "no mail " + w[2];
  std::string value = c(w.size() >= 5 ? join(w, 4) : "");
  std::string actual = headerValue(*text, w[3]);
  return actual == value ? ""
                         : "expected header " + w[3] + " \"" + u(value) + "\", got \"" + u(actual) + "\"";
}

// expect mails FOLDER N
std::string Script::expectMails(const Words& w) {
  if (!store_ || w.size() < 4) return "expect mails needs a folder and a count";
  auto n = store_->index(c(w[2])).size();
  return std::to_string(n) == w[3] ? ""
                                   : "expected " + w[3] + " mails in " + w[2] + ", got " + std::to_string(n);
}

// expect read MAIL yes|no
std::string Script::expectRead(const Words& w) {
  if (!store_ || w.size() < 4) return "expect read needs a mail and yes or no";
  auto entry = store_->entry(mailId(w[2]));
  if (!entry) return "no mail " + w[2];
  return entry->read == (w[3] == "yes") ? "" : "mail " + w[2] + " read mark is " + (entry->read ? "1" : "0");
}

// expect file-exists|file-missing PATH
std::string Script::expectFileExists(const Words& w) {
  bool exists = w.size() >= 3 && std::filesystem::exists(w[2]);
  return exists == (w[1] == "file-exists")
             ? ""
             : "file " + (w.size() >= 3 ? w[2] : "") + (exists ? " exists" : " is missing");
}

// expect file|file-contains|file-lacks PATH TEXT
std::string Script::expectFileContains(const Words& w) {
  if (w.size() < 4) return "expect " + w[1] + " needs a path and a text";
  auto data = readFile(w[2]);
  if (!data) return "cannot read " + w[2];
  if (w[1] == "file")
    return *data == c(join(w, 3)) ? "" : "file " + w[2] + " holds \"" + visible(u(*data)) + "\"";
  bool holds = data->find(c(join(w, 3))) != std::string::npos;
  if (holds == (w[1] == "file-contains")) return {};
  return "file " + w[2] + (holds ? " holds \"" : " lacks \"") + visible(join(w, 3)) + "\"";
}

}  // namespace lumo::hostsim
