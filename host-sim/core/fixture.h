// A test fixture around the substitute host: a temporary mail store, the
// in-memory window system and the plug-in linked into the test program, with
// script lines to drive them.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>

#include "host-sim/core/script.h"

namespace lumo::hostsim {

class HostFixture {
 public:
  // Creates an empty store in a fresh temporary folder.
  HostFixture();
  ~HostFixture();
  HostFixture(const HostFixture&) = delete;
  HostFixture& operator=(const HostFixture&) = delete;

  MailStore& store() { return *store_; }
  Host& host() { return Host::instance(); }
  WindowSystem& windows() { return *windows_; }
  const std::filesystem::path& dataFolder() const { return dir_; }

  // Adds a folder (and its mailbox when missing); returns the folder id.
  std::string addFolder(const std::string& folderId, const std::string& displayName = "");
  // Stores a mail; returns its mail id.
  std::string addMail(const std::string& folderId, const std::string& source, bool read = false);
  // A small mail source with these headers.
  static std::string mailSource(const std::string& subject, const std::string& messageId,
                                const std::string& body = "Hello.");

  // Loads the plug-in linked into the test program (DllMain called directly).
  bool loadLinkedPlugin();
  // Runs script lines (separated by LF); returns the first error or empty.
  std::string run(const std::string& lines);
  // Everything the script printed so far.
  std::string output() const { return out_.str(); }

 private:
  std::filesystem::path dir_;
  std::ostringstream out_;
  std::unique_ptr<WindowSystem> windows_;
  std::unique_ptr<Script> script_;
  MailStore* store_ = nullptr;
};

}  // namespace lumo::hostsim
