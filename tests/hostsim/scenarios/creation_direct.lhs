# LumoMakeShortCut called through the loaded module, as other software in the
# host calls it: the exact source of a shortcut, its link index line, the
# counter, a target without Message-ID, ids the link index already holds, and
# the refusals (unknown folder, unknown mail).
store st
folder Box.mb\!!!!Inbox\ Inbox
folder Box.mb\Links\ Links
mail Box.mb\!!!!Inbox\ <m1@example.com> 会議の件
write-bytes no-message-id.eml "From: nobody@example.com\r\nSubject: No id\r\n\r\nBody.\r\n"
mail-file Box.mb\!!!!Inbox\ no-message-id.eml
load

# The mail has six header fields and the blank line: id 2711_7.
make-shortcut Box.mb\!!!!Inbox\?00000001 Box.mb\Links\
expect result 1
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_7\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: OFF\r\nFrom: sender@example.com\r\nSubject:-> 会議の件\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <m1@example.com>\r\nMessage-ID: <m1@2711_7.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_7\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]"
expect file-contains lumo.idx "2711_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<m1@example.com>\x01Box.mb\Links\?00000001\r\n"
expect setting Lumo-Count 1
expect boxes 0

# Without a Message-ID the new mail cannot be looked up: the line has neither
# Message-ID nor location.
make-shortcut Box.mb\!!!!Inbox\?00000002 Box.mb\Links\
expect result 1
expect header Box.mb\Links\?00000002 X-LuMOID 2712_3
expect header Box.mb\Links\?00000002 Message-ID ""
expect file-contains lumo.idx "2712_3\x01Box.mb\!!!!Inbox\\x01?00000002\x01\x01\r\n"

# Refusals make nothing and use no number.
make-shortcut Box.mb\!!!!Inbox\?00000001 Box.mb\Nowhere\
expect result 0
make-shortcut Box.mb\!!!!Inbox\?000000FF Box.mb\Links\
expect result 0
expect mails Box.mb\Links\ 2
expect setting Lumo-Count 2
unload

# The settings file is lost: the counter starts again, and the ids the link
# index holds (2711, 2712) are passed over.
write-file lumo.ini ""
load
make-shortcut Box.mb\!!!!Inbox\?00000001 Box.mb\Links\
expect result 1
expect header Box.mb\Links\?00000003 X-LuMOID 2713_7
expect setting Lumo-Count 3
expect file-contains lumo.idx "2713_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<m1@example.com>\x01Box.mb\Links\?00000003\r\n"
