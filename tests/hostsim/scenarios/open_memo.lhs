# A shortcut with its MEMO on shows the target with an extra "MEMO.txt" part;
# a shortcut that lost its own headers gets them back from the link index,
# and another mail naming the same shortcut id cannot take its link.
include open_shortcut_store.lhs
write-bytes memo.eml "X-LuMOID: 2712_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: on\r\nSubject:-> Target\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2712_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2712_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [x]\r\n[MEMO]\r\nCall Sato-san\r\nabout the plan."
mail-file Box.mb\Links\ memo.eml
open-mail Box.mb\Links\?00000002
expect boxes 0
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n\r\nThis is a multi-part message in MIME format.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\nContent-Transfer-Encoding:7bit\r\nContent-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\nCall Sato-san\r\nabout the plan.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n"
# The link index learnt the shortcut when it was opened.
expect file-contains lumo.idx "2712_8\x01Box.mb\!!!!Inbox\\x01?00000001\x01<t1@example.com>\x01Box.mb\Links\?00000002\r\n"

# The first shortcut without its "X-" fields, as a filter may leave it.
write-bytes lost.eml "From: sender@example.com\r\nSubject:-> Target\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\n\r\nMessage From LuMO: [x]"
mail-file Box.mb\Links\ lost.eml
open-mail Box.mb\Links\?00000003
expect boxes 0
expect header Box.mb\Links\?00000003 X-LuMOID 2711_8
expect header Box.mb\Links\?00000003 X-MailID Box.mb\!!!!Inbox\?00000001
expect header Box.mb\Links\?00000003 X-FolderID Box.mb\!!!!Inbox\
expect header Box.mb\Links\?00000003 X-Message-ID <t1@example.com>
expect header Box.mb\Links\?00000003 X-MEMO OFF
expect source Box.mb\Links\?00000003 "From: sender@example.com\r\nSubject:-> Target\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nX-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-Message-ID: <t1@example.com>\r\nX-MEMO: OFF\r\n\r\nMessage From LuMO: [x]"
expect shown-contains "Hello from the target."

# A received mail naming the same id under a Message-ID of its own stays an
# ordinary mail.
write-bytes forged.eml "From: someone@example.org\r\nSubject: hello\r\nMessage-ID: <evil@example.org>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\n\r\nNot a shortcut."
mail-file Box.mb\!!!!Inbox\ forged.eml
open-mail Box.mb\!!!!Inbox\?00000003
expect source Box.mb\!!!!Inbox\?00000003 "From: someone@example.org\r\nSubject: hello\r\nMessage-ID: <evil@example.org>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\n\r\nNot a shortcut."
expect shown-contains "Not a shortcut."
expect boxes 0
exit
