// The rules that turn the conditions into the items' state bits.
#include "ui/item_states.h"

namespace lumo {
namespace {

UINT bits(bool disabled, bool checked) { return (disabled ? ItemDisabled : 0) | (checked ? ItemChecked : 0); }

}  // namespace

// A creation can be started for an ordinary mail, and a pending one can be
// cancelled from any mail; it shows checked while it waits.
UINT createItemState(const ItemConditions& c) {
  return bits(!c.usableFolder || (c.shortcutOpened && !c.creationPending), c.creationPending);
}

UINT findItemState(const ItemConditions& c) {
  return bits(c.creationPending || c.shortcutOpened || !c.usableFolder, false);
}

// Jumping to the target and adding or editing the MEMO.
UINT shortcutItemState(const ItemConditions& c) {
  return bits(c.creationPending || !c.shortcutOpened || !c.usableFolder, false);
}

// Deleting a shown MEMO stays possible while a creation waits.
UINT deleteMemoItemState(const ItemConditions& c) { return bits(!c.memoOpened || !c.usableFolder, false); }

// Checked says only that some folder is chosen, whichever is selected.
UINT creationFolderItemState(const ItemConditions& c) {
  return bits(c.creationPending || !c.creationFolderOn || !c.usableFolder, c.creationFolderChosen);
}

UINT retrieveFolderItemState(const ItemConditions& c) {
  return bits(c.creationPending || !c.retrieveFolderOn || !c.usableFolder, c.retrieveFolderChosen);
}

}  // namespace lumo
