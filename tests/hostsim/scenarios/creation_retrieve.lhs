# Shortcuts of retrieved mails go silently into the retrieval folder; with
# "CreSCMailCheck" on, mails delivered to a folder whose Folder.ini says
# "IgnoreUnread=1" get none.
store st
folder Box.mb\!!!!Inbox\ Inbox
folder Box.mb\Links\ Links
folder Box.mb\Quiet\ Quiet
write-file st/Box.mb/Quiet/Folder.ini "[Settings]\r\nName=Quiet\r\nIgnoreUnread=1\r\n"
write-file lumo.ini "[Settings]\r\nRetFolder=1\r\nRetSC-Path=Box.mb\Links\\r\n"
load

# The retrieved mail has three header fields and the blank line: id 2711_4.
retrieve Box.mb\!!!!Inbox\ <r1@x> 最初の便り
expect mails Box.mb\Links\ 1
expect file-contains st/Box.mb/Links/00000001.eml "X-LuMOID: 2711_4\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: OFF\r\nFrom: sender@example.com\r\nSubject:-> 最初の便り\r\nX-Message-ID: <r1@x>\r\nMessage-ID: <r1@2711_4.LuMO.x>\r\nContent-Type: text/plain; id=\"2711_4\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]"
expect file-contains lumo.idx "2711_4\x01Box.mb\!!!!Inbox\\x01?00000001\x01<r1@x>\x01Box.mb\Links\?00000001\r\n"
expect setting Lumo-Count 1
expect boxes 0

# Without the check the folder's mark does not matter.
retrieve Box.mb\Quiet\ <q1@x> Quiet
expect mails Box.mb\Links\ 2
expect header Box.mb\Links\?00000002 X-MailID Box.mb\Quiet\?00000001
unload

write-file lumo.ini "[Settings]\r\nRetFolder=1\r\nRetSC-Path=Box.mb\Links\\r\nCreSCMailCheck=1\r\nLumo-Count=2\r\n"
load
retrieve Box.mb\Quiet\ <q2@x> Ignored
expect mails Box.mb\Links\ 2
retrieve Box.mb\!!!!Inbox\ <r2@x> Second
expect mails Box.mb\Links\ 3
expect header Box.mb\Links\?00000003 X-LuMOID 2713_4
expect setting Lumo-Count 3
expect boxes 0

# No retrieval folder: nothing.
unload
write-file lumo.ini "[Settings]\r\nRetFolder=0\r\nRetSC-Path=Box.mb\Links\\r\n"
load
retrieve Box.mb\!!!!Inbox\ <r3@x> Third
expect mails Box.mb\Links\ 3
