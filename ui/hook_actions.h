// What the window hooks do when their rules (hook_decisions.h) ask them to
// act: refuse direct editing of a shortcut, remove the link index lines of
// deleted shortcuts, and jump between a shortcut and its target on a
// double-click in the mail list.
#pragma once

namespace lumo {

// Shows the refusal (stop icon, no owner), sets EditRefusalCount to 1 so
// that the next command taken from the queue passes, and takes the mail view
// out of edit mode with the host command "EditMode".
void refuseDirectEdit();

// Walks the host's selected mails and removes, in one rewrite of the index,
// the link index line of each shortcut mail among them: the line of its
// shortcut id, only when it is that link's own shortcut (its Message-ID is
// the one the link gave it); a shortcut marked deleted has no line left.
// Puts the number of mails walked, shortcuts or not, into the status bar. 1
// when at least one mail was walked; 0, showing nothing, when none was
// selected.
int RemoveSelectedLinks();

// The jump of an acting double-click in the mail list: from a shortcut to its
// target, or (setting "RealMail" on) from the target back to its shortcut.
// False when the current folder is one the plug-in does not act on, or when
// no mail is selected (a double-click on the list's empty space): then
// nothing happened and the double-click does not count.
bool jumpOnDoubleClick();

// From the target of the shortcut opened last back to the shortcut: its
// link index line gives the shortcut's mail id, or the folder it was moved
// into, where it is looked up by its Message-ID (and the line updated).
// Nothing happens when the current mail passes the status test.
void goBackToShortcut();

}  // namespace lumo
