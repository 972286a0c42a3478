// Loading, start and exit of the plug-in inside the substitute host.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host-sim/core/fixture.h"
#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "host/entry_points.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"
#include "ui/hooks.h"

namespace {

using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::writeBytes;

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fx.loadLinkedPlugin());
    // The settings file beside the test program is shared; point at our own.
    settings = dir.file("lumo.ini");
    std::strcpy(lumo::SettingsPath, settings.c_str());
    // So is the link index that exit cleans.
    std::strcpy(lumo::LinkIndexPath, dir.file("lumo.idx").c_str());
  }
  void reload() { lumo::loadSettings(lumo::SettingsPath); }

  lumo::hostsim::HostFixture fx;
  TempDir dir;
  std::string settings;
};

TEST_F(LifecycleTest, LoadBindsTheHostAndDerivesBothPathsFromTheModule) {
  EXPECT_NE(lumo::HostApi.module, nullptr);
  EXPECT_NE(lumo::HostApi.BKA_Connect, nullptr);
  std::string idx = lumo::LinkIndexPath;
  ASSERT_GT(idx.size(), 4u);
  EXPECT_EQ(idx.substr(idx.size() - 4), ".idx");
}

TEST_F(LifecycleTest, OtherNotificationsSucceedWithoutWork) {
  EXPECT_TRUE(DllMain(lumo::ModuleHandle, DLL_PROCESS_DETACH, nullptr));
  EXPECT_TRUE(DllMain(lumo::ModuleHandle, DLL_THREAD_ATTACH, nullptr));
  EXPECT_FALSE(std::filesystem::exists(settings));  // nothing saved at detach
}

TEST_F(LifecycleTest, StartInstallsThreeHooksAndExitRemovesThem) {
  EXPECT_EQ(fx.run("start\nexpect hooks \"1 2\""), "");
  EXPECT_NE(lumo::GetMessageHook, nullptr);
  EXPECT_NE(lumo::CallWndProcHook, nullptr);
  EXPECT_NE(lumo::ListCallWndProcHook, nullptr);
  EXPECT_NE(lumo::ListWindow, nullptr);
  EXPECT_EQ(fx.run("exit\nexpect hooks \"0 0\""), "");
  EXPECT_EQ(lumo::GetMessageHook, nullptr);
  EXPECT_EQ(lumo::CallWndProcHook, nullptr);
  EXPECT_EQ(lumo::ListCallWndProcHook, nullptr);
}

// A hook for thread 0 would be system-wide and load the plug-in into every
// other process: a window whose thread is unknown gets no hook at all.
TEST_F(LifecycleTest, NoHookIsInstalledWithoutAWindowThread) {
  lumo::installHooks(nullptr, nullptr);
  EXPECT_EQ(lumo::GetMessageHook, nullptr);
  EXPECT_EQ(lumo::CallWndProcHook, nullptr);
  EXPECT_EQ(lumo::ListCallWndProcHook, nullptr);
  EXPECT_EQ(fx.windows().hookCount(WH_GETMESSAGE), 0);
  EXPECT_EQ(fx.windows().hookCount(WH_CALLWNDPROC), 0);
  // With only the main window known, the list gets none.
  lumo::installHooks(fx.windows().mainWindow(), nullptr);
  EXPECT_NE(lumo::GetMessageHook, nullptr);
  EXPECT_EQ(lumo::ListCallWndProcHook, nullptr);
  EXPECT_EQ(fx.windows().hookCount(WH_CALLWNDPROC), 1);
  lumo::removeHooks();
  EXPECT_EQ(fx.windows().hookCount(WH_GETMESSAGE), 0);
}

TEST_F(LifecycleTest, ExitWithoutCountWritesNothing) {
  reload();
  EXPECT_EQ(BKC_OnExit(), 0);
  EXPECT_FALSE(std::filesystem::exists(settings));
}

TEST_F(LifecycleTest, ExitAfterShortcutsStoresTheRaisedThreshold) {
  writeBytes(settings, "[Settings]\r\nLumo-Count=5\r\n");
  reload();
  EXPECT_EQ(BKC_OnExit(), 0);
  EXPECT_EQ(lumo::readSettingInt(settings.c_str(), "Lumo-CleanInt", -1), 201);
  EXPECT_EQ(BKC_OnExit(), 0);  // 201 >= 5: no further raise
  EXPECT_EQ(lumo::readSettingInt(settings.c_str(), "Lumo-CleanInt", -1), 201);
}

TEST_F(LifecycleTest, EachExitReadsTheThresholdAfresh) {
  writeBytes(settings, "[Settings]\r\nLumo-CleanInt=0\r\nLumo-Count=1000\r\n");
  reload();
  for (int want : {201, 402, 603, 804, 1005}) {
    EXPECT_EQ(BKC_OnExit(), 0);
    EXPECT_EQ(lumo::readSettingInt(settings.c_str(), "Lumo-CleanInt", -1), want);
  }
  EXPECT_EQ(BKC_OnExit(), 0);
  EXPECT_EQ(lumo::readSettingInt(settings.c_str(), "Lumo-CleanInt", -1), 1005);
  // Only the threshold changed; the counter line stays as it was.
  EXPECT_NE(readBytes(settings).find("Lumo-Count=1000\r\n"), std::string::npos);
}

}  // namespace
