// The substitute-host test fixture (see fixture.h).
#include "host-sim/core/fixture.h"

#include <atomic>
#include <chrono>

namespace lumo::hostsim {

HostFixture::HostFixture() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  dir_ = std::filesystem::temp_directory_path() /
         ("lumo-hostsim-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(dir_);
  windows_ = makeWindowSystem();
  script_ = std::make_unique<Script>(*windows_, out_);
  script_->setPluginFactory([](const std::string&) { return makeLinkedPlugin(); });
  script_->useStore(dir_.string());
  store_ = Host::instance().store();
}

HostFixture::~HostFixture() {
  script_.reset();
  windows_.reset();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string HostFixture::addFolder(const std::string& folderId, const std::string& displayName) {
  std::string mailbox = mailboxOf(folderId);
  if (!store_->folderExists(mailbox)) store_->addFolder(mailbox, mailbox.substr(0, mailbox.size() - 4));
  if (folderId != mailbox) store_->addFolder(folderId, displayName.empty() ? folderId : displayName);
  return folderId;
}

std::string HostFixture::addMail(const std::string& folderId, const std::string& source, bool read) {
  return store_->append(folderId, source, read);
}

std::string HostFixture::mailSource(const std::string& subject, const std::string& messageId,
                                    const std::string& body) {
  return "From: sender@example.com\r\nTo: user@example.com\r\nSubject: " + subject +
         "\r\nMessage-ID: " + messageId + "\r\n\r\n" + body + "\r\n";
}

bool HostFixture::loadLinkedPlugin() { return run("load linked").empty(); }

std::string HostFixture::run(const std::string& lines) {
  std::istringstream in(lines);
  std::string line;
  while (std::getline(in, line)) {
    std::string error = script_->runLine(line);
    if (!error.empty()) return line + ": " + error;
  }
  return {};
}

}  // namespace lumo::hostsim
