# The command "ショートカットの作成" for the selected mails: the start question
# (owned by the command's window), the pending selection, the source folder
# passed over, the folder question and the notice (owned by no window), the
# status texts; cancelling; no mail selected; then "MsgSt" and the fixed
# creation folder. Every box: title "Message from LuMO", task-modal and
# topmost (style 0x42001 = 270337 for a question, 0x42040 = 270400 for a
# notice with the information icon).
store st
folder Box.mb\!!!!Inbox\ Inbox
folder Box.mb\Links\ Links
folder Box.mb\Fixed\ Fixed
mail Box.mb\!!!!Inbox\ <m1@example.com> 会議の件
mail Box.mb\!!!!Inbox\ <m2@example.com> 二通目
mail Box.mb\!!!!Inbox\ <m3@example.com> 三通目
load
start
open-folder Box.mb\!!!!Inbox\

# One mail: asked, then pending.
select @1
answer OK
choose 1 ショートカットの作成
expect box title Message from LuMO
expect box text "選択メールのショートカットを作成しますか？\n作成する場合は、OKボタンを押後作成するフォルダを選択してください。"
expect box buttons OKCancel
expect box icon none
expect box owner main
expect box style 270337
expect status "1通のメールショートカットが設定されています。"
# The folder it came from is passed over; another folder asks.
open-folder Box.mb\!!!!Inbox\
expect boxes 1
answer Cancel
open-folder Box.mb\Links\
expect box text "選択したフォルダに「会議の件」のショートカットを作成します。"
expect box owner none
expect box style 270337
expect mails Box.mb\Links\ 0
answer OK OK
open-folder Box.mb\Links\
expect box text "ショートカットを作成しました。"
expect box icon information
expect box owner none
expect box style 270400
expect mails Box.mb\Links\ 1
expect mail Box.mb\!!!!Inbox\?00000001
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_7\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: OFF\r\nFrom: sender@example.com\r\nSubject:-> 会議の件\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <m1@example.com>\r\nMessage-ID: <m1@2711_7.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_7\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]"
expect file-contains lumo.idx "2711_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<m1@example.com>\x01Box.mb\Links\?00000001\r\n"
expect setting Lumo-Count 1

# Three mails: all made, in list order, the first selected again.
open-folder Box.mb\!!!!Inbox\
select @3 @1 @2
answer OK
choose 1 ショートカットの作成
expect status "3通のメールショートカットが設定されています。"
answer OK OK
open-folder Box.mb\Links\
expect box text "ショートカットを作成しました。"
expect mails Box.mb\Links\ 4
expect header Box.mb\Links\?00000002 X-MailID Box.mb\!!!!Inbox\?00000001
expect header Box.mb\Links\?00000003 X-MailID Box.mb\!!!!Inbox\?00000002
expect header Box.mb\Links\?00000004 X-MailID Box.mb\!!!!Inbox\?00000003
expect header Box.mb\Links\?00000004 X-LuMOID 2714_7
expect mail Box.mb\!!!!Inbox\?00000001
expect setting Lumo-Count 4

# The command while pending offers to cancel, owned by the command's window.
open-folder Box.mb\!!!!Inbox\
select @2
answer OK
choose 1 ショートカットの作成
answer Cancel
choose 1 ショートカットの作成
expect box text "ショートカットの作成をキャンセルしますか?。"
expect box owner main
expect box style 270337
answer OK
choose 1 ショートカットの作成
expect status "ショートカットの作成をキャンセルしました。"
open-folder Box.mb\Links\
expect box text "ショートカットの作成をキャンセルしますか?。"
expect mails Box.mb\Links\ 4

# Nothing selected.
open-folder Box.mb\!!!!Inbox\
answer OK OK
choose 1 ショートカットの作成
expect box text "ショートカットを作成したいメールを選択してください。"
expect box icon information
expect box owner none
expect box style 270400
expect status "0通のメールショートカットが設定されています。"
unload

# MsgSt: no start question and no success notice; the folder question stays.
write-file lumo.ini "[Settings]\r\nMsgSt=1\r\nLumo-Count=4\r\n"
load
open-folder Box.mb\!!!!Inbox\
select @2
choose 1 ショートカットの作成
expect boxes 12
expect status "1通のメールショートカットが設定されています。"
answer OK
open-folder Box.mb\Links\
expect boxes 13
expect box text "選択したフォルダに「二通目」のショートカットを作成します。"
expect mails Box.mb\Links\ 5
unload

# The fixed creation folder: made at once, nothing left pending.
write-file lumo.ini "[Settings]\r\nSetFolder=1\r\nSetSC-Path=Box.mb\Fixed\\r\nLumo-Count=5\r\n"
load
open-folder Box.mb\!!!!Inbox\
select @1 @3
answer OK
choose 1 ショートカットの作成
expect mails Box.mb\Fixed\ 2
expect status "2通のメールショートカットが設定されています。"
expect header Box.mb\Fixed\?00000002 X-LuMOID 2717_7
open-folder Box.mb\Links\
expect boxes 14
# A fixed folder the host does not know: each failure is told, none counted.
unload
write-file lumo.ini "[Settings]\r\nSetFolder=1\r\nSetSC-Path=Box.mb\Gone\\r\nLumo-Count=7\r\n"
load
open-folder Box.mb\!!!!Inbox\
select @1
answer OK OK
choose 1 ショートカットの作成
expect box text "ショートカットの作成に失敗しました。"
expect box icon information
expect box owner none
expect status "0通のメールショートカットが設定されています。"
unload

# A fixed folder without its path waits like no fixed folder.
write-file lumo.ini "[Settings]\r\nSetFolder=1\r\nLumo-Count=7\r\n"
load
open-folder Box.mb\!!!!Inbox\
select @1
answer OK
choose 1 ショートカットの作成
answer OK OK
open-folder Box.mb\Fixed\
expect box text "ショートカットを作成しました。"
expect mails Box.mb\Fixed\ 3
