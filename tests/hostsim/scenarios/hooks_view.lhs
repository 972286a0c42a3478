# A shortcut on view: direct editing is refused once per attempt with the
# stop box, double-clicks in the mail list jump from the shortcut to its
# target and back, and the hotkeys run the same jumps.
folder Box.mb\ "Box"
folder Box.mb\!!!!Inbox\ "Inbox"
folder Box.mb\!Trash\ "Trash"
folder Box.mb\Links\ "Links"
folder Box.mb\Work\ "Work"
mail Box.mb\!!!!Inbox\ <t1@example.com> "Target" "Hello from the target."
mail Box.mb\!!!!Inbox\ <o1@example.com> "Other" "Another mail."
# Ctrl+J jumps to the target, Ctrl+F finds the shortcut of a mail.
write-file lumo.ini "[Settings]\r\nSCMLinkJumpKey=586\r\nSCFindKey=582\r\n"
load
start
make-shortcut Box.mb\!!!!Inbox\?00000001 Box.mb\Links\
expect result 1
expect file-contains lumo.idx "\x01Box.mb\Links\?00000001\r\n"

# Direct editing of the shortcut on view: refused, the view stays read-only.
open-folder Box.mb\Links\
open-mail Box.mb\Links\?00000001
expect shown-contains "Hello from the target."
expect readonly yes
answer OK
post 108
expect boxes 1
expect box title "Message from LuMO"
expect box text "このメールは、ショートカットメールです。ショートカットメールは、「直接編集」は、できません。"
expect box icon stop
expect box buttons OK
expect box owner none
expect box style 270352
expect host-command EditMode
expect readonly yes
# Each new attempt is refused again, once; one only looked at first too.
answer OK
post 108
expect boxes 2
answer OK
peek-post 108
expect boxes 3
expect readonly yes
# The same command sent rather than posted.
answer OK
send 108
expect boxes 4
expect readonly yes

# Double-clicks: from the shortcut to its target...
dblclick
expect mail Box.mb\!!!!Inbox\?00000001
expect folder Box.mb\!!!!Inbox\
# ...the second notification of the pair only re-arms...
dblclick
expect mail Box.mb\!!!!Inbox\?00000001
# ...and on the target, back to its shortcut.
dblclick
expect mail Box.mb\Links\?00000001
expect shown-contains "Hello from the target."
dblclick
expect mail Box.mb\Links\?00000001

# An ordinary mail may be edited, and a double-click on it goes nowhere.
open-mail Box.mb\!!!!Inbox\?00000002
post 108
expect readonly no
expect boxes 4
dblclick
dblclick
expect mail Box.mb\!!!!Inbox\?00000002

# Hotkeys: from the shortcut to its target, and from the target back.
open-mail Box.mb\Links\?00000001
key 0x4A 0x20
expect result 1
expect mail Box.mb\!!!!Inbox\?00000001
key 0x46 0x20
expect result 1
expect mail Box.mb\Links\?00000001
# A key no hotkey holds is left to the host.
key 0x46 0x40
expect result 0
expect boxes 4
exit
