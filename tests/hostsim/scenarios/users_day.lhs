# A user's day with shortcuts: made three ways, jumped along both ways, a
# MEMO written, mails dragged about, some deleted, the settings changed, and
# at the end of the day B2 closed, which tidies the link index.

# The morning: a mailbox with an inbox, a trash folder, a folder for
# shortcuts and two work folders; yesterday's link index still names a
# shortcut that was deleted outside B2.
folder Box.mb\ "Box"
folder Box.mb\!!!!Inbox\ "Inbox"
folder Box.mb\!Trash\ "Trash"
folder Box.mb\Links\ "Links"
folder Box.mb\Work\ "Work"
folder Box.mb\Archive\ "Archive"
mail Box.mb\!!!!Inbox\ <plan@example.com> "会議の件" "明日の会議は10時からです。"
mail Box.mb\!!!!Inbox\ <report@example.com> "Quarterly report" "Attached is the report."
mail Box.mb\Work\ <quote@example.com> "見積書の送付" "見積書をお送りします。"
write-bytes lumo.idx "2700_7\x01Box.mb\!!!!Inbox\\x01?00000002\x01<report@example.com>\x01Box.mb\Links\?00000009\r\n"
load
start

# A shortcut from the menu: the user picks the meeting mail, chooses
# "create", agrees, then opens the folder Links and agrees again.
open-folder Box.mb\!!!!Inbox\
open-mail @1
expect item 1 ショートカットの作成 enabled unchecked
answer OK
choose 1 ショートカットの作成
expect box text "選択メールのショートカットを作成しますか？\n作成する場合は、OKボタンを押後作成するフォルダを選択してください。"
expect status "1通のメールショートカットが設定されています。"
expect item 1 ショートカットの作成 enabled checked
answer OK OK
open-folder Box.mb\Links\
expect box text "ショートカットを作成しました。"
expect boxes 3
expect mails Box.mb\Links\ 1
expect header Box.mb\Links\?00000001 X-MailID Box.mb\!!!!Inbox\?00000001
expect file-contains lumo.idx "2711_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<plan@example.com>\x01Box.mb\Links\?00000001\r\n"

# The settings: Ctrl+Shift+M collects the selected mails, Ctrl+Shift+F makes
# their shortcuts in the folder on view, and retrieved mails get shortcuts
# (until then the folder item for them is off).
expect item 2 受信時作成先に設定 disabled unchecked
dialog select 1018 0
dialog hotkey 1015 0x034D
dialog select 1018 1
dialog hotkey 1015 0x0346
dialog check 1011 1
dialog ok
answer OK
setup
expect box text 受信時作成フォルダの設定は、B2のツリーフォルダから行ってください。
expect boxes 4
expect setting SCMMakeKey 845
expect setting SCMFolderKey 838
expect setting RetFolder 1

# A shortcut by hotkeys: no question for the selection; the user declines
# the folder question on opening Links, then makes it there with the key.
open-folder Box.mb\Work\
select @1
key 0x4D 0x60
expect result 1
expect boxes 4
expect status "1通のメールショートカットが設定されています。"
answer Cancel
open-folder Box.mb\Links\
expect box text "選択したフォルダに「見積書の送付」のショートカットを作成します。"
expect mails Box.mb\Links\ 1
key 0x46 0x60
expect result 1
expect boxes 5
expect mails Box.mb\Links\ 2
expect mail Box.mb\Work\?00000001
expect file-contains lumo.idx "2712_7\x01Box.mb\Work\\x01?00000001\x01<quote@example.com>\x01Box.mb\Links\?00000002\r\n"

# A shortcut on retrieval: Links becomes the folder for retrieved mails'
# shortcuts, and a new mail arrives.
open-folder Box.mb\Links\
expect item 2 受信時作成先に設定 enabled unchecked
answer OK
choose 2 受信時作成先に設定
expect box text メール受信時のショートカット作成用フォルダにしますか？
expect setting RetSC-Path "Box.mb\Links\"
expect item 2 受信時作成先に設定 enabled checked
retrieve Box.mb\!!!!Inbox\ <news@example.com> "お知らせ"
expect boxes 6
expect mails Box.mb\Links\ 3
expect header Box.mb\Links\?00000003 X-MailID Box.mb\!!!!Inbox\?00000003
expect file-contains lumo.idx "2713_4\x01Box.mb\!!!!Inbox\\x01?00000003\x01<news@example.com>\x01Box.mb\Links\?00000003\r\n"
expect setting Lumo-Count 3

# Jumping by double-click: from the meeting shortcut to its mail and back
# (the second click of each pair changes nothing).
open-mail Box.mb\Links\?00000001
expect shown-contains "明日の会議は10時からです。"
expect menu 1 Open Reply Edit Delete "Select All" --- リンク先のメールを表示 MEMOを追加 MEMOを削除 Properties
dblclick
expect mail Box.mb\!!!!Inbox\?00000001
expect folder Box.mb\!!!!Inbox\
dblclick
expect mail Box.mb\!!!!Inbox\?00000001
dblclick
expect mail Box.mb\Links\?00000001
dblclick
expect mail Box.mb\Links\?00000001

# Jumping by the menu: from the quote shortcut to its mail and back.
open-mail Box.mb\Links\?00000002
choose 1 リンク先のメールを表示
expect status リンク先のメールにジャンプします。
expect mail Box.mb\Work\?00000001
expect item 1 参照先の検索 enabled
choose 1 参照先の検索
expect status 選択中のメールのショートカットを検索します。
expect mail Box.mb\Links\?00000002
expect boxes 6

# A MEMO on the meeting shortcut, shown beside the mail when opened again.
open-mail Box.mb\Links\?00000001
dialog expect-text 1004 ""
dialog text 1004 "会議室は3階です。"
dialog ok
choose 1 MEMOを追加
expect item 1 MEMOを編集 enabled
expect item 1 MEMOを削除 enabled
open-mail Box.mb\!!!!Inbox\?00000002
open-mail Box.mb\Links\?00000001
expect boxes 6
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: 会議の件\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <plan@example.com>\r\nContent-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n\r\nThis is a multi-part message in MIME format.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\n明日の会議は10時からです。\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\nContent-Transfer-Encoding:7bit\r\nContent-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\n会議室は3階です。\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n"
expect header Box.mb\Links\?00000001 X-MEMO ON

# Dragging: the quote mail goes to Archive; its shortcut learns the folder.
drop Box.mb\Archive\ 2 Box.mb\Work\?00000001
expect mails Box.mb\Archive\ 1
expect header Box.mb\Links\?00000002 X-FolderID Box.mb\Archive\
expect file-contains lumo.idx "2712_7\x01Box.mb\Archive\\x01Box.mb\Work\?00000001\x01<quote@example.com>\x01Box.mb\Links\?00000002\r\n"
# The meeting shortcut goes to Work; its line names that folder.
drop Box.mb\Work\ 2 Box.mb\Links\?00000001
expect mails Box.mb\Links\ 2
expect file-contains lumo.idx "2711_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<plan@example.com>\x01Box.mb\Work\\r\n"

# Both open without a question, and their lines record where they are now.
open-mail Box.mb\Links\?00000002
expect boxes 6
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: 見積書の送付\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <quote@example.com>\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\n見積書をお送りします。\r\n"
expect header Box.mb\Links\?00000002 X-MailID Box.mb\Archive\?00000001
expect file-contains lumo.idx "2712_7\x01Box.mb\Archive\\x01?00000001\x01<quote@example.com>\x01Box.mb\Links\?00000002\r\n"
open-mail Box.mb\Work\?00000001
expect boxes 6
expect shown-contains "明日の会議は10時からです。"
expect shown-contains "会議室は3階です。"
expect file-contains lumo.idx "2711_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<plan@example.com>\x01Box.mb\Work\?00000001\r\n"

# Deleting the news shortcut from the list: its line goes with it.
open-folder Box.mb\Links\
select Box.mb\Links\?00000003
post 32836
expect status "1のメールショートカット情報を削除しました。"
expect mails Box.mb\Links\ 1
expect mails Box.mb\!Trash\ 1
expect file-lacks lumo.idx "2713_4"
# Deleting the meeting mail itself: its shortcut stays, and so does its line.
open-folder Box.mb\!!!!Inbox\
select @1
post 32836
expect status "1のメールショートカット情報を削除しました。"
expect mails Box.mb\!Trash\ 2
expect file-contains lumo.idx "2711_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<plan@example.com>\x01Box.mb\Work\?00000001\r\n"
expect boxes 6
# Its shortcut now finds a broken link: the user declines the repair and
# keeps the shortcut.
answer Cancel Cancel
open-mail Box.mb\Work\?00000001
expect boxes 8
expect box title "Message From LuMO"
expect box text ショートカットを削除しますか？
expect shown-lacks "明日の会議は10時からです。"
expect mails Box.mb\Work\ 1
expect header Box.mb\Work\?00000001 X-MailID Box.mb\!!!!Inbox\?00000001

# The settings again: Ctrl+J jumps to a shortcut's mail, and no more
# questions when shortcuts are made.
dialog expect-check 1011 1
dialog expect-check 1007 0
dialog select 1018 3
dialog expect-hotkey 1015 0
dialog hotkey 1015 0x024A
dialog select 1018 0
dialog expect-hotkey 1015 0x034D
dialog check 1007 1
dialog ok
answer OK
setup
expect boxes 9
expect box text このオプションをONにしますと、作成開始確認、作成終了確認が表示されなくなります。
expect queues-empty
expect file lumo.ini "[Settings]\r\nLumo-Count=3\r\nSc-Tag=->\r\nCreSCMailCheck=0\r\nSubCh=1\r\nToDel=1\r\nRealMail=1\r\nMsgSt=1\r\nSetFolder=0\r\nRetFolder=1\r\nSCMMakeKey=845\r\nSCMFolderKey=838\r\nSCFindKey=0\r\nSCMLinkJumpKey=586\r\nSCMEMOEditKey=0\r\nSCMailALLKey=0\r\nRetSC-Path=Box.mb\Links\\r\n"
# Ctrl+J on the quote shortcut.
open-mail Box.mb\Links\?00000002
key 0x4A 0x20
expect result 1
expect mail Box.mb\Archive\?00000001

# The end of the day: B2 closes; the link index keeps the live links only.
# Yesterday's stale line is still there until then.
expect file-contains lumo.idx "2700_7\x01Box.mb\!!!!Inbox\\x01?00000002\x01<report@example.com>\x01Box.mb\Links\?00000009\r\n"
exit
expect hooks "0 0"
expect file lumo.idx "2711_7\x01Box.mb\!!!!Inbox\\x01?00000001\x01<plan@example.com>\x01Box.mb\Work\?00000001\r\n2712_7\x01Box.mb\Archive\\x01?00000001\x01<quote@example.com>\x01Box.mb\Links\?00000002\r\n"
expect file lumo.ini "[Settings]\r\nLumo-Count=3\r\nSc-Tag=->\r\nCreSCMailCheck=0\r\nSubCh=1\r\nToDel=1\r\nRealMail=1\r\nMsgSt=1\r\nSetFolder=0\r\nRetFolder=1\r\nSCMMakeKey=845\r\nSCMFolderKey=838\r\nSCFindKey=0\r\nSCMLinkJumpKey=586\r\nSCMEMOEditKey=0\r\nSCMailALLKey=0\r\nRetSC-Path=Box.mb\Links\\r\nLumo-CleanInt=201\r\n"
