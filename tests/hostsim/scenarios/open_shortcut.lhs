# Opening a shortcut: its target where recorded, moved within its folder,
# to another folder and to another mailbox; each repair is kept in the
# shortcut's "X-MailID" and in the link index.
include open_shortcut_store.lhs

# Where recorded: shown, marked read in its folder index, "SetRead" issued.
open-mail Box.mb\Links\?00000001
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n"
expect host-command SetRead
expect read Box.mb\!!!!Inbox\?00000001 yes
expect boxes 0

# Moved within its folder (out and back: a new key): found there at once.
open-folder Box.mb\!!!!Inbox\
select Box.mb\!!!!Inbox\?00000001
move Box.mb\Work\
open-folder Box.mb\Work\
select Box.mb\Work\?00000001
move Box.mb\!!!!Inbox\
open-mail Box.mb\Links\?00000001
expect boxes 0
expect shown-contains "Hello from the target."
expect header Box.mb\Links\?00000001 X-MailID Box.mb\!!!!Inbox\?00000003
expect header Box.mb\Links\?00000001 X-FolderID Box.mb\!!!!Inbox\
expect file-contains lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01?00000003\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"

# Moved to another folder: the user agrees to search every mailbox.
open-folder Box.mb\!!!!Inbox\
select Box.mb\!!!!Inbox\?00000003
move Box.mb\Work\
answer OK
open-mail Box.mb\Links\?00000001
expect boxes 1
expect box title Message-ID ERROR
expect box text 元メールのリンクが切れてしまったようです。自動修復しますか？
expect box buttons OKCancel
expect box icon none
expect box owner none
expect box style 270337
expect shown-contains "Hello from the target."
expect header Box.mb\Links\?00000001 X-MailID Box.mb\Work\?00000001
expect header Box.mb\Links\?00000001 X-FolderID Box.mb\!!!!Inbox\
expect file-contains lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01Box.mb\Work\?00000001\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"
# Repaired: the next open asks nothing.
open-mail Box.mb\Links\?00000001
expect boxes 1
expect shown-contains "Hello from the target."

# Moved to another mailbox: found there by the same search.
folder Archive.mb\ "Archive"
folder Archive.mb\2026\ "2026"
open-folder Box.mb\Work\
select Box.mb\Work\?00000001
move Archive.mb\2026\
answer OK
open-mail Box.mb\Links\?00000001
expect boxes 2
expect shown-contains "Hello from the target."
expect header Box.mb\Links\?00000001 X-MailID Archive.mb\2026\?00000001
expect file-contains lumo.idx "\x01Archive.mb\2026\?00000001\x01"
exit
