# The road every mail of the hostile corpus takes through lumo-host (run by
# run_corpus.py in a fresh folder holding the mail as mail.eml and its own
# copy of the plug-in). "@IDX@" is replaced by the case's Folder.idx bytes
# (empty for most), put into every folder before any mail is stored, so the
# host's own lines follow them. A failing line is logged and the road goes on:
# what is judged is what survives (no crash, no hang, the link index, the
# files touched); the plain control mail must pass every line.
keep-going
folder Box.mb\ Box
folder Box.mb\!!!!Inbox\ Inbox
folder Box.mb\!Trash\ Trash
folder Box.mb\Links\ Links
folder Box.mb\Work\ Work
write-bytes st/Box.mb/!!!!Inbox/Folder.idx "@IDX@"
write-bytes st/Box.mb/Links/Folder.idx "@IDX@"
write-bytes st/Box.mb/Work/Folder.idx "@IDX@"
write-bytes st/Box.mb/Folder.idx "@IDX@"
# A bystander and its shortcut (id 2711_7), whose ids the forged mails name.
mail Box.mb\Work\ <other@example.com> "Another mail" "Bystander."
write-file lumo.ini "[Settings]\r\nRetFolder=1\r\nRetSC-Path=Box.mb\Links\\r\n"
load
start
make-shortcut Box.mb\Work\?00000001 Box.mb\Work\
expect result 1

# Retrieved with automatic creation on: its shortcut goes into Links.
retrieve-file Box.mb\!!!!Inbox\ mail.eml
expect mails Box.mb\Links\ 1
# Made into a shortcut by the export as well (Work?00000003).
make-shortcut Box.mb\!!!!Inbox\?00000001 Box.mb\Work\
expect result 1

# Opened without a MEMO: both shortcuts, and the mail itself, which may carry
# forged shortcut headers.
open-folder Box.mb\Links\
open-mail Box.mb\Links\?00000001
expect shown-contains "Hostile corpus"
open-folder Box.mb\Work\
open-mail Box.mb\Work\?00000003
expect shown-contains "Hostile corpus"
open-folder Box.mb\!!!!Inbox\
open-mail Box.mb\!!!!Inbox\?00000001

# Given a MEMO and opened with it.
open-folder Box.mb\Work\
open-mail Box.mb\Work\?00000003
dialog text 1004 "メモ: hostile"
dialog ok
choose 1 MEMOを追加
open-mail Box.mb\Work\?00000003
expect shown-contains "MEMO.txt"
open-folder Box.mb\Links\
open-mail Box.mb\Links\?00000001
dialog text 1004 "note"
dialog ok
choose 1 MEMOを追加
open-mail Box.mb\Links\?00000001
expect shown-contains "MEMO.txt"

# Dragged: the Links shortcut to the inbox (Inbox?00000002), the target to
# Work (Work?00000004), both shortcuts opened again; then the Work shortcut
# and its target together back to the inbox (Inbox?00000003 and ?00000004).
drop Box.mb\!!!!Inbox\ 2 Box.mb\Links\?00000001
drop Box.mb\Work\ 2 Box.mb\!!!!Inbox\?00000001
open-folder Box.mb\!!!!Inbox\
open-mail Box.mb\!!!!Inbox\?00000002
expect shown-contains "Hostile corpus"
# The drag told the first link of the target only: the Work shortcut finds
# it again by a search of every mailbox, with consent.
open-folder Box.mb\Work\
answer OK
open-mail Box.mb\Work\?00000003
expect shown-contains "Hostile corpus"
drop Box.mb\!!!!Inbox\ 2 Box.mb\Work\?00000003 Box.mb\Work\?00000004
open-folder Box.mb\!!!!Inbox\
open-mail Box.mb\!!!!Inbox\?00000003
expect shown-contains "Hostile corpus"

# Deleted with the host's Delete: one shortcut, then the target.
select Box.mb\!!!!Inbox\?00000002
post 32836
expect mails Box.mb\!Trash\ 1
select Box.mb\!!!!Inbox\?00000004
post 32836
open-mail Box.mb\!!!!Inbox\?00000003

# Cleaned up at exit: the counter (3) is past the threshold (0).
exit
expect file-contains lumo.ini "Lumo-CleanInt=201\r\n"
unload
