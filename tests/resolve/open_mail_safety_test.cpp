// What a received mail can put into its headers must not reach beyond its
// own link: a shortcut whose lost headers are restored from the link index,
// a mail that tries to capture another mail's link, and forged folder and
// mail ids that would lead outside the data folder (no file there is opened).
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "resolve/open_mail.h"
#include "support/shortcut_fixture.h"

namespace lumo {
namespace {

using testing::visible;

struct LostHeaders : testing::ShortcutFixture {
  std::string target, shortcut, lost;
  void SetUp() override {
    ShortcutFixture::SetUp();
    target = addTarget(inbox, "<t1@example.com>");
    shortcut = addShortcut(target, links);
    lost = withoutLinkFields(made.source);
  }
  // The source without the plug-in's own "X-" fields, as a filter that
  // dropped them leaves it.
  static std::string withoutLinkFields(const std::string& source) {
    std::istringstream lines(source);
    std::string line, kept;
    while (std::getline(lines, line, '\n')) {
      bool ours = false;
      for (const char* name : {"X-LuMOID", "X-MailID", "X-FolderID", "X-MEMO", "X-Message-ID"})
        ours = ours || line.rfind(name, 0) == 0;
      if (!ours) kept += line + (lines.eof() ? "" : "\n");
    }
    return kept;
  }
  std::string restored() const {
    std::size_t blank = lost.find("\r\n\r\n") + 2;
    return lost.substr(0, blank) + "X-LuMOID: " + made.shortcutId + "\r\nX-MailID: " + target +
           "\r\nX-FolderID: " + inbox + "\r\nX-Message-ID: <t1@example.com>\r\nX-MEMO: OFF\r\n" +
           lost.substr(blank);
  }
};

TEST_F(LostHeaders, AreWrittenBackFromTheLinkIndexAndTheTargetIsShown) {
  ASSERT_EQ(lost.find("X-"), std::string::npos) << visible(lost);
  ASSERT_TRUE(fx.store().setSource(shortcut, lost));
  MemoOpened = 1;
  std::strcpy(SelectedTargetId, "kept");
  run("open-mail " + shortcut);
  EXPECT_EQ(visible(source(shortcut)), visible(restored()));
  EXPECT_EQ(visible(host().shownText), visible(source(target)));
  EXPECT_EQ(ShortcutOpened, 1);
  EXPECT_EQ(MemoOpened, 1) << "left as it was";
  EXPECT_STREQ(SelectedTargetId, "kept");
  EXPECT_TRUE(fx.windows().messageBoxes().empty());
}

TEST_F(LostHeaders, NoViewCheckAndNoDisplayWhenTheTargetCannotBeRead) {
  ASSERT_TRUE(fx.store().setSource(shortcut, lost));
  ASSERT_TRUE(fx.store().remove(target));
  run("open-mail " + shortcut);
  EXPECT_EQ(visible(source(shortcut)), visible(restored())) << "the headers come back all the same";
  EXPECT_EQ(ShortcutOpened, 0);
  EXPECT_EQ(host().shownText, lost);
}

TEST_F(LostHeaders, AnotherMailCannotCaptureTheLink) {
  // A received mail naming the shortcut's id, with a Message-ID of its own.
  std::string forged = lost;
  std::size_t at = forged.find(".LuMO.");
  forged.replace(forged.rfind('<', at), at - forged.rfind('<', at), "<evil@2711_x");
  std::string received = fx.addMail(inbox, forged);
  ShortcutOpened = 1;
  run("open-mail " + received);
  EXPECT_EQ(source(received), forged);
  EXPECT_EQ(ShortcutOpened, 0);
  EXPECT_EQ(host().shownText, forged);

  // Without any Message-ID it is not the shortcut mail either.
  std::string bare = lost;
  bare.erase(bare.find("Message-ID:"),
             bare.find("\r\n", bare.find("Message-ID:")) + 2 - bare.find("Message-ID:"));
  std::string noId = fx.addMail(inbox, bare);
  run("open-mail " + noId);
  EXPECT_EQ(source(noId), bare);
  EXPECT_EQ(ShortcutOpened, 0);
}

TEST_F(LostHeaders, OnlyAWellFormedQuotedIdIsLookedUp) {
  const std::string id = made.shortcutId;
  for (const std::string& type : std::vector<std::string>{
           "text/plain; id=" + id + "; charset=x", "text/plain; id=\"" + id,
           "text/plain; id=\"" + id + "x\"; charset=x", "text/plain; id=\"99_9\"; charset=x",
           "text/plain; id=\"" + id + "00000000000000000\"; charset=x"}) {
    std::string mail = hostsim::withHeader(lost, "Content-Type", type);
    ASSERT_TRUE(fx.store().setSource(shortcut, mail));
    ShortcutOpened = 1;
    run("open-mail " + shortcut);
    EXPECT_EQ(source(shortcut), mail) << type;
    EXPECT_EQ(ShortcutOpened, 0) << type;
  }
}

// The events of a directory: any open, read or change of it or in it.
class DirectoryWatch {
 public:
  explicit DirectoryWatch(const std::filesystem::path& dir) : fd_(inotify_init1(IN_NONBLOCK)) {
    inotify_add_watch(fd_, dir.c_str(), IN_ALL_EVENTS);
  }
  ~DirectoryWatch() { close(fd_); }
  int events() {
    alignas(inotify_event) char buffer[4096];
    int count = 0;
    for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;)
      for (char* p = buffer; p < buffer + n;
           p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
        ++count;
    return count;
  }
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_;
};

struct ForgedIds : testing::ShortcutFixture {};

TEST_F(ForgedIds, NeverLeadOutsideTheDataFolder) {
  std::string target = addTarget(inbox, "<t1@example.com>");
  std::string shortcut = addShortcut(target, links);
  // A folder outside the data folder with an index line and a mail of the
  // same Message-ID, ready to be found and marked.
  std::filesystem::path outside = pluginDir.path() / "outside";
  std::filesystem::create_directories(outside);
  testing::writeBytes((outside / "Folder.idx").string(),
                      hostsim::MailStore::indexLine("00000001", source(target), false) + "\r\n");
  testing::writeBytes((outside / "00000001.eml").string(), source(target));
  std::string up = "..\\" + pluginDir.path().filename().string() + "\\outside\\";
  std::string data = fx.dataFolder().string();
  for (const std::string& folder :
       std::vector<std::string>{up, data + "\\..\\" + pluginDir.path().filename().string() + "\\outside\\",
                                "\\\\server\\share\\", "C:\\outside\\", "Box.mb\\..\\..\\outside\\"}) {
    std::string forged = hostsim::withHeader(hostsim::withHeader(made.source, "X-FolderID", folder),
                                             "X-MailID", folder + "?00000001");
    ASSERT_TRUE(fx.store().setSource(shortcut, forged));
    DirectoryWatch watch(outside);
    ASSERT_TRUE(watch.ok());
    // The forged place names no mail: the link is repaired by the search in
    // the mailboxes, which finds the target inside the data folder.
    run("answer OK\nopen-mail " + shortcut);
    EXPECT_EQ(watch.events(), 0) << folder;
    EXPECT_EQ(header(shortcut, "X-MailID"), target) << folder;
    EXPECT_EQ(linkIndex().find("outside"), std::string::npos) << folder << ": " << visible(linkIndex());
    EXPECT_EQ(visible(host().shownText), visible(source(target))) << folder;
    EXPECT_STRNE(SelectedTargetId, (folder + "?00000001").c_str());
  }
  EXPECT_EQ(testing::readBytes((outside / "Folder.idx").string()),
            hostsim::MailStore::indexLine("00000001", source(target), false) + "\r\n")
      << "the outside index was not marked";
}

}  // namespace
}  // namespace lumo
