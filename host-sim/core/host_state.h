// The host's state while it runs: its store, current mailbox, folder and
// mail, the selection, what its view shows, its status bar, the commands the
// plug-in registered, and the user events that lead to plug-in calls.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host-sim/core/mail_store.h"
#include "host-sim/core/plugin_module.h"
#include "host-sim/core/window_system.h"
#include "host/api/host_functions.h"

namespace lumo::hostsim {

// Host command ids handled by the host itself.
constexpr UINT kCommandEdit = 108;
constexpr UINT kCommandDelete = 32836;
// Anchor items of the mail-list and folder-tree menus.
constexpr UINT kMenuAnchorList = 57642;
constexpr UINT kMenuAnchorTree = 32798;
// The first id BKA_RegisterCommand hands out.
constexpr UINT kFirstPluginCommand = 40000;

struct RegisteredCommand {
  UINT id = 0;
  std::string statusText;
  int menuType = 0;
  LumoCommandProc proc = nullptr;
  LumoStateProc state = nullptr;
};

class Host {
 public:
  // The one host of this process; the BKA_ functions act on it.
  static Host& instance();

  // Attaches the store and window system (both outlive the attachment) and
  // resets all state.
  void attach(MailStore* store, WindowSystem* windows);
  void detach();
  MailStore* store() const { return store_; }
  WindowSystem* windows() const { return windows_; }

  // The plug-in (may be null).
  void setPlugin(PluginModule* plugin) { plugin_ = plugin; }
  PluginModule* plugin() const { return plugin_; }
  const PluginEntryPoints* entry() const;

  // User events. Each returns the entry point's result where there is one.
  void openFolder(const std::string& folderId);
  void openMail(const std::string& mailId);
  void select(const std::vector<std::string>& mailIds);
  // Moves the selection to the current mailbox's trash folder.
  bool deleteSelected();
  // The host's own handling of a command message that reached its window.
  void onCommand(UINT id);
  // Runs a host command by name ("SetRead", "EditMode", ...).
  void runCommand(const std::string& name);
  // Registered command by id (the latest registration), or null.
  const RegisteredCommand* command(UINT id) const;
  // The state bits of a menu item: 1 disabled, 2 checked.
  UINT itemState(UINT id) const;

  // Current state; ids use "\" separators.
  std::string currentMailbox;
  std::string currentFolder;
  std::string currentMail;
  std::vector<std::string> selection;  // in list order
  std::string shownText;               // what the mail view shows
  std::string statusText;
  std::vector<std::string> statusLog;   // every status text set, in order
  std::vector<std::string> commandLog;  // every BKA_Command name, in order
  std::vector<RegisteredCommand> commands;
  UINT nextCommandId = kFirstPluginCommand;
  std::string tempFolder;
  // Host-owned texts handed out, per getter; the latest kHeldTexts of each
  // stay valid, so a caller may keep several (two sources, two ids) at once.
  static constexpr std::size_t kHeldTexts = 64;
  std::map<std::string, std::deque<std::string>> heldTexts;

  // Keeps a text owned by the host under a slot name; returns it.
  LPCSTR hold(const std::string& slot, const std::string& text);

 private:
  MailStore* store_ = nullptr;
  WindowSystem* windows_ = nullptr;
  PluginModule* plugin_ = nullptr;
};

// The mailbox part ("Name.mb\") of a folder or mail id.
std::string mailboxOf(const std::string& id);

}  // namespace lumo::hostsim
