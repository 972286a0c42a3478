// The information record and the fixed results of the entry points.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/entry_points.h"

namespace {

TEST(PluginInfo, FillsTheThreeTextsAtTheirOffsets) {
  static_assert(offsetof(LumoPluginInfo, name) == 0);
  static_assert(offsetof(LumoPluginInfo, vendor) == 80);
  static_assert(offsetof(LumoPluginInfo, version) == 160);
  static_assert(offsetof(LumoPluginInfo, description) == 240);
  unsigned char record[sizeof(LumoPluginInfo)];
  std::memset(record, 0xCC, sizeof record);
  EXPECT_EQ(BKC_OnPlugInInfo(reinterpret_cast<LumoPluginInfo*>(record)), 0);

  auto textAt = [&](std::size_t offset) { return std::string(reinterpret_cast<char*>(record + offset)); };
  EXPECT_EQ(textAt(0), "Lumo Plug-In for B2");
  EXPECT_EQ(textAt(160), "1.2");
  EXPECT_EQ(textAt(240), "Make Shortcut of mail.");
  // The vendor field and the bytes after each text's zero stay as the host left them.
  for (std::size_t i = 80; i < 160; ++i) EXPECT_EQ(record[i], 0xCC) << "byte " << i;
  EXPECT_EQ(record[std::strlen("Lumo Plug-In for B2") + 1], 0xCC);
  EXPECT_EQ(record[160 + 4], 0xCC);
}

TEST(PluginInfo, NullRecordIsIgnored) { EXPECT_EQ(BKC_OnPlugInInfo(nullptr), 0); }

TEST(EntryPoints, AnswerWithTheirFixedResults) {
  EXPECT_EQ(BKC_OnEveryMinute(), 0);
  EXPECT_EQ(BKC_OnOpenCompose(nullptr, 0), 0);
  EXPECT_EQ(BKC_OnOutgoing(nullptr, 1), 0);
  EXPECT_EQ(BKC_OnSend("From: a\r\n\r\n"), 0);
  EXPECT_EQ(BKC_OnFinishRetrieve(3), 0);
}

// The names the code lists are the names the export list gives the DLL, in
// its order.
TEST(EntryPoints, ExportListMatchesTheDeclaredNames) {
  std::ifstream def(LUMO_SOURCE_DIR "/res/lumo.def");
  ASSERT_TRUE(def.is_open());
  std::vector<std::string> listed;
  std::string line;
  bool inExports = false;
  while (std::getline(def, line)) {
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word[0] == ';') continue;
    if (word == "EXPORTS") {
      inExports = true;
    } else if (inExports) {
      listed.push_back(word);
    }
  }
  std::vector<std::string> declared(LumoExportNames, LumoExportNames + LUMO_EXPORT_COUNT);
  EXPECT_EQ(listed, declared) << "res/lumo.def and LUMO_ENTRY_POINTS list the same names in the same order";
  EXPECT_EQ(declared.size(), 16u);
}

}  // namespace
