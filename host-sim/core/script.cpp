// The script language of the substitute host (see script.h).
#include "host-sim/core/script.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "host-sim/core/cp932.h"
#include "host-sim/core/mail_text.h"
#include "host-sim/core/settings_view.h"

namespace lumo::hostsim {
namespace {

constexpr UINT kKeyDown = 0x0100;  // WM_KEYDOWN

std::string u(const std::string& cp932) { return cp932ToUtf8(cp932); }
std::string c(const std::string& utf8) { return utf8ToCp932(utf8); }

std::string join(const std::vector<std::string>& words, std::size_t from, const char* sep = " ") {
  std::string text;
  for (std::size_t i = from; i < words.size(); ++i) text += (i > from ? sep : "") + words[i];
  return text;
}

int answerValue(const std::string& word) {
  if (word == "OK" || word == "ok") return IDOK;
  if (word == "Cancel" || word == "cancel") return IDCANCEL;
  if (word == "Yes" || word == "yes") return IDYES;
  if (word == "No" || word == "no") return IDNO;
  return std::atoi(word.c_str());
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
  std::string error = dispatch(words);
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
    if (!interactive) break;
  }
  // An answer or dialog action never used means a box or dialog that was
  // expected did not come.
  if (status == 0 && !interactive) {
    if (std::string left = expect({"expect", "queues-empty"}); !left.empty()) {
      out_ << name << ": error at the end: " << left << "\n";
      status = 1;
    }
  }
  windows_.setPrompt(nullptr);
  windows_.setDialogRefill(nullptr);
  return status;
}

std::string Script::dispatch(const std::vector<std::string>& w) {
  Host& host = Host::instance();
  const std::string& cmd = w[0];
  auto need = [&](std::size_t n) { return w.size() >= n + 1; };
  const PluginEntryPoints* e = host.entry();
  auto needPlugin = [&]() -> std::string { return e ? "" : "no plug-in is loaded"; };

  if (cmd == "help") {
    out_ << "store DIR | folder ID [NAME] | mail FOLDER MSGID SUBJECT [BODY] [read] | mail-file FOLDER PATH\n"
            "load [PATH] | unload | start | exit | info | setup | every-minute | settings | include FILE\n"
            "write-file PATH TEXT | write-bytes PATH TEXT\n"
            "open-folder ID | open-mail MAIL | select MAIL... | menu TYPE | choose TYPE CAPTION\n"
            "key CODE SHIFT | drop DEST EFFECT MAIL... | drop-raw DEST LIST COUNT EFFECT | retrieve FOLDER "
            "MSGID SUBJECT\n"
            "move FOLDER | post ID | peek-post ID | send ID | dblclick | answer OK|Cancel|Yes|No...\n"
            "dialog "
            "ok|cancel|command|text|check|select|hotkey|expect-text|expect-check|expect-hotkey|expect-"
            "selected|"
            "expect-items ...\n"
            "expect "
            "status|shown-contains|shown-lacks|folder|mail|selection|box|boxes|item|menu|header|mails|read|\n"
            "       host-command|readonly|hooks|plugin|result|setting|file-exists|file-missing|file-contains ...\n"
            "show state|shown|status|boxes|store|index FOLDER|file PATH | echo TEXT | quit\n"
            "MAIL is a mail id or @N (the Nth mail of the current folder); see docs/host-sim.md\n";
  } else if (cmd == "echo") {
    out_ << join(w, 1) << "\n";
  } else if (cmd == "quit") {
    quit_ = true;
  } else if (cmd == "store") {
    if (!need(1)) return "store needs a data folder";
    useStore(w[1]);
  } else if (cmd == "folder") {  // folder ID [DISPLAY NAME]
    if (!store_) return "no store";
    if (!need(1)) return "folder needs an id";
    // Missing parents come first, named after their directories.
    std::string id = c(w[1]);
    for (std::size_t cut = id.find('\\'); cut != std::string::npos && cut + 1 < id.size();
         cut = id.find('\\', cut + 1)) {
      std::string parent = id.substr(0, cut + 1);
      std::string name = parent.substr(0, parent.size() - 1);
      name = name.substr(name.rfind('\\') == std::string::npos ? 0 : name.rfind('\\') + 1);
      if (!store_->folderExists(parent) && !store_->addFolder(parent, name))
        return "cannot add folder " + u(parent);
    }
    if (!store_->addFolder(id, c(need(2) ? join(w, 2) : w[1]))) return "cannot add folder " + w[1];
  } else if (cmd == "mail") {  // mail FOLDER MESSAGE-ID SUBJECT [BODY] [read]
    if (!store_) return "no store";
    if (!need(3)) return "mail needs a folder, a Message-ID and a subject";
    std::string source = "From: sender@example.com\r\nTo: user@example.com\r\nSubject: " + c(w[3]) +
                         "\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: " + w[2] +
                         "\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\n" +
                         c(need(4) ? w[4] : "Hello.") + "\r\n";
    std::string id = store_->append(c(w[1]), source, need(5) && w[5] == "read");
    if (id.empty()) return "cannot add a mail to " + w[1];
    out_ << "mail " << u(id) << "\n";
  } else if (cmd == "mail-file") {  // mail-file FOLDER PATH
    if (!store_ || !need(2)) return "mail-file needs a store, a folder and a file";
    auto data = readFile(w[2]);
    if (!data) return "cannot read " + w[2];
    std::string id = store_->append(c(w[1]), *data);
    if (id.empty()) return "cannot add a mail to " + w[1];
    out_ << "mail " << u(id) << "\n";
  } else if (cmd == "load") {
    // load [PATH] [may-fail]: the plug-in beside the working folder by default.
    bool mayFail = !w.empty() && w.back() == "may-fail";
    bool named = w.size() >= (mayFail ? 3u : 2u);
    plugin_ = factory_(named ? w[1] : std::string("./") + kPluginFileName);
    if (!plugin_->load()) {
      std::string why = plugin_->error();
      plugin_.reset();
      host.setPlugin(nullptr);
      out_ << "plug-in refused: " << why << "\n";
      return mayFail ? "" : why;
    }
    host.setPlugin(plugin_.get());
    out_ << "plug-in loaded: " << plugin_->description() << "\n";
  } else if (cmd == "settings") {
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
    out_ << "as the plug-in reads them:\n";
    printSettings(out_, file.string());
  } else if (cmd == "write-file" || cmd == "write-bytes") {
    // write-file PATH TEXT: TEXT in code page 932; write-bytes PATH TEXT: its bytes as given
    if (!need(1)) return cmd + " needs a path";
    std::string text = need(2) ? join(w, 2) : "";
    if (!writeFile(w[1], cmd == "write-file" ? c(text) : text)) return "cannot write " + w[1];
  } else if (cmd == "include") {
    if (!need(1)) return "include needs a file";
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
  } else if (cmd == "unload") {
    host.setPlugin(nullptr);
    plugin_.reset();
  } else if (cmd == "start") {
    if (auto m = needPlugin(); !m.empty()) return m;
    lastResult_ = e->OnStart();
  } else if (cmd == "exit") {
    if (auto m = needPlugin(); !m.empty()) return m;
    lastResult_ = e->OnExit();
  } else if (cmd == "info") {
    if (auto m = needPlugin(); !m.empty()) return m;
    LumoPluginInfo info{};
    std::strcpy(info.vendor, "(host)");
    lastResult_ = e->OnPlugInInfo(&info);
    info.name[sizeof info.name - 1] = info.vendor[sizeof info.vendor - 1] = '\0';
    info.version[sizeof info.version - 1] = info.description[sizeof info.description - 1] = '\0';
    out_ << "name: " << u(info.name) << "\nvendor: " << u(info.vendor) << "\nversion: " << u(info.version)
         << "\ndescription: " << u(info.description) << "\n";
  } else if (cmd == "open-folder") {
    if (!need(1)) return "open-folder needs a folder id";
    if (!store_ || !store_->folderExists(c(w[1]))) return "no folder " + w[1];
    host.openFolder(c(w[1]));
  } else if (cmd == "open-mail") {
    if (!need(1)) return "open-mail needs a mail id";
    std::string id = mailId(w[1]);
    if (!store_ || id.empty() || !store_->entry(id)) return "no mail " + w[1];
    host.openMail(id);
  } else if (cmd == "select") {
    std::vector<std::string> ids;
    for (std::size_t i = 1; i < w.size(); ++i) ids.push_back(mailId(w[i]));
    host.select(ids);
  } else if (cmd == "menu") {
    if (!need(1)) return "menu needs a type";
    return showMenu(std::atoi(w[1].c_str()));
  } else if (cmd == "choose") {  // choose TYPE CAPTION
    if (!need(2)) return "choose needs a menu type and a caption";
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
  } else if (cmd == "key") {  // key CODE SHIFT: the plug-in first; a key it leaves goes to the window
    if (!need(2)) return "key needs a key code and a shift state";
    auto code = static_cast<int>(std::strtol(w[1].c_str(), nullptr, 0));
    auto shift = static_cast<int>(std::strtol(w[2].c_str(), nullptr, 0));
    lastResult_ = e ? e->OnKeyDispatch(windows_.mainWindow(), code, shift) : 0;
    out_ << "key result " << lastResult_ << "\n";
    if (lastResult_ == 0)
      windows_.postMessage(windows_.mainWindow(), kKeyDown, static_cast<WPARAM>(code), 0, false);
  } else if (cmd == "drop") {  // drop DEST EFFECT MAIL...: the plug-in hears first, then the host moves
    if (!need(3)) return "drop needs a destination, an effect and mails";
    std::vector<std::string> ids;
    for (std::size_t i = 3; i < w.size(); ++i) ids.push_back(mailId(w[i]));
    std::string list = join(ids, 0, "\n");
    int effect = std::atoi(w[2].c_str());
    std::string destination = c(w[1]);
    if (e) {
      lastResult_ = e->OnDragDrop(destination.c_str(), list.c_str(), static_cast<int>(ids.size()), effect);
      out_ << "drop result " << lastResult_ << "\n";
    }
    if (store_ && (effect == 1 || effect == 2)) {
      for (const auto& id : ids)
        if (store_->transfer(id, destination, effect == 1).empty())
          return "cannot drop " + u(id) + " on " + w[1];
      if (effect == 2) host.selection.clear();
    }
  } else if (cmd == "drop-raw") {  // drop-raw DEST LIST COUNT EFFECT: only the plug-in's call
    if (auto m = needPlugin(); !m.empty()) return m;
    if (!need(4)) return "drop-raw needs a destination, a list, a count and an effect";
    std::string list = c(w[2]);
    lastResult_ =
        e->OnDragDrop(c(w[1]).c_str(), list.c_str(), std::atoi(w[3].c_str()), std::atoi(w[4].c_str()));
    out_ << "drop result " << lastResult_ << "\n";
  } else if (cmd == "move") {  // move DEST: the host's own move of the selection
    if (!need(1)) return "move needs a folder";
    std::string folder = c(w[1]);
    for (const auto& id : host.selection)
      if (store_) store_->transfer(id, folder, false);
    host.selection.clear();
  } else if (cmd == "retrieve") {  // retrieve FOLDER MESSAGE-ID SUBJECT
    if (auto m = needPlugin(); !m.empty()) return m;
    if (!store_ || !need(3)) return "retrieve needs a folder, a Message-ID and a subject";
    std::string source =
        "From: sender@example.com\r\nSubject: " + c(w[3]) + "\r\nMessage-ID: " + w[2] + "\r\n\r\nNew.\r\n";
    std::string id = store_->append(c(w[1]), source);
    if (id.empty()) return "cannot store the retrieved mail";
    lastResult_ = e->OnRetrieve(source.c_str(), id.c_str());
    out_ << "retrieved " << u(id) << "\n";
  } else if (cmd == "post" || cmd == "peek-post" || cmd == "send") {  // post COMMAND-ID
    if (!need(1)) return cmd + " needs a command id";
    auto id = static_cast<WPARAM>(std::strtoul(w[1].c_str(), nullptr, 0));
    if (cmd == "send")
      windows_.sendMessage(windows_.mainWindow(), WM_COMMAND, id, 0);
    else
      windows_.postMessage(windows_.mainWindow(), WM_COMMAND, id, 0, cmd == "peek-post");
  } else if (cmd == "dblclick") {
    NMHDR header{windows_.listWindow(), 102, static_cast<UINT>(NM_DBLCLK)};
    windows_.sendMessage(windows_.listWindow(), WM_NOTIFY, 102, reinterpret_cast<LPARAM>(&header));
  } else if (cmd == "setup") {
    if (auto m = needPlugin(); !m.empty()) return m;
    lastResult_ = e->OnPlugInSetup(windows_.mainWindow());
  } else if (cmd == "every-minute") {
    if (auto m = needPlugin(); !m.empty()) return m;
    lastResult_ = e->OnEveryMinute();
  } else if (cmd == "answer") {
    if (!need(1)) return "answer needs OK, Cancel, Yes, No or a number";
    for (std::size_t i = 1; i < w.size(); ++i) windows_.queueAnswer(answerValue(w[i]));
  } else if (cmd == "dialog") {
    return dialogAction(w);
  } else if (cmd == "expect") {
    return expect(w);
  } else if (cmd == "show") {
    std::string what = need(1) ? w[1] : "state";
    if (what == "shown") out_ << u(host.shownText);
    if (what == "status") out_ << "status: " << u(host.statusText) << "\n";
    if (what == "boxes")
      for (const auto& b : windows_.messageBoxes())
        out_ << "box title=\"" << u(b.title) << "\" text=\"" << u(b.text) << "\" icon=" << iconName(b.type)
             << " buttons=" << buttonsName(b.type) << " owner=" << (b.owner ? "window" : "none")
             << " answer=" << answerName(b.answer) << "\n";
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
    if (what == "file" && need(2)) {
      auto data = readFile(w[2]);
      if (!data) return "cannot read " + w[2];
      out_ << u(*data);
    }
    if (what == "index" && need(2) && store_) {
      auto data = readFile(store_->folderPath(c(w[2])) / "Folder.idx");
      out_ << visible(u(data.value_or(""))) << "\n";
    }
  } else {
    return "unknown command \"" + cmd + "\"";
  }
  return {};
}

// dialog ok | cancel | command ID [CODE] | text ID TEXT | check ID 0|1 |
// select ID INDEX | hotkey ID VALUE | expect-text ID TEXT | expect-check ID N |
// expect-hotkey ID N | expect-items ID TEXT=DATA... | expect-selected ID N
std::string Script::dialogAction(const std::vector<std::string>& w) {
  if (w.size() < 2) return "dialog needs an action";
  std::vector<std::string> a(w.begin() + 1, w.end());
  auto& windows = windows_;
  auto num = [](const std::string& s) { return std::strtol(s.c_str(), nullptr, 0); };
  auto sendCommand = [](HWND dialog, int id, int code) {
    HWND control = GetDlgItem(dialog, id);
    SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>((code << 16) | (id & 0xffff)),
                 reinterpret_cast<LPARAM>(control));
  };
  const std::string& kind = a[0];
  if (kind == "ok" || kind == "cancel") {
    int id = kind == "ok" ? IDOK : IDCANCEL;
    windows.queueDialogAction([=](HWND d) {
      sendCommand(d, id, 0);
      return std::string();
    });
  } else if (kind == "command" && a.size() >= 2) {
    int id = static_cast<int>(num(a[1]));
    int code = a.size() >= 3 ? static_cast<int>(num(a[2])) : 0;
    windows.queueDialogAction([=](HWND d) {
      sendCommand(d, id, code);
      return std::string();
    });
  } else if (kind == "text" && a.size() >= 2) {
    int id = static_cast<int>(num(a[1]));
    std::string text = c(a.size() >= 3 ? a[2] : "");
    windows.queueDialogAction([=, &windows](HWND d) {
      windows.setControlText(d, id, text);
      return std::string();
    });
  } else if (kind == "check" && a.size() >= 3) {
    int id = static_cast<int>(num(a[1]));
    WPARAM state = static_cast<WPARAM>(num(a[2]));
    windows.queueDialogAction([=, &windows](HWND d) {
      windows.sendToControl(d, id, BM_SETCHECK, state, 0);
      sendCommand(d, id, 0);  // BN_CLICKED
      return std::string();
    });
  } else if (kind == "select" && a.size() >= 3) {
    int id = static_cast<int>(num(a[1]));
    WPARAM index = static_cast<WPARAM>(num(a[2]));
    windows.queueDialogAction([=, &windows](HWND d) {
      if (windows.sendToControl(d, id, LB_SETCURSEL, index, 0) == LB_ERR)
        return std::string("no list item ") + std::to_string(index);
      sendCommand(d, id, 1);  // LBN_SELCHANGE
      return std::string();
    });
  } else if (kind == "hotkey" && a.size() >= 3) {
    int id = static_cast<int>(num(a[1]));
    WPARAM value = static_cast<WPARAM>(num(a[2]));
    windows.queueDialogAction([=, &windows](HWND d) {
      windows.sendToControl(d, id, HKM_SETHOTKEY, value, 0);
      sendCommand(d, id, 0x0300);  // EN_CHANGE
      return std::string();
    });
  } else if (kind == "expect-text" && a.size() >= 2) {
    int id = static_cast<int>(num(a[1]));
    std::string text = c(a.size() >= 3 ? a[2] : "");
    windows.queueDialogAction([=, &windows](HWND d) {
      std::string actual = windows.controlText(d, id);
      return actual == text ? std::string()
                            : "control " + std::to_string(id) + " shows \"" + u(actual) + "\", expected \"" +
                                  u(text) + "\"";
    });
  } else if ((kind == "expect-check" || kind == "expect-hotkey" || kind == "expect-selected") &&
             a.size() >= 3) {
    int id = static_cast<int>(num(a[1]));
    LRESULT want = num(a[2]);
    UINT message = kind == "expect-check"    ? BM_GETCHECK
                   : kind == "expect-hotkey" ? HKM_GETHOTKEY
                                             : LB_GETCURSEL;
    windows.queueDialogAction([=, &windows](HWND d) {
      LRESULT actual = windows.sendToControl(d, id, message, 0, 0);
      return actual == want ? std::string()
                            : "control " + std::to_string(id) + " " + kind.substr(7) + " is " +
                                  std::to_string(actual) + ", expected " + std::to_string(want);
    });
  } else if (kind == "expect-items" && a.size() >= 2) {
    int id = static_cast<int>(num(a[1]));
    std::vector<std::string> want(a.begin() + 2, a.end());
    windows.queueDialogAction([=, &windows](HWND d) {
      std::vector<std::string> actual;
      LRESULT count = windows.sendToControl(d, id, LB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        LRESULT data = windows.sendToControl(d, id, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        actual.push_back(std::to_string(data));
      }
      std::string got = join(actual, 0, ",");
      std::string expected = join(want, 0, ",");
      return got == expected ? std::string()
                             : "list " + std::to_string(id) + " item data " + got + ", expected " + expected;
    });
  } else {
    return "unknown dialog action \"" + join(w, 1) + "\"";
  }
  return {};
}

std::string Script::expect(const std::vector<std::string>& w) {
  Host& host = Host::instance();
  if (w.size() < 2) return "expect needs a subject";
  const std::string& what = w[1];
  std::string want = w.size() >= 3 ? c(join(w, 2)) : "";
  auto mismatch = [&](const std::string& actual) {
    return "expected " + what + " \"" + visible(u(want)) + "\", got \"" + visible(u(actual)) + "\"";
  };
  if (what == "status") return host.statusText == want ? "" : mismatch(host.statusText);
  if (what == "shown-contains")
    return host.shownText.find(want) != std::string::npos ? "" : mismatch(host.shownText.substr(0, 400));
  if (what == "shown-lacks")
    return host.shownText.find(want) == std::string::npos ? "" : "shown text holds \"" + u(want) + "\"";
  if (what == "folder") return host.currentFolder == want ? "" : mismatch(host.currentFolder);
  if (what == "mail")
    return host.currentMail == mailId(w.size() >= 3 ? w[2] : "") ? "" : mismatch(host.currentMail);
  if (what == "selection") {
    std::vector<std::string> ids;
    for (std::size_t i = 2; i < w.size(); ++i) ids.push_back(mailId(w[i]));
    return ids == host.selection
               ? ""
               : "expected selection " + u(join(ids, 0)) + ", got " + u(join(host.selection, 0));
  }
  if (what == "result")
    return lastResult_ == std::atoi(want.c_str()) ? "" : mismatch(std::to_string(lastResult_));
  if (what == "host-command") {
    for (const auto& name : host.commandLog)
      if (name == want) return {};
    return "the host command \"" + u(want) + "\" was not issued";
  }
  if (what == "queues-empty") {
    std::size_t answers = windows_.pendingAnswers(), actions = windows_.pendingDialogActions();
    if (answers == 0 && actions == 0) return {};
    return std::to_string(answers) + " queued message-box answers and " + std::to_string(actions) +
           " queued dialog actions were not used";
  }
  if (what == "plugin") {  // expect plugin loaded|absent
    bool loaded = host.entry() != nullptr;
    return (want == "loaded") == loaded ? "" : mismatch(loaded ? "loaded" : "absent");
  }
  if (what == "readonly") {
    bool readOnly = windows_.editorReadOnly();
    return (want == "yes") == readOnly ? "" : mismatch(readOnly ? "yes" : "no");
  }
  if (what == "setting") {  // expect setting KEY VALUE: as the plug-in loads the settings file
    if (!plugin_ || w.size() < 4) return "expect setting needs a loaded plug-in, a key and a value";
    std::filesystem::path file = plugin_->description();
    file.replace_extension(".ini");
    std::string value = c(join(w, 3));
    for (const LoadedSetting& s : loadedSettings(file.string())) {
      if (s.key != w[2]) continue;
      std::string shown = s.value.size() >= 2 && s.value.front() == '"' ? s.value.substr(1, s.value.size() - 2)
                                                                        : s.value;
      return shown == value ? "" : "expected setting " + w[2] + " \"" + u(value) + "\", got \"" + u(shown) + "\"";
    }
    return "no setting " + w[2];
  }
  if (what == "hooks") {  // expect hooks GETMESSAGE CALLWNDPROC
    std::string actual = std::to_string(windows_.hookCount(WH_GETMESSAGE)) + " " +
                         std::to_string(windows_.hookCount(WH_CALLWNDPROC));
    return actual == want ? "" : mismatch(actual);
  }
  if (what == "boxes") {
    auto count = windows_.messageBoxes().size();
    return std::to_string(count) == want ? "" : mismatch(std::to_string(count));
  }
  if (what == "box") {  // expect box FIELD TEXT, on the last box: title text icon buttons owner answer
    if (windows_.messageBoxes().empty()) return "no message box was shown";
    if (w.size() < 3) return "expect box needs a field";
    const MessageBoxRecord& b = windows_.messageBoxes().back();
    std::string field = w[2];
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
    return actual == value ? ""
                           : "expected box " + field + " \"" + u(value) + "\", got \"" + u(actual) + "\"";
  }
  if (what == "item") {  // expect item TYPE CAPTION STATE...  (enabled disabled checked unchecked absent)
    if (w.size() < 5) return "expect item needs a menu type, a caption and a state";
    HMENU menu = buildMenu(std::atoi(w[2].c_str()));
    auto items = windows_.menuItems(menu);
    windows_.destroyMenu(menu);
    std::string caption = c(w[3]);
    for (const auto& item : items) {
      if (item.separator || item.caption != caption) continue;
      UINT state = host.itemState(item.id);
      for (std::size_t i = 4; i < w.size(); ++i) {
        bool ok = w[i] == "enabled"     ? !(state & 1)
                  : w[i] == "disabled"  ? (state & 1)
                  : w[i] == "checked"   ? (state & 2)
                  : w[i] == "unchecked" ? !(state & 2)
                                        : false;
        if (!ok)
          return "menu item \"" + w[3] + "\" is not " + w[i] + " (state " + std::to_string(state) + ")";
      }
      return {};
    }
    for (std::size_t i = 4; i < w.size(); ++i)
      if (w[i] == "absent") return {};
    return "no menu item \"" + w[3] + "\"";
  }
  if (what == "menu") {  // expect menu TYPE CAPTION|--- ...: the whole menu in order
    if (w.size() < 3) return "expect menu needs a type";
    HMENU menu = buildMenu(std::atoi(w[2].c_str()));
    std::vector<std::string> actual;
    for (const auto& item : windows_.menuItems(menu))
      actual.push_back(item.separator ? "---" : u(item.caption));
    windows_.destroyMenu(menu);
    std::vector<std::string> expected(w.begin() + 3, w.end());
    return actual == expected
               ? ""
               : "expected menu " + join(expected, 0, " | ") + ", got " + join(actual, 0, " | ");
  }
  if (what == "header") {  // expect header MAIL NAME VALUE
    if (!store_ || w.size() < 4) return "expect header needs a mail and a name";
    auto text = store_->source(mailId(w[2]));
    if (!text) return "no mail " + w[2];
    std::string value = c(w.size() >= 5 ? join(w, 4) : "");
    std::string actual = headerValue(*text, w[3]);
    return actual == value ? ""
                           : "expected header " + w[3] + " \"" + u(value) + "\", got \"" + u(actual) + "\"";
  }
  if (what == "mails") {  // expect mails FOLDER N
    if (!store_ || w.size() < 4) return "expect mails needs a folder and a count";
    auto n = store_->index(c(w[2])).size();
    return std::to_string(n) == w[3]
               ? ""
               : "expected " + w[3] + " mails in " + w[2] + ", got " + std::to_string(n);
  }
  if (what == "read") {  // expect read MAIL yes|no
    if (!store_ || w.size() < 4) return "expect read needs a mail and yes or no";
    auto entry = store_->entry(mailId(w[2]));
    if (!entry) return "no mail " + w[2];
    return entry->read == (w[3] == "yes") ? ""
                                          : "mail " + w[2] + " read mark is " + (entry->read ? "1" : "0");
  }
  if (what == "file-exists" || what == "file-missing") {
    bool exists = w.size() >= 3 && std::filesystem::exists(w[2]);
    return exists == (what == "file-exists")
               ? ""
               : "file " + (w.size() >= 3 ? w[2] : "") + (exists ? " exists" : " is missing");
  }
  if (what == "file-contains") {  // expect file-contains PATH TEXT
    if (w.size() < 4) return "expect file-contains needs a path and a text";
    auto data = readFile(w[2]);
    if (!data) return "cannot read " + w[2];
    std::string text = c(join(w, 3));
    return data->find(text) != std::string::npos ? "" : "file " + w[2] + " lacks \"" + join(w, 3) + "\"";
  }
  return "unknown expectation \"" + what + "\"";
}

}  // namespace lumo::hostsim
