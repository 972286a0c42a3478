// Drag and drop of mails onto a folder: the link index and the shortcut
// mails follow moved shortcuts and moved target mails.
#pragma once

namespace lumo {

// BKC_OnDragDrop: the user drops `count` mails (their ids in `sourceList`,
// separated by line feeds) onto `destinationFolderId`; only a move
// (`dropEffect` 2) is acted on. The plug-in hears before the host moves the
// mails. A moved shortcut gets the destination folder as its location in the
// link index; a moved target gets it as its folder in the link index and in
// its shortcut's "X-FolderID" header, so the next opening of the shortcut
// finds it in that folder. Targets are handled before shortcuts, so a
// shortcut dropped with its target follows it. Each mail is handled on its
// own and every failure skips only that mail. Always 0.
int OnDragDrop(const char* destinationFolderId, const char* sourceList, int count, int dropEffect);

}  // namespace lumo
