// The disabled and checked states of the plug-in's menu items, by the
// conditions they depend on.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "ui/item_states.h"

namespace {

using lumo::ItemConditions;

// Conditions named by words: pending shortcut memo usable setOn retOn
// setChosen retChosen; every other condition is false.
ItemConditions when(std::initializer_list<std::string> words) {
  ItemConditions c;
  for (const std::string& w : words) {
    bool* flag = w == "pending"     ? &c.creationPending
                 : w == "shortcut"  ? &c.shortcutOpened
                 : w == "memo"      ? &c.memoOpened
                 : w == "usable"    ? &c.usableFolder
                 : w == "setOn"     ? &c.creationFolderOn
                 : w == "retOn"     ? &c.retrieveFolderOn
                 : w == "setChosen" ? &c.creationFolderChosen
                 : w == "retChosen" ? &c.retrieveFolderChosen
                                    : nullptr;
    if (flag == nullptr)
      ADD_FAILURE() << "no condition " << w;
    else
      *flag = true;
  }
  return c;
}

// 0 enabled, 1 disabled, 2 checked, 3 disabled and checked.
struct Row {
  const char* what;
  ItemConditions c;
  UINT create, find, shortcut, deleteMemo, creationFolder, retrieveFolder;
};

TEST(ItemStateRulesTest, EachItemFollowsItsConditions) {
  const Row rows[] = {
      {"ordinary mail", when({"usable"}), 0, 0, 1, 1, 1, 1},
      {"ordinary mail in an unusable folder", when({}), 1, 1, 1, 1, 1, 1},
      {"shortcut with its MEMO shown", when({"shortcut", "memo", "usable"}), 1, 1, 0, 0, 1, 1},
      {"shortcut without a MEMO", when({"shortcut", "usable"}), 1, 1, 0, 1, 1, 1},
      {"shortcut in an unusable folder", when({"shortcut", "memo"}), 1, 1, 1, 1, 1, 1},
      {"pending creation", when({"pending", "usable"}), 2, 1, 1, 1, 1, 1},
      {"pending creation, unusable folder", when({"pending"}), 3, 1, 1, 1, 1, 1},
      // The creation can be cancelled and the shown MEMO deleted meanwhile.
      {"pending creation over a shortcut", when({"pending", "shortcut", "memo", "usable"}), 2, 1, 1, 0, 1, 1},
      {"folder options on, none chosen", when({"setOn", "retOn", "usable"}), 0, 0, 1, 1, 0, 0},
      {"folder options on and chosen", when({"setOn", "retOn", "setChosen", "retChosen", "usable"}), 0, 0, 1,
       1, 2, 2},
      // Checked says a folder is chosen, even when the option is off.
      {"folder options off, chosen", when({"setChosen", "retChosen", "usable"}), 0, 0, 1, 1, 3, 3},
      {"folders chosen, creation pending",
       when({"setOn", "retOn", "setChosen", "retChosen", "pending", "usable"}), 2, 1, 1, 1, 3, 3},
      {"folders chosen, unusable folder", when({"setOn", "retOn", "setChosen", "retChosen"}), 1, 1, 1, 1, 3,
       3},
      {"only the creation folder option", when({"setOn", "setChosen", "usable"}), 0, 0, 1, 1, 2, 1},
      {"only the retrieval folder option", when({"retOn", "retChosen", "usable"}), 0, 0, 1, 1, 1, 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(lumo::createItemState(r.c), r.create);
    EXPECT_EQ(lumo::findItemState(r.c), r.find);
    EXPECT_EQ(lumo::shortcutItemState(r.c), r.shortcut);
    EXPECT_EQ(lumo::deleteMemoItemState(r.c), r.deleteMemo);
    EXPECT_EQ(lumo::creationFolderItemState(r.c), r.creationFolder);
    EXPECT_EQ(lumo::retrieveFolderItemState(r.c), r.retrieveFolder);
  }
}

}  // namespace
