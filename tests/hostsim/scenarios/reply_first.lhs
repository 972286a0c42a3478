# A reply listed before its original: the host writes the reply's
# "In-Reply-To" into the reply's own index line, so that line holds the
# original's Message-ID too. Opening the original's shortcut marks the
# original, not the reply, and every repair search (the recorded folder,
# then every mailbox) records the original, never the reply.
store store
folder Box.mb\ "Box"
folder Box.mb\!!!!Inbox\ "Inbox"
folder Box.mb\!Trash\ "Trash"
folder Box.mb\Links\ "Links"
folder Box.mb\Work\ "Work"
write-bytes reply.eml "From: friend@example.com\r\nTo: sender@example.com\r\nSubject: Re: Target\r\nMessage-ID: <r1@example.com>\r\nIn-Reply-To: <t1@example.com>\r\n\r\nA reply.\r\n"
mail-file Box.mb\!!!!Inbox\ reply.eml
mail Box.mb\!!!!Inbox\ <t1@example.com> "Target" "Hello from the target."
mail Box.mb\!!!!Inbox\ <o1@example.com> "Other" "Another mail."
write-bytes shortcut.eml "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000002\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: OFF\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO\r\n"
mail-file Box.mb\Links\ shortcut.eml
write-bytes lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01?00000002\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"
load
start

# Where recorded: the original's own line gets the read mark.
open-mail Box.mb\Links\?00000001
expect shown-contains "Hello from the target."
expect read Box.mb\!!!!Inbox\?00000002 yes
expect read Box.mb\!!!!Inbox\?00000001 no

# Moved out and back (a new key, listed after the reply): the search of the
# recorded folder passes over the reply's line.
open-folder Box.mb\!!!!Inbox\
select Box.mb\!!!!Inbox\?00000002
move Box.mb\Work\
open-folder Box.mb\Work\
select Box.mb\Work\?00000001
move Box.mb\!!!!Inbox\
open-mail Box.mb\Links\?00000001
expect boxes 0
expect shown-contains "Hello from the target."
expect header Box.mb\Links\?00000001 X-MailID Box.mb\!!!!Inbox\?00000004
expect file-contains lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01?00000004\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"

# Moved to another folder: the mailbox-wide search passes over the reply's
# line in the inbox too.
open-folder Box.mb\!!!!Inbox\
select Box.mb\!!!!Inbox\?00000004
move Box.mb\Work\
answer OK
open-mail Box.mb\Links\?00000001
expect boxes 1
expect shown-contains "Hello from the target."
expect header Box.mb\Links\?00000001 X-MailID Box.mb\Work\?00000001
expect file-contains lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01Box.mb\Work\?00000001\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"
exit
