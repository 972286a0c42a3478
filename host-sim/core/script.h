// The host's line-based script language (docs/host-sim.md): it causes the
// events a user causes, queues message-box answers and dialog actions, and
// checks what the plug-in did with `expect` lines.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host-sim/core/host_state.h"

namespace lumo::hostsim {

class Script;
using Words = std::vector<std::string>;

// One row of a command table: what `help` prints and what runs. A handler
// gets the whole line's words (words[0] is the command) and returns an error
// text, empty on success.
struct ScriptCommand {
  const char* name;
  const char* synopsis;  // the arguments, as docs/host-sim.md writes them
  const char* summary;   // one line for `help`
  std::string (Script::*run)(const Words& words);
};

class Script {
 public:
  // Prints to `out` (UTF-8). The window system must stay alive.
  Script(WindowSystem& windows, std::ostream& out);
  ~Script();

  // How `load PATH` makes a module; by default a library loaded from PATH.
  void setPluginFactory(std::function<std::unique_ptr<PluginModule>(const std::string& path)> factory);
  // Uses a store in this data folder (created when missing).
  void useStore(const std::string& dataFolder);

  // Folder against which `include` resolves relative paths.
  void setBaseDir(const std::string& dir) { baseDir_ = dir; }
  // Runs one line; returns an error text, empty on success.
  std::string runLine(const std::string& line);
  // Runs lines until the end or the first error (a script run) or, in
  // interactive mode, prompts for each line and reports errors without
  // stopping. Returns 0 on success, 1 on failure.
  int run(std::istream& in, const std::string& name, bool interactive);
  bool quitRequested() const { return quit_; }
  int lastResult() const { return lastResult_; }

  // The language itself: the commands, the subjects of `expect` and the
  // actions of `dialog`. Dispatch and `help` both read these tables.
  static std::span<const ScriptCommand> commands();
  static std::span<const ScriptCommand> expectations();
  static std::span<const ScriptCommand> dialogActions();

 private:
  // Commands (script.cpp).
  std::string help(const Words& w);
  std::string echo(const Words& w);
  std::string quitScript(const Words& w);
  std::string keepGoing(const Words& w);
  std::string store(const Words& w);
  std::string folder(const Words& w);
  std::string mail(const Words& w);
  std::string mailFile(const Words& w);
  std::string include(const Words& w);
  std::string show(const Words& w);
  std::string showSettings(const Words& w);
  std::string writeToFile(const Words& w);
  std::string load(const Words& w);
  std::string unload(const Words& w);
  std::string startPlugin(const Words& w);
  std::string exitPlugin(const Words& w);
  std::string showInfo(const Words& w);
  std::string openSetup(const Words& w);
  std::string everyMinute(const Words& w);
  std::string openFolder(const Words& w);
  std::string openMail(const Words& w);
  std::string selectMails(const Words& w);
  std::string menu(const Words& w);
  std::string choose(const Words& w);
  std::string key(const Words& w);
  std::string drop(const Words& w);
  std::string dropRaw(const Words& w);
  std::string retrieve(const Words& w);
  std::string retrieveFile(const Words& w);
  std::string retrieveSource(const std::string& folder, const std::string& source);
  std::string makeShortcut(const Words& w);
  std::string moveSelection(const Words& w);
  std::string postCommand(const Words& w);
  std::string dblclick(const Words& w);
  std::string answer(const Words& w);
  std::string dialog(const Words& w);
  std::string expect(const Words& w);

  // Expectations, `expect SUBJECT ...` (script_expect.cpp).
  std::string expectStatus(const Words& w);
  std::string expectShownContains(const Words& w);
  std::string expectShownLacks(const Words& w);
  std::string expectShown(const Words& w);
  std::string expectShownSource(const Words& w);
  std::string expectSource(const Words& w);
  std::string expectFolder(const Words& w);
  std::string expectMail(const Words& w);
  std::string expectSelection(const Words& w);
  std::string expectBox(const Words& w);
  std::string expectBoxes(const Words& w);
  std::string expectItem(const Words& w);
  std::string expectMenu(const Words& w);
  std::string expectHeader(const Words& w);
  std::string expectMails(const Words& w);
  std::string expectRead(const Words& w);
  std::string expectHostCommand(const Words& w);
  std::string expectReadonly(const Words& w);
  std::string expectHooks(const Words& w);
  std::string expectPlugin(const Words& w);
  std::string expectResult(const Words& w);
  std::string expectSetting(const Words& w);
  std::string expectQueuesEmpty(const Words& w);
  std::string expectFileExists(const Words& w);
  std::string expectFileContains(const Words& w);

  // Dialog actions, `dialog ACTION ...` (script_dialog.cpp).
  std::string dialogEnd(const Words& w);
  std::string dialogCommand(const Words& w);
  std::string dialogText(const Words& w);
  std::string dialogCheck(const Words& w);
  std::string dialogSelect(const Words& w);
  std::string dialogHotkey(const Words& w);
  std::string dialogCapture(const Words& w);
  std::string dialogExpectText(const Words& w);
  std::string dialogExpectValue(const Words& w);
  std::string dialogExpectItems(const Words& w);

  // Runs the row of `table` named by words[at]; `what` names the table in
  // the error for a name it lacks.
  std::string runCommand(std::span<const ScriptCommand> table, const Words& words, std::size_t at,
                         const char* what);
  std::string mailId(const std::string& word) const;
  HMENU buildMenu(int type);
  std::string showMenu(int type);
  std::string needPlugin() const;

  WindowSystem& windows_;
  std::ostream& out_;
  std::unique_ptr<MailStore> store_;
  std::unique_ptr<PluginModule> plugin_;
  std::function<std::unique_ptr<PluginModule>(const std::string&)> factory_;
  std::filesystem::path baseDir_ = ".";
  int lastResult_ = 0;
  std::size_t boxesShown_ = 0;  // message boxes printed by `show boxes` so far
  bool quit_ = false;
  bool keepGoing_ = false;  // `keep-going`: a failing line does not end the run
};

// Splits a script line into words: blanks separate, double quotes group
// (inside them \" is a quote unless it closes the word, \n LF, \r CR, \t TAB,
// \xHH the byte HH;
// other backslashes stay),
// "#" at the start of a word begins a comment.
std::vector<std::string> splitWords(const std::string& line);

// The help text: every row of the three tables.
std::string helpText();

}  // namespace lumo::hostsim
