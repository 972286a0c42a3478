// Scenario tests of shortcut mails through the substitute host (Linux): a
// store with a mailbox of four folders, the plug-in linked in and loaded, a
// link index of the test's own, and shortcuts made the way creation makes
// them (the shortcut format's composer, then a link index line).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host-sim/core/fixture.h"
#include "host-sim/core/mail_text.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "shortcut/session_state.h"
#include "shortcut/shortcut_source.h"
#include "support/temp_dir.h"

namespace lumo::testing {

class ShortcutFixture : public ::testing::Test {
 protected:
  hostsim::HostFixture fx;
  TempDir pluginDir;  // beside the plug-in: its link index
  const std::string inbox = "Box.mb\\!!!!Inbox\\";
  const std::string work = "Box.mb\\Work\\";
  const std::string links = "Box.mb\\Links\\";
  const std::string trash = "Box.mb\\!Trash\\";

  void SetUp() override {
    for (const std::string& folder : {inbox, work, links, trash}) fx.addFolder(folder, folder);
    ASSERT_TRUE(fx.loadLinkedPlugin());
    std::string index = pluginDir.file("lumo.idx");
    ASSERT_LT(index.size(), sizeof LinkIndexPath);
    std::strcpy(LinkIndexPath, index.c_str());
    // The process-wide state of the plug-in, as after a fresh load.
    CreationPending = 0;
    SelectedTargetId[0] = '\0';
    ShortcutOpened = 0;
    MemoOpened = 0;
    MailViewEditor = nullptr;
    EditRefusalCount = 0;
  }

  hostsim::Host& host() { return fx.host(); }
  std::string source(const std::string& mailId) { return fx.store().source(mailId).value_or("(no mail)"); }
  std::string linkIndex() { return readBytes(LinkIndexPath); }
  std::string header(const std::string& mailId, const std::string& name) {
    return hostsim::headerValue(source(mailId), name);
  }
  void run(const std::string& lines) { ASSERT_EQ(fx.run(lines), ""); }

  // A target mail with a Content-Type, as mail clients store them.
  std::string addTarget(const std::string& folder, const std::string& messageId,
                        const std::string& body = "Hi.") {
    return fx.addMail(folder, "From: a@example.com\r\nSubject: Target\r\nMessage-ID: " + messageId +
                                  "\r\nContent-Type: text/plain; charset=\"US-ASCII\"\r\n\r\n" + body +
                                  "\r\n");
  }

  // Makes the shortcut of `target` in `folder` with the shortcut counter
  // `counter`, records its link index line and returns its mail id; the
  // composed source (with `extra` appended: a MEMO) is kept in `made`.
  std::string addShortcut(const std::string& target, const std::string& folder, unsigned long counter = 1,
                          const std::string& extra = "") {
    std::string targetHeader = hostsim::headerBlock(source(target));
    EXPECT_EQ(composeShortcutSource(targetHeader, target, counter, {}, made), 1);
    std::string id = fx.addMail(folder, made.source + extra);
    LinkRecord record;
    record.setFields(made.shortcutId.c_str(), made.folderId.c_str(), target.c_str(),
                     made.targetMessageId.c_str(), id.c_str());
    EXPECT_EQ(record.appendTo(LinkIndexPath), 1);
    return id;
  }

  ShortcutSource made;
};

}  // namespace lumo::testing
