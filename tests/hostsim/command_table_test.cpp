// The script language's tables: every row is documented in docs/host-sim.md
// in the form `help` prints, names are unique, and a name no table holds is
// refused with the table it was looked up in.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "host-sim/core/script.h"

namespace lumo::hostsim {
namespace {

// The document with every run of blanks and line ends made one space and the
// table cells' escaped bars made plain, so a usage may wrap or sit in a table.
std::string documentText() {
  std::ifstream in(LUMO_HOSTSIM_DOC, std::ios::binary);
  std::stringstream raw;
  raw << in.rdbuf();
  std::string text;
  for (char ch : raw.str()) {
    bool blank = ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t';
    if (blank && (text.empty() || text.back() == ' ')) continue;
    if (ch == '|' && !text.empty() && text.back() == '\\') text.pop_back();
    text += blank ? ' ' : ch;
  }
  return text;
}

// `help` prints each row on a line of its own, its summary after blanks or on
// the next line.
bool helpLists(const std::string& help, const std::string& usage) {
  for (std::size_t at = help.find("\n  " + usage); at != std::string::npos;
       at = help.find("\n  " + usage, at + 1)) {
    char next = help[at + 3 + usage.size()];
    if (next == ' ' || next == '\n') return true;
  }
  return false;
}

std::string usage(const char* prefix, const ScriptCommand& row) {
  return std::string(prefix) + row.name + (*row.synopsis ? " " : "") + row.synopsis;
}

struct Table {
  const char* documentedPrefix;  // how the document writes a row
  const char* helpPrefix;        // how `help` writes it
  std::span<const ScriptCommand> rows;
};

// Expectations are documented in a table of their own, without "expect ".
const Table kTables[] = {{"", "", Script::commands()},
                         {"dialog ", "dialog ", Script::dialogActions()},
                         {"", "expect ", Script::expectations()}};

TEST(CommandTable, EveryRowIsDocumentedAsHelpShowsIt) {
  std::string doc = documentText();
  ASSERT_FALSE(doc.empty()) << "cannot read " << LUMO_HOSTSIM_DOC;
  std::string help = helpText();
  for (const Table& table : kTables) {
    for (const ScriptCommand& row : table.rows) {
      std::string documented = "`" + usage(table.documentedPrefix, row) + "`";
      EXPECT_NE(doc.find(documented), std::string::npos) << documented << " is missing from docs/host-sim.md";
      EXPECT_TRUE(helpLists(help, usage(table.helpPrefix, row)))
          << usage(table.helpPrefix, row) << " is missing from help";
    }
  }
}

TEST(CommandTable, NamesAreUniqueAndEveryRowRunsAndSaysWhatItDoes) {
  for (const Table& table : kTables) {
    std::set<std::string> names;
    for (const ScriptCommand& row : table.rows) {
      EXPECT_TRUE(names.insert(row.name).second) << "two rows named " << row.name;
      EXPECT_NE(*row.summary, '\0') << row.name;
      EXPECT_NE(row.run, nullptr) << row.name;
    }
  }
}

TEST(CommandTable, ANameNoTableHoldsIsRefusedNamingTheTable) {
  std::ostringstream out;
  auto windows = makeWindowSystem();
  Script script(*windows, out);
  EXPECT_EQ(script.runLine("frobnicate now"), "unknown command \"frobnicate\"");
  EXPECT_EQ(script.runLine("expect frobnicated"), "unknown expectation \"frobnicated\"");
  EXPECT_EQ(script.runLine("dialog frobnicate 1"), "unknown dialog action \"frobnicate 1\"");
  EXPECT_EQ(script.runLine("dialog text"), "unknown dialog action \"text\"")
      << "an action short of its words";
  EXPECT_EQ(script.runLine("expect"), "expect needs a subject");
  EXPECT_EQ(windows->pendingDialogActions(), 0u);
}

}  // namespace
}  // namespace lumo::hostsim
