// The plug-in linked in, loaded and started on the substitute host's
// in-memory windows (Linux): a mailbox with an inbox and a folder for
// shortcuts, the plug-in's link index and settings file in a folder of the
// test's own, and its process-wide state as after a fresh load.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host-sim/core/fixture.h"
#include "host/api/module_state.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"
#include "support/temp_dir.h"
#include "ui/hooks.h"

namespace lumo::testing {

class PluginOnHost : public ::testing::Test {
 protected:
  hostsim::HostFixture fx;
  TempDir pluginDir;
  const std::string inbox = "Box.mb\\!!!!Inbox\\";
  const std::string links = "Box.mb\\Links\\";

  void SetUp() override {
    fx.addFolder(inbox, "Inbox");
    fx.addFolder(links, "Links");
    ASSERT_TRUE(fx.loadLinkedPlugin());
    usePath(LinkIndexPath, pluginDir.file("lumo.idx"));
    usePath(SettingsPath, pluginDir.file("lumo.ini"));
    Settings = SettingsValues();
    for (std::uint16_t& slot : HotkeyTable) slot = 0;
    CreationPending = 0;
    SelectedTargetId[0] = '\0';
    ShortcutOpened = 0;
    MemoOpened = 0;
    EditRefusalCount = 0;
    DoubleClickArmed = 1;
    run("start");
  }
  void TearDown() override { run("exit"); }

  void run(const std::string& lines) { ASSERT_EQ(fx.run(lines), ""); }
  hostsim::Host& host() { return fx.host(); }
  std::size_t boxes() { return fx.windows().messageBoxes().size(); }
  const hostsim::MessageBoxRecord& lastBox() { return fx.windows().messageBoxes().back(); }

 private:
  static void usePath(char (&path)[PathCapacity], const std::string& file) {
    ASSERT_LT(file.size(), sizeof path);
    std::strcpy(path, file.c_str());
  }
};

}  // namespace lumo::testing
