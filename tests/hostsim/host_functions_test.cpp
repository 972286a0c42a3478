// The host functions as the plug-in relies on them: ids, selection walk,
// append with its index line, moves, header access on the current mail,
// "TEMP" display hand-over, host-heap copies, commands and menus states.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "host-sim/core/fixture.h"

#define DECLARE_HOST_FUNCTION(name, result, params) extern "C" result WINAPI name params;
LUMO_HOST_FUNCTIONS(DECLARE_HOST_FUNCTION)

namespace lumo::hostsim {
namespace {

struct HostFunctions : ::testing::Test {
  HostFixture fx;
  std::string inbox = "Box.mb\\!!!!Inbox\\";
  std::string trash = "Box.mb\\!Trash\\";
  std::string m1, m2, m3;
  void SetUp() override {
    fx.addFolder(inbox, "Inbox");
    fx.addFolder(trash, "Trash");
    m1 = fx.addMail(inbox, HostFixture::mailSource("One", "<1@x>"));
    m2 = fx.addMail(inbox, HostFixture::mailSource("Two", "<2@x>"));
    m3 = fx.addMail(inbox, HostFixture::mailSource("Three", "<3@x>"));
    ASSERT_EQ(fx.run("open-folder " + inbox), "");
  }
};

TEST(HostExports, EveryHostFunctionIsFoundByNameInTheProgram) {
  void* self = dlopen(nullptr, RTLD_NOW);
  ASSERT_NE(self, nullptr);
  int found = 0;
#define FIND_HOST_FUNCTION(name, result, params)   \
  EXPECT_NE(dlsym(self, #name), nullptr) << #name; \
  found += dlsym(self, #name) != nullptr;
  LUMO_HOST_FUNCTIONS(FIND_HOST_FUNCTION)
#undef FIND_HOST_FUNCTION
  EXPECT_EQ(found, LUMO_HOST_FUNCTION_COUNT);
  for (const char* name : {"MessageBoxA", "SetWindowsHookExA", "CallNextHookEx", "InsertMenuA",
                           "DialogBoxParamA", "SendDlgItemMessageA", "GetWindowLongA", "EnumChildWindows"})
    EXPECT_NE(dlsym(self, name), nullptr) << name;
}

TEST_F(HostFunctions, IdsAndPathsFollowTheStoreLayout) {
  std::string data = BKA_GetDataFolder();
  EXPECT_EQ(data.back(), '\\');
  EXPECT_EQ(std::string(BKA_GetCurrentMailBox()), "Box.mb\\");
  EXPECT_EQ(std::string(BKA_GetCurrentFolder()), inbox);
  EXPECT_EQ(std::string(BKA_GetFolderDisplayName(inbox.c_str())), "Inbox");
  EXPECT_EQ(std::string(BKA_GetFolderDisplayName("Box.mb\\None\\")), "");
  EXPECT_EQ(BKA_GetCurrentMail(), nullptr);
  EXPECT_EQ(m1, inbox + "?00000001");
}

TEST_F(HostFunctions, HostOwnedTextsStayValidAcrossLaterCallsOfTheSameGetter) {
  LPSTR first = BKA_GetSource(m1.c_str());
  LPSTR second = BKA_GetSource(m2.c_str());
  LPCSTR name = BKA_GetFolderDisplayName(inbox.c_str());
  BKA_GetFolderDisplayName(trash.c_str());
  EXPECT_NE(std::string(first).find("Subject: One"), std::string::npos);
  EXPECT_NE(std::string(second).find("Subject: Two"), std::string::npos);
  EXPECT_STREQ(name, "Inbox");
}

TEST_F(HostFunctions, GetNextMailWalksOnlyTheSelectionInListOrder) {
  fx.host().select({m3, m1});
  char id[256];
  std::vector<std::string> walked;
  for (int at = BKA_GetNextMail(-1, id, sizeof id, TRUE); at != -1;
       at = BKA_GetNextMail(at, id, sizeof id, TRUE))
    walked.push_back(id);
  EXPECT_EQ(walked, (std::vector<std::string>{m1, m3}));
  char small[8];
  EXPECT_EQ(BKA_GetNextMail(-1, small, sizeof small, FALSE), 0);
  EXPECT_EQ(std::strlen(small), 7u) << "a short buffer is cut, never overrun";
}

TEST_F(HostFunctions, AppendHasWrittenTheIndexLineWhenItReturns) {
  EXPECT_TRUE(BKA_AppendMessage(inbox.c_str(), "Subject: New\r\nMessage-ID: <new@x>\r\n\r\nx\r\n"));
  auto idx = readFile(fx.store().folderPath(inbox) / "Folder.idx");
  EXPECT_NE(idx->find("<new@x>"), std::string::npos);
  EXPECT_FALSE(BKA_AppendMessage("Box.mb\\Missing\\", "x"));
}

TEST_F(HostFunctions, MoveSelectedMovesFilesAndIndexLines) {
  fx.host().select({m2});
  EXPECT_TRUE(BKA_MoveSelectedMessages(trash.c_str(), FALSE));
  EXPECT_EQ(fx.store().mailIds(inbox), (std::vector<std::string>{m1, m3}));
  ASSERT_EQ(fx.store().index(trash).size(), 1u);
  EXPECT_EQ(fx.store().index(trash)[0].messageId, "<2@x>");
  EXPECT_TRUE(fx.host().selection.empty());
  EXPECT_FALSE(BKA_MoveSelectedMessages(trash.c_str(), FALSE)) << "nothing selected";
}

TEST_F(HostFunctions, SpecifiedHeadersActOnTheCurrentMail) {
  char value[64] = "garbage";
  BKA_GetSpecifiedHeader("Subject", value, sizeof value);
  EXPECT_STREQ(value, "") << "no current mail";
  fx.host().currentMail = m2;
  BKA_GetSpecifiedHeader("subject", value, sizeof value);
  EXPECT_STREQ(value, "Two");
  BKA_SetSpecifiedHeader("X-MEMO", "note");
  EXPECT_NE(fx.store().source(m2)->find("X-MEMO: note\r\n"), std::string::npos);
  EXPECT_EQ(fx.store().source(m1)->find("X-MEMO"), std::string::npos);
}

// A text handed to BKA_SetSource is a block of the host's heap that the host
// takes over and releases itself.
LPSTR hostCopy(const char* text) {
  auto* block = static_cast<char*>(BKA_Alloc(static_cast<DWORD>(std::strlen(text) + 1)));
  std::strcpy(block, text);
  return block;
}

TEST_F(HostFunctions, TempSourceOnlySetsWhatIsShown) {
  ASSERT_EQ(fx.run("open-mail @1"), "");
  std::string before = *fx.store().source(m1);
  BKA_SetSource("TEMP", hostCopy("Subject: shown\r\n\r\nshown body\r\n"));
  EXPECT_EQ(fx.host().shownText, "Subject: shown\r\n\r\nshown body\r\n");
  EXPECT_EQ(*fx.store().source(m1), before);
  EXPECT_STREQ(BKA_GetSource("TEMP"), "Subject: shown\r\n\r\nshown body\r\n");
  BKA_SetSource(m1.c_str(), hostCopy("Subject: replaced\r\n\r\n"));
  EXPECT_EQ(*fx.store().source(m1), "Subject: replaced\r\n\r\n");
}

TEST_F(HostFunctions, HeaderIsAHostHeapCopy) {
  LPSTR header = BKA_GetHeader(m1.c_str());
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(std::string(header),
            "From: sender@example.com\r\nTo: user@example.com\r\nSubject: One\r\nMessage-ID: <1@x>\r\n\r\n");
  BKA_Free(header);
  EXPECT_EQ(BKA_GetHeader("Box.mb\\!!!!Inbox\\?00000077"), nullptr);
  auto* block = static_cast<char*>(BKA_Alloc(4));
  block = static_cast<char*>(BKA_ReAlloc(block, 400));
  block[399] = 'x';
  BKA_Free(block);
}

UINT WINAPI disabledAndChecked(HWND, LPARAM) { return 3; }
int commandRuns = 0;
void WINAPI countRun(HWND, LPARAM) { ++commandRuns; }

TEST_F(HostFunctions, RegisteredCommandsGetIdsRunByCommandMessageAndReportState) {
  UINT a = BKA_RegisterCommand("status a", 1, countRun);
  UINT b = BKA_RegisterCommand("status b", 2, countRun);
  EXPECT_NE(a, b);
  EXPECT_EQ(BKA_RegisterUICallback(b, disabledAndChecked), b);
  EXPECT_EQ(fx.host().itemState(a), 0u);
  EXPECT_EQ(fx.host().itemState(b), 3u);
  commandRuns = 0;
  fx.windows().postMessage(fx.windows().mainWindow(), WM_COMMAND, a, 0, false);
  EXPECT_EQ(commandRuns, 1);
}

TEST_F(HostFunctions, HostCommandsSetReadAndEditMode) {
  ASSERT_EQ(fx.run("open-mail @2"), "");
  EXPECT_TRUE(fx.windows().editorReadOnly());
  BKA_Command(nullptr, "SetRead");
  EXPECT_TRUE(fx.store().entry(m2)->read);
  EXPECT_FALSE(fx.store().entry(m1)->read);
  BKA_Command(nullptr, "EditMode");  // the host's direct-edit command 108, a switch
  EXPECT_FALSE(fx.windows().editorReadOnly());
  BKA_Command(nullptr, "EditMode");
  EXPECT_TRUE(fx.windows().editorReadOnly());
  BKA_SetMessageText(nullptr, "hello");
  EXPECT_EQ(fx.host().statusText, "hello");
}

TEST_F(HostFunctions, DeleteCommandMovesTheSelectionToTrash) {
  ASSERT_EQ(fx.run("select @1 @3\npost 32836"), "");
  EXPECT_EQ(fx.store().mailIds(inbox), (std::vector<std::string>{m2}));
  EXPECT_EQ(fx.store().index(trash).size(), 2u);
}

TEST_F(HostFunctions, SetCurrentMailSwitchesFolderSelectsAndShows) {
  std::string other = fx.addMail(trash, HostFixture::mailSource("Elsewhere", "<e@x>"));
  BKA_SetCurrentMail(other.c_str());
  EXPECT_EQ(fx.host().currentFolder, trash);
  EXPECT_EQ(fx.host().currentMail, other);
  EXPECT_EQ(fx.host().selection, (std::vector<std::string>{other}));
  EXPECT_NE(fx.host().shownText.find("Subject: Elsewhere"), std::string::npos);
  BKA_SetCurrentMail("Box.mb\\!Trash\\?000000FF");
  EXPECT_EQ(fx.host().currentMail, other) << "an unknown id changes nothing";
}

TEST_F(HostFunctions, SetSelAddsAndRemovesKeepingListOrder) {
  BKA_SetSel(m3.c_str(), TRUE);
  BKA_SetSel(m1.c_str(), TRUE);
  EXPECT_EQ(fx.host().selection, (std::vector<std::string>{m1, m3}));
  BKA_SetSel(m3.c_str(), FALSE);
  EXPECT_EQ(fx.host().selection, (std::vector<std::string>{m1}));
}

TEST_F(HostFunctions, DropsMoveOrCopyAfterThePluginHeardAndRetrieveStoresFirst) {
  ASSERT_TRUE(fx.loadLinkedPlugin());
  ASSERT_EQ(fx.run(R"(drop Box.mb\!Trash\ 2 @1 @2
expect mails Box.mb\!Trash\ 2
expect mails Box.mb\!!!!Inbox\ 1)"),
            "")
      << fx.output();
  ASSERT_EQ(fx.run(R"(drop Box.mb\!Trash\ 1 @1
expect mails Box.mb\!Trash\ 3
expect mails Box.mb\!!!!Inbox\ 1)"),
            "");
  ASSERT_EQ(fx.run(R"(drop-raw Box.mb\!Trash\ "Box.mb\" 5 2
expect result 0
expect mails Box.mb\!Trash\ 3)"),
            "");
  ASSERT_EQ(fx.run(R"(retrieve Box.mb\!!!!Inbox\ <r@x> Fresh
expect mails Box.mb\!!!!Inbox\ 2)"),
            "");
  EXPECT_NE(fx.output().find(R"(retrieved Box.mb\!!!!Inbox\?00000004)"), std::string::npos) << fx.output();
}

TEST_F(HostFunctions, TransferCodecsRoundTrip) {
  std::string data("\x00\x01\xff=abc\r\n\xe9t\xe9", 12);
  auto in = fx.dataFolder() / "in.bin";
  ASSERT_TRUE(writeFile(in, data));
  std::string enc = (fx.dataFolder() / "enc").string(), dec = (fx.dataFolder() / "dec").string();
  for (auto fn : {BKA_B64Convert, BKA_QPConvert}) {
    ASSERT_TRUE(fn(enc.c_str(), in.string().c_str(), TRUE));
    ASSERT_TRUE(fn(dec.c_str(), enc.c_str(), FALSE));
    EXPECT_EQ(readFile(dec).value(), data);
  }
  EXPECT_FALSE(BKA_B64Convert(enc.c_str(), "/nonexistent/x", TRUE));
}

}  // namespace
}  // namespace lumo::hostsim
