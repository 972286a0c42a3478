# Deleting mails with the host's command 32836, posted and sent: the hooks
# remove the link index lines of the shortcut mails among them and tell in
# the status bar how many mails went, shortcuts or not.
folder Box.mb\ "Box"
folder Box.mb\!!!!Inbox\ "Inbox"
folder Box.mb\!Trash\ "Trash"
folder Box.mb\Links\ "Links"
mail Box.mb\!!!!Inbox\ <t1@example.com> "Target one"
mail Box.mb\!!!!Inbox\ <t2@example.com> "Target two"
mail Box.mb\!!!!Inbox\ <t3@example.com> "Target three"
write-bytes sc1.eml "From: a@example.com\r\nSubject: ->Target one\r\nMessage-ID: <t1@2711_12.LuMO.example.com>\r\nX-LuMOID: 2711_12\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\n\r\nShortcut.\r\n"
write-bytes sc2.eml "From: a@example.com\r\nSubject: ->Target two\r\nMessage-ID: <t2@2712_12.LuMO.example.com>\r\nX-LuMOID: 2712_12\r\nX-MailID: Box.mb\!!!!Inbox\?00000002\r\n\r\nShortcut.\r\n"
write-bytes sc3.eml "From: a@example.com\r\nSubject: ->Target three\r\nMessage-ID: <t3@2713_12.LuMO.example.com>\r\nX-LuMOID: 2713_12\r\nX-MailID: Box.mb\!!!!Inbox\?00000003\r\n\r\nShortcut.\r\n"
mail-file Box.mb\Links\ sc1.eml
mail-file Box.mb\Links\ sc2.eml
mail-file Box.mb\Links\ sc3.eml
mail Box.mb\Links\ <plain@example.com> "A plain mail"
write-bytes lumo.idx "2711_12\x01Box.mb\!!!!Inbox\\x01?00000001\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n2712_12\x01Box.mb\!!!!Inbox\\x01?00000002\x01<t2@example.com>\x01Box.mb\Links\?00000002\r\n2713_12\x01Box.mb\!!!!Inbox\\x01?00000003\x01<t3@example.com>\x01Box.mb\Links\?00000003\r\n"
load
start
open-folder Box.mb\Links\
# Two shortcuts and a plain mail, deleted from the menu (a posted command).
select @1 @3 @4
post 32836
expect status "3のメールショートカット情報を削除しました。"
expect file-lacks lumo.idx "2711_12"
expect file-lacks lumo.idx "2713_12"
expect file-contains lumo.idx "2712_12\x01Box.mb\!!!!Inbox\\x01?00000002\x01<t2@example.com>\x01Box.mb\Links\?00000002\r\n"
expect mails Box.mb\!Trash\ 3
expect boxes 0
# The last shortcut, deleted by a sent command: the index is left empty.
select @1
send 32836
expect status "1のメールショートカット情報を削除しました。"
expect file-lacks lumo.idx "2712_12"
expect mails Box.mb\Links\ 0
# With nothing selected, nothing is told.
write-bytes lumo.idx ""
post 32836
expect status "1のメールショートカット情報を削除しました。"
exit
