// The host's line-based script language (docs/host-sim.md): it causes the
// events a user causes, queues message-box answers and dialog actions, and
// checks what the plug-in did with `expect` lines.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "host-sim/core/host_state.h"

namespace lumo::hostsim {

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

 private:
  std::string dispatch(const std::vector<std::string>& words);
  std::string expect(const std::vector<std::string>& words);
  std::string dialogAction(const std::vector<std::string>& words);
  std::string mailId(const std::string& word) const;
  HMENU buildMenu(int type);
  std::string showMenu(int type);

  WindowSystem& windows_;
  std::ostream& out_;
  std::unique_ptr<MailStore> store_;
  std::unique_ptr<PluginModule> plugin_;
  std::function<std::unique_ptr<PluginModule>(const std::string&)> factory_;
  std::filesystem::path baseDir_ = ".";
  int lastResult_ = 0;
  bool quit_ = false;
};

// Splits a script line into words: blanks separate, double quotes group
// (inside them \" is a quote unless it closes the word, \n LF, \r CR, \t TAB,
// \xHH the byte HH;
// other backslashes stay),
// "#" at the start of a word begins a comment.
std::vector<std::string> splitWords(const std::string& line);

}  // namespace lumo::hostsim
