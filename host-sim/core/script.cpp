// The script language of the substitute host (see script.h): the command
// table, dispatch, `help`, and the commands that are not expectations or
// dialog actions.
#include "host-sim/core/script.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "host-sim/core/mail_text.h"
#include "host-sim/core/script_text.h"
#include "host-sim/core/settings_view.h"
#include "text/cp932.h"

namespace lumo::hostsim {

using namespace script_text;

namespace {

constexpr UINT kKeyDown = 0x0100;  // WM_KEYDOWN

// The host's own items of the mail-list (1) and folder-tree (2) menus.
std::vector<MenuItem> hostItems(int type) {
  if (type == 1)
    return {{101, "Open", false},
            {102, "Reply", false},
            {kCommandEdit, "Edit", false},
            {kCommandDelete, "Delete", false},
            {kMenuAnchorList, "Select All", false},
            {103, "Properties", false}};
  if (type == 2)
    return {{32790, "New Folder", false},
            {32797, "Rename", false},
            {kMenuAnchorTree, "Properties", false},
            {32800, "Empty Trash", false}};
  return {{57600, "Compose", false}};
}

}  // namespace

namespace script_text {

std::string visible(const std::string& text) {
  std::string shown;
  for (char ch : text) {
    if (ch == '\r')
      shown += "\\r";
    else if (ch == '\n')
      shown += "\\n";
    else if (ch == '\x01')
      shown += "\\x01";
    else
      shown += ch;
  }
  return shown;
}

std::string pictured(const std::string& utf8) {
  std::string shown;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto ch = static_cast<unsigned char>(utf8[i]);
    bool lineEnd = ch == '\n' || ch == '\t' || (ch == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n');
    if (ch >= 0x20 || lineEnd) {
      shown += utf8[i];
    } else {
      // U+2400 + ch in UTF-8: E2 90 80+ch.
      shown += "\xE2\x90";
      shown += static_cast<char>(0x80 + ch);
    }
  }
  return shown;
}

int answerValue(const std::string& word) {
  if (word == "OK" || word == "ok") return IDOK;
  if (word == "Cancel" || word == "cancel") return IDCANCEL;
  if (word == "Yes" || word == "yes") return IDYES;
  if (word == "No" || word == "no") return IDNO;
  return std::atoi(word.c_str());
}

std::string answerName(int answer) {
  switch (answer) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "Cancel";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
    default:
      return std::to_string(answer);
  }
}

std::string iconName(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONHAND:
      return "stop";
    case MB_ICONQUESTION:
      return "question";
    case MB_ICONEXCLAMATION:
      return "exclamation";
    case MB_ICONASTERISK:
      return "information";
    default:
      return "none";
  }
}

std::string buttonsName(UINT type) {
  switch (type & 0xF) {
    case MB_OK:
      return "OK";
    case MB_OKCANCEL:
      return "OKCancel";
    case 3:
      return "YesNoCancel";
    case MB_YESNO:
      return "YesNo";
    default:
      return std::to_string(type & 0xF);
  }
}

}  // namespace script_text

std::vector<std::string> splitWords(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size() || line[i] == '#') break;
    std::string word;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        // A backslash before the closing quote stays (folder ids end in one).
        bool closing =
            i + 1 < line.size() && line[i + 1] == '"' &&
            (i + 2 >= line.size() || line[i + 2] == ' ' || line[i + 2] == '\t' || line[i + 2] == '\r');
        if (line[i] == '\\' && !closing && i + 3 < line.size() && line[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(line[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(line[i + 3]))) {
          word += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
          i += 3;
        } else if (line[i] == '\\' && !closing && i + 1 < line.size() && std::strchr("\"nrt", line[i + 1])) {
          char next = line[++i];
          word += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '"';
        } else {
          word += line[i];
        }
      }
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

Script::Script(WindowSystem& windows, std::ostream& out) : windows_(windows), out_(out) {
  factory_ = [](const std::string& path) { return makeLibraryPlugin(path); };
  setActiveWindowSystem(&windows_);
  Host::instance().attach(nullptr, &windows_);
}

Script::~Script() {
  plugin_.reset();
  Host::instance().detach();
  setActiveWindowSystem(nullptr);
}

void Script::setPluginFactory(std::function<std::unique_ptr<PluginModule>(const std::string&)> factory) {
  factory_ = std::move(factory);
}

void Script::useStore(const std::string& dataFolder) {
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  store_ = std::make_unique<MailStore>(dataFolder);
  Host::instance().attach(store_.get(), &windows_);
  Host::instance().setPlugin(plugin_.get());
}

std::string Script::mailId(const std::string& word) const {
  // "@N": the Nth mail (from 1) of the current folder's list.
  if (word.size() > 1 && word[0] == '@' && store_) {
    auto ids = store_->mailIds(Host::instance().currentFolder);
    std::size_t n = std::strtoul(word.c_str() + 1, nullptr, 10);
    return n >= 1 && n <= ids.size() ? ids[n - 1] : std::string();
  }
  return c(word);
}

HMENU Script::buildMenu(int type) {
  HMENU menu = windows_.createMenu(hostItems(type));
  if (const auto* e = Host::instance().entry())
    lastResult_ = e->OnMenuInit(windows_.mainWindow(), menu, type);
  return menu;
}

std::string Script::showMenu(int type) {
  HMENU menu = buildMenu(type);
  for (const auto& item : windows_.menuItems(menu)) {
    if (item.separator) {
      out_ << "  ----\n";
      continue;
    }
    UINT state = Host::instance().itemState(item.id);
    out_ << "  " << item.id << " " << u(item.caption) << ((state & 1) ? " [disabled]" : "")
         << ((state & 2) ? " [checked]" : "") << "\n";
  }
  windows_.destroyMenu(menu);
  return {};
}

std::string Script::runLine(const std::string& line) {
  auto words = splitWords(line);
  if (words.empty()) return {};
  std::string error = runCommand(commands(), words, 0, "command");
  for (const auto& e : windows_.takeErrors()) error += (error.empty() ? "" : "; ") + e;
  return error;
}

int Script::run(std::istream& in, const std::string& name, bool interactive) {
  std::string line;
  int number = 0;
  int status = 0;
  if (interactive) {
    windows_.setPrompt([this, &in](const MessageBoxRecord& box) {
      out_ << "[message box] " << u(box.title) << ": " << u(box.text) << " (" << buttonsName(box.type)
           << ") answer? " << std::flush;
      std::string reply;
      std::getline(in, reply);
      return answerValue(reply.empty() ? "OK" : reply);
    });
  }
  if (interactive) {
    // An open dialog takes the user's next lines until one of them queues an
    // action for it.
    windows_.setDialogRefill([this, &in](int templateId) {
      out_ << "dialog " << templateId << "> " << std::flush;
      std::string reply;
      if (!std::getline(in, reply)) return false;
      std::string error = runLine(reply.rfind("dialog ", 0) == 0 ? reply : "dialog " + reply);
      if (!error.empty()) out_ << "error: " << error << "\n";
      return true;
    });
  }
  while (!quit_) {
    if (interactive) out_ << "lumo-host> " << std::flush;
    if (!std::getline(in, line)) break;
    ++number;
    std::string error = runLine(line);
    if (error.empty()) continue;
    out_ << name << ":" << number << ": error: " << error << "\n";
    status = 1;
    if (!interactive && !keepGoing_) break;
  }
  // An answer or dialog action never used means a box or dialog that was
  // expected did not come.
  if (status == 0 && !interactive) {
    if (std::string left = expectQueuesEmpty({"expect", "queues-empty"}); !left.empty()) {
      out_ << name << ": error at the end: " << left << "\n";
      status = 1;
    }
  }
  windows_.setPrompt(nullptr);
  windows_.setDialogRefill(nullptr);
  return status;
}

// Every command of the language. `help` prints these rows, in this order.
std::span<const ScriptCommand> Script::commands() {
  static const ScriptCommand table[] = {
      // Store and program.
      {"store", "DIR", "use (create) the store in DIR", &Script::store},
      {"folder", "ID [NAME]", "add a mailbox or folder with a display name", &Script::folder},
      {"mail", "FOLDER MESSAGE-ID SUBJECT [BODY] [read]", "add a simple mail; prints its id", &Script::mail},
      {"mail-file", "FOLDER PATH", "add a mail from a file", &Script::mailFile},
      {"include", "FILE", "run a script file (relative to the running script)", &Script::include},
      {"echo", "TEXT", "print TEXT", &Script::echo},
      {"quit", "", "stop the script", &Script::quitScript},
      {"keep-going", "",
       "from here on a failing line is reported and the run goes on (the exit status stays 1); a box "
       "without a queued answer gets its harmless button",
       &Script::keepGoing},
      {"help", "", "print this list", &Script::help},
      {"show",
       "state|shown|status|boxes|new-boxes|store|source MAIL|header MAIL NAME...|index FOLDER|file PATH",
       "print current ids, the shown text, the status, message boxes (all, or those since the last "
       "show), the store, a stored mail, its named header lines, a Folder.idx, a file (control bytes "
       "as symbols)",
       &Script::show},
      {"settings", "", "the plug-in's settings file and every setting as read from it",
       &Script::showSettings},
      {"write-file", "PATH TEXT", "write TEXT to a file in code page 932", &Script::writeToFile},
      {"write-bytes", "PATH TEXT", "write TEXT's bytes (\\xHH escapes) to a file", &Script::writeToFile},
      // Events.
      {"load", "[PATH] [may-fail]", "load the plug-in (./lumo.so or ./lumo.dll by default)", &Script::load},
      {"unload", "", "unload the plug-in", &Script::unload},
      {"start", "", "BKC_OnStart", &Script::startPlugin},
      {"exit", "", "BKC_OnExit", &Script::exitPlugin},
      {"info", "", "BKC_OnPlugInInfo; prints the record", &Script::showInfo},
      {"setup", "", "BKC_OnPlugInSetup(main window)", &Script::openSetup},
      {"every-minute", "", "BKC_OnEveryMinute", &Script::everyMinute},
      {"open-folder", "ID", "make ID the current folder; BKC_OnOpenFolder", &Script::openFolder},
      {"open-mail", "MAIL", "select and show a mail; BKC_OnOpenMail", &Script::openMail},
      {"select", "MAIL...", "set the selection (kept in list order)", &Script::selectMails},
      {"menu", "TYPE", "BKC_OnMenuInit; prints the menu's items", &Script::menu},
      {"choose", "TYPE CAPTION", "choose a menu item: posts WM_COMMAND with its id", &Script::choose},
      {"key", "CODE SHIFT", "BKC_OnKeyDispatch; a key it leaves is posted as WM_KEYDOWN", &Script::key},
      {"drop", "DEST EFFECT MAIL...", "BKC_OnDragDrop, then the host moves (2) or copies (1) the mails",
       &Script::drop},
      {"drop-raw", "DEST LIST COUNT EFFECT", "BKC_OnDragDrop with exactly these arguments", &Script::dropRaw},
      {"retrieve", "FOLDER MESSAGE-ID SUBJECT", "store a new mail; BKC_OnRetrieve", &Script::retrieve},
      {"retrieve-file", "FOLDER PATH", "store a file's bytes as a new mail; BKC_OnRetrieve",
       &Script::retrieveFile},
      {"make-shortcut", "MAIL FOLDER", "the plug-in's export LumoMakeShortCut(MAIL, FOLDER)",
       &Script::makeShortcut},
      {"move", "FOLDER", "the host moves the selection itself", &Script::moveSelection},
      {"post", "ID", "post WM_COMMAND ID to the main window", &Script::postCommand},
      {"peek-post", "ID", "post WM_COMMAND ID, peeked once before it is removed", &Script::postCommand},
      {"send", "ID", "send WM_COMMAND ID to the main window", &Script::postCommand},
      {"dblclick", "", "double-click in the mail list: NM_DBLCLK from the list to the main window",
       &Script::dblclick},
      {"answer", "OK|Cancel|Yes|No|N ...", "queue message-box answers", &Script::answer},
      {"dialog", "ACTION ...", "queue a dialog action (see below)", &Script::dialog},
      {"expect", "SUBJECT ...", "check the host's state (see below)", &Script::expect},
  };
  return table;
}

namespace {

const ScriptCommand* findCommand(std::span<const ScriptCommand> table, const std::string& name) {
  auto row = std::find_if(table.begin(), table.end(), [&](const ScriptCommand& r) { return name == r.name; });
  return row == table.end() ? nullptr : &*row;
}

void printTable(std::ostream& out, const char* prefix, std::span<const ScriptCommand> table) {
  for (const ScriptCommand& row : table) {
    std::string usage = std::string(prefix) + row.name + (*row.synopsis ? " " : "") + row.synopsis;
    out << "  " << usage
        << (usage.size() < 36 ? std::string(36 - usage.size(), ' ') : "\n" + std::string(38, ' '))
        << row.summary << "\n";
  }
}

}  // namespace

std::string helpText() {
  std::ostringstream out;
  out << "Commands:\n";
  printTable(out, "", Script::commands());
  out << "Dialog actions, queued before the event that opens the dialog:\n";
  printTable(out, "dialog ", Script::dialogActions());
  out << "Expectations:\n";
  printTable(out, "expect ", Script::expectations());
  out << "MAIL is a mail id or @N (the Nth mail of the current folder); see docs/host-sim.md\n";
  return out.str();
}

std::string Script::runCommand(std::span<const ScriptCommand> table, const Words& words, std::size_t at,
                               const char* what) {
  const ScriptCommand* row = findCommand(table, words[at]);
  if (!row) return std::string("unknown ") + what + " \"" + words[at] + "\"";
  return (this->*row->run)(words);
}

std::string Script::needPlugin() const { return Host::instance().entry() ? "" : "no plug-in is loaded"; }

std::string Script::help(const Words&) {
  out_ << helpText();
  return {};
}

std::string Script::echo(const Words& w) {
  out_ << join(w, 1) << "\n";
  return {};
}

// keep-going: for runs that look at what survives rather than at each
// line (a corpus of hostile mails). A box nobody queued an answer for is
// logged and gets the answer a script without one gets; the line goes on.
std::string Script::keepGoing(const Words&) {
  keepGoing_ = true;
  windows_.setPrompt([this](const MessageBoxRecord& box) {
    int answer = fallbackAnswer(box.type);
    out_ << "[message box] " << u(box.title) << ": " << u(box.text) << " (" << buttonsName(box.type)
         << ") answered " << answerName(answer) << "\n";
    return answer;
  });
  return {};
}

std::string Script::quitScript(const Words&) {
  quit_ = true;
  return {};
}

std::string Script::store(const Words& w) {
  if (w.size() < 2) return "store needs a data folder";
  useStore(w[1]);
  return {};
}

// folder ID [DISPLAY NAME]
std::string Script::folder(const Words& w) {
  if (!store_) return "no store";
  if (w.size() < 2) return "folder needs an id";
  // Missing parents come first, named after their directories.
  std::string id = c(w[1]);
  std::size_t nameStart = 0;
  for (std::size_t cut = findCp932Separator(id); cut != std::string::npos && cut + 1 < id.size();
       nameStart = cut + 1, cut = findCp932Separator(id, cut + 1)) {
    std::string parent = id.substr(0, cut + 1);
    std::string name = id.substr(nameStart, cut - nameStart);
    if (!store_->folderExists(parent) && !store_->addFolder(parent, name))
      return "cannot add folder " + u(parent);
  }
  if (!store_->addFolder(id, c(w.size() >= 3 ? join(w, 2) : w[1]))) return "cannot add folder " + w[1];
  return {};
}

// mail FOLDER MESSAGE-ID SUBJECT [BODY] [read]
std::string Script::mail(const Words& w) {
  if (!store_) return "no store";
  if (w.size() < 4) return "mail needs a folder, a Message-ID and a subject";
  std::string source = "From: sender@example.com\r\nTo: user@example.com\r\nSubject: " + c(w[3]) +
                       "\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: " + w[2] +
                       "\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\n" +
                       c(w.size() >= 5 ? w[4] : "Hello.") + "\r\n";
  std::string id = store_->append(c(w[1]), source, w.size() >= 6 && w[5] == "read");
  if (id.empty()) return "cannot add a mail to " + w[1];
  out_ << "mail " << u(id) << "\n";
  return {};
}

// mail-file FOLDER PATH
std::string Script::mailFile(const Words& w) {
  if (!store_ || w.size() < 3) return "mail-file needs a store, a folder and a file";
  auto data = readFile(w[2]);
  if (!data) return "cannot read " + w[2];
  std::string id = store_->append(c(w[1]), *data);
  if (id.empty()) return "cannot add a mail to " + w[1];
  out_ << "mail " << u(id) << "\n";
  return {};
}

std::string Script::include(const Words& w) {
  if (w.size() < 2) return "include needs a file";
  std::filesystem::path file = w[1];
  if (file.is_relative()) file = baseDir_ / file;
  std::ifstream in(file, std::ios::binary);
  if (!in) return "cannot open " + file.string();
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::string error = runLine(line);
    if (!error.empty()) return file.filename().string() + ":" + std::to_string(number) + ": " + error;
  }
  return {};
}

std::string Script::show(const Words& w) {
  Host& host = Host::instance();
  std::string what = w.size() >= 2 ? w[1] : "state";
  if (what == "shown") out_ << u(host.shownText);
  if (what == "status") out_ << "status: " << u(host.statusText) << "\n";
  if (what == "boxes" || what == "new-boxes") {
    const auto& boxes = windows_.messageBoxes();
    // The boxes shown before stay behind when only the new ones are asked
    // for, so a step of a script prints the boxes of that step alone.
    std::size_t from = what == "new-boxes" ? std::min(boxesShown_, boxes.size()) : 0;
    for (std::size_t i = from; i < boxes.size(); ++i) {
      const auto& b = boxes[i];
      out_ << "box title=\"" << u(b.title) << "\" text=\"" << u(b.text) << "\" icon=" << iconName(b.type)
           << " buttons=" << buttonsName(b.type) << " owner=" << (b.owner ? "window" : "none")
           << " answer=" << answerName(b.answer) << "\n";
    }
    boxesShown_ = boxes.size();
  }
  if (what == "store" && store_)
    for (const auto& f : store_->folders()) {
      out_ << u(f) << "  \"" << u(store_->displayName(f)) << "\"\n";
      for (const auto& m : store_->index(f))
        out_ << "    " << m.key << " " << (m.read ? "read  " : "unread") << " " << u(m.subject) << " "
             << m.messageId << "\n";
    }
  if (what == "state")
    out_ << "mailbox: " << u(host.currentMailbox) << "\nfolder: " << u(host.currentFolder)
         << "\nmail: " << u(host.currentMail) << "\nselection: " << u(join(host.selection, 0))
         << "\nstatus: " << u(host.statusText) << "\n";
  if (what == "file" && w.size() >= 3) {
    auto data = readFile(w[2]);
    if (!data) return "cannot read " + w[2];
    out_ << pictured(u(*data));
  }
  if (what == "source" && w.size() >= 3 && store_) {
    auto text = store_->source(mailId(w[2]));
    if (!text) return "no mail " + w[2];
    out_ << u(*text) << "\n";
  }
  if (what == "header" && w.size() >= 4 && store_) {
    auto text = store_->source(mailId(w[2]));
    if (!text) return "no mail " + w[2];
    for (std::size_t i = 3; i < w.size(); ++i) {
      std::string field = headerField(*text, c(w[i]));
      if (field.empty()) return "no header " + w[i] + " in " + w[2];
      out_ << pictured(u(field));
    }
  }
  if (what == "index" && w.size() >= 3 && store_) {
    auto data = readFile(store_->folderPath(c(w[2])) / "Folder.idx");
    out_ << visible(u(data.value_or(""))) << "\n";
  }
  return {};
}

std::string Script::showSettings(const Words&) {
  // The plug-in's settings file: its own path with the extension ".ini".
  if (!plugin_) return "no plug-in is loaded";
  std::filesystem::path file = plugin_->description();
  file.replace_extension(".ini");
  out_ << "settings file: " << file.string() << "\n";
  auto data = readFile(file);
  if (!data)
    out_ << "(no settings file: every setting takes its default)\n";
  else
    out_ << u(*data) << (data->empty() || data->back() == '\n' ? "" : "\n");
  out_ << "as the host reads them (what the plug-in should load):\n";
  printSettings(out_, file.string());
  return {};
}

// write-file PATH TEXT: TEXT in code page 932; write-bytes PATH TEXT: its bytes as given
std::string Script::writeToFile(const Words& w) {
  const std::string& cmd = w[0];
  if (w.size() < 2) return cmd + " needs a path";
  std::string text = w.size() >= 3 ? join(w, 2) : "";
  if (!writeFile(w[1], cmd == "write-file" ? c(text) : text)) return "cannot write " + w[1];
  return {};
}

// load [PATH] [may-fail]: the plug-in beside the working folder by default.
// The path is made whole first: the host hands it on to the system (the
// loader, the profile functions reading the settings beside it), which reads
// a bare file name in folders of its own, not the working one.
std::string Script::load(const Words& w) {
  Host& host = Host::instance();
  bool mayFail = w.back() == "may-fail";
  bool named = w.size() >= (mayFail ? 3u : 2u);
  std::filesystem::path path = named ? w[1] : std::string("./") + kPluginFileName;
  std::error_code ec;
  std::filesystem::path whole = std::filesystem::absolute(path, ec).lexically_normal();
  plugin_ = factory_(ec ? path.string() : whole.string());
  if (!plugin_->load()) {
    std::string why = plugin_->error();
    plugin_.reset();
    host.setPlugin(nullptr);
    out_ << "plug-in refused: " << why << "\n";
    return mayFail ? "" : why;
  }
  host.setPlugin(plugin_.get());
  out_ << "plug-in loaded: " << plugin_->description() << "\n";
  return {};
}

std::string Script::unload(const Words&) {
  Host::instance().setPlugin(nullptr);
  plugin_.reset();
  return {};
}

std::string Script::startPlugin(const Words&) {
  if (auto m = needPlugin(); !m.empty()) return m;
  lastResult_ = Host::instance().entry()->OnStart();
  return {};
}

std::string Script::exitPlugin(const Words&) {
  if (auto m = needPlugin(); !m.empty()) return m;
  lastResult_ = Host::instance().entry()->OnExit();
  return {};
}

std::string Script::showInfo(const Words&) {
  if (auto m = needPlugin(); !m.empty()) return m;
  LumoPluginInfo info{};
  std::strcpy(info.vendor, "(host)");
  lastResult_ = Host::instance().entry()->OnPlugInInfo(&info);
  info.name[sizeof info.name - 1] = info.vendor[sizeof info.vendor - 1] = '\0';
  info.version[sizeof info.version - 1] = info.description[sizeof info.description - 1] = '\0';
  out_ << "name: " << u(info.name) << "\nvendor: " << u(info.vendor) << "\nversion: " << u(info.version)
       << "\ndescription: " << u(info.description) << "\n";
  return {};
}

std::string Script::openSetup(const Words&) {
  if (auto m = needPlugin(); !m.empty()) return m;
  lastResult_ = Host::instance().entry()->OnPlugInSetup(windows_.mainWindow());
  return {};
}

std::string Script::everyMinute(const Words&) {
  if (auto m = needPlugin(); !m.empty()) return m;
  lastResult_ = Host::instance().entry()->OnEveryMinute();
  return {};
}

std::string Script::openFolder(const Words& w) {
  if (w.size() < 2) return "open-folder needs a folder id";
  if (!store_ || !store_->folderExists(c(w[1]))) return "no folder " + w[1];
  Host::instance().openFolder(c(w[1]));
  return {};
}

std::string Script::openMail(const Words& w) {
  if (w.size() < 2) return "open-mail needs a mail id";
  std::string id = mailId(w[1]);
  if (!store_ || id.empty() || !store_->entry(id)) return "no mail " + w[1];
  Host::instance().openMail(id);
  return {};
}

std::string Script::selectMails(const Words& w) {
  std::vector<std::string> ids;
  for (std::size_t i = 1; i < w.size(); ++i) ids.push_back(mailId(w[i]));
  Host::instance().select(ids);
  return {};
}

std::string Script::menu(const Words& w) {
  if (w.size() < 2) return "menu needs a type";
  return showMenu(std::atoi(w[1].c_str()));
}

// choose TYPE CAPTION
std::string Script::choose(const Words& w) {
  Host& host = Host::instance();
  if (w.size() < 3) return "choose needs a menu type and a caption";
  HMENU menu = buildMenu(std::atoi(w[1].c_str()));
  auto items = windows_.menuItems(menu);
  windows_.destroyMenu(menu);
  std::string caption = c(join(w, 2));
  for (const auto& item : items) {
    if (item.separator || item.caption != caption) continue;
    if (host.itemState(item.id) & 1) return "menu item \"" + join(w, 2) + "\" is disabled";
    if (const RegisteredCommand* command = host.command(item.id)) host.statusText = command->statusText;
    windows_.postMessage(windows_.mainWindow(), WM_COMMAND, item.id, 0, false);
    return {};
  }
  return "no menu item \"" + join(w, 2) + "\"";
}

// key CODE SHIFT: the plug-in first; a key it leaves goes to the window
std::string Script::key(const Words& w) {
  if (w.size() < 3) return "key needs a key code and a shift state";
  auto code = static_cast<int>(std::strtol(w[1].c_str(), nullptr, 0));
  auto shift = static_cast<int>(std::strtol(w[2].c_str(), nullptr, 0));
  const PluginEntryPoints* e = Host::instance().entry();
  lastResult_ = e ? e->OnKeyDispatch(windows_.mainWindow(), code, shift) : 0;
  out_ << "key result " << lastResult_ << "\n";
  if (lastResult_ == 0)
    windows_.postMessage(windows_.mainWindow(), kKeyDown, static_cast<WPARAM>(code), 0, false);
  return {};
}

// drop DEST EFFECT MAIL...: the plug-in hears first, then the host moves
std::string Script::drop(const Words& w) {
  if (w.size() < 4) return "drop needs a destination, an effect and mails";
  std::vector<std::string> ids;
  for (std::size_t i = 3; i < w.size(); ++i) ids.push_back(mailId(w[i]));
  std::string list = join(ids, 0, "\n");
  int effect = std::atoi(w[2].c_str());
  std::string destination = c(w[1]);
  if (const PluginEntryPoints* e = Host::instance().entry()) {
    lastResult_ = e->OnDragDrop(destination.c_str(), list.c_str(), static_cast<int>(ids.size()), effect);
    out_ << "drop result " << lastResult_ << "\n";
  }
  if (store_ && (effect == 1 || effect == 2)) {
    for (const auto& id : ids)
      if (store_->transfer(id, destination, effect == 1).empty())
        return "cannot drop " + u(id) + " on " + w[1];
    if (effect == 2) Host::instance().selection.clear();
  }
  return {};
}

// drop-raw DEST LIST COUNT EFFECT: only the plug-in's call
std::string Script::dropRaw(const Words& w) {
  if (auto m = needPlugin(); !m.empty()) return m;
  if (w.size() < 5) return "drop-raw needs a destination, a list, a count and an effect";
  std::string list = c(w[2]);
  lastResult_ = Host::instance().entry()->OnDragDrop(c(w[1]).c_str(), list.c_str(), std::atoi(w[3].c_str()),
                                                     std::atoi(w[4].c_str()));
  out_ << "drop result " << lastResult_ << "\n";
  return {};
}

// move DEST: the host's own move of the selection
std::string Script::moveSelection(const Words& w) {
  if (w.size() < 2) return "move needs a folder";
  Host& host = Host::instance();
  std::string folder = c(w[1]);
  for (const auto& id : host.selection)
    if (store_) store_->transfer(id, folder, false);
  host.selection.clear();
  return {};
}

// retrieve FOLDER MESSAGE-ID SUBJECT
std::string Script::retrieve(const Words& w) {
  if (auto m = needPlugin(); !m.empty()) return m;
  if (!store_ || w.size() < 4) return "retrieve needs a folder, a Message-ID and a subject";
  return retrieveSource(c(w[1]), "From: sender@example.com\r\nSubject: " + c(w[3]) +
                                     "\r\nMessage-ID: " + w[2] + "\r\n\r\nNew.\r\n");
}

// retrieve-file FOLDER PATH: any bytes at all, as a server may deliver them.
std::string Script::retrieveFile(const Words& w) {
  if (auto m = needPlugin(); !m.empty()) return m;
  if (!store_ || w.size() < 3) return "retrieve-file needs a store, a folder and a file";
  auto data = readFile(w[2]);
  if (!data) return "cannot read " + w[2];
  return retrieveSource(c(w[1]), *data);
}

// The host stores the mail, then tells the plug-in with the stored source.
std::string Script::retrieveSource(const std::string& folder, const std::string& source) {
  std::string id = store_->append(folder, source);
  if (id.empty()) return "cannot store the retrieved mail";
  lastResult_ = Host::instance().entry()->OnRetrieve(source.c_str(), id.c_str());
  out_ << "retrieved " << u(id) << "\n";
  return {};
}

// make-shortcut MAIL FOLDER: the export other software in the host calls.
std::string Script::makeShortcut(const Words& w) {
  if (auto m = needPlugin(); !m.empty()) return m;
  if (w.size() < 3) return "make-shortcut needs a mail and a folder";
  std::string mail = mailId(w[1]);
  lastResult_ = Host::instance().entry()->MakeShortCut(mail.c_str(), c(w[2]).c_str());
  out_ << "make-shortcut result " << lastResult_ << "\n";
  return {};
}

// post|peek-post|send COMMAND-ID
std::string Script::postCommand(const Words& w) {
  const std::string& cmd = w[0];
  if (w.size() < 2) return cmd + " needs a command id";
  auto id = static_cast<WPARAM>(std::strtoul(w[1].c_str(), nullptr, 0));
  if (cmd == "send")
    windows_.sendMessage(windows_.mainWindow(), WM_COMMAND, id, 0);
  else
    windows_.postMessage(windows_.mainWindow(), WM_COMMAND, id, 0, cmd == "peek-post");
  return {};
}

std::string Script::dblclick(const Words&) {
  windows_.doubleClickList();
  return {};
}

std::string Script::answer(const Words& w) {
  if (w.size() < 2) return "answer needs OK, Cancel, Yes, No or a number";
  for (std::size_t i = 1; i < w.size(); ++i) windows_.queueAnswer(answerValue(w[i]));
  return {};
}

std::string Script::expect(const Words& w) {
  if (w.size() < 2) return "expect needs a subject";
  return runCommand(expectations(), w, 1, "expectation");
}

}  // namespace lumo::hostsim
