# Every change of a MEMO note through the mail-list menu and the MEMO
# dialog (template 102 of the plug-in's resources under Wine), with the exact
# stored shortcut and the exact text shown: added, edited, kept by an empty
# editor and by Cancel, hidden, shown again, deleted; both message boxes.
include open_shortcut_store.lhs
open-mail Box.mb\Links\?00000001
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n"

# Added: the marker and the note follow the shortcut's body; "X-MEMO" is on.
dialog expect-text 1004 ""
dialog text 1004 "会議の件:\r\nCall Sato-san."
dialog ok
choose 1 MEMOを追加
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: ON\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]\r\n[MEMO]\r\n会議の件:\r\nCall Sato-san."
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n\r\nThis is a multi-part message in MIME format.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\nContent-Transfer-Encoding:7bit\r\nContent-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\n会議の件:\r\nCall Sato-san.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n"

# Edited: the dialog shows the note; the new text replaces it.
dialog expect-text 1004 "会議の件:\r\nCall Sato-san."
dialog text 1004 "Plan moved to Friday."
dialog ok
choose 1 MEMOを編集
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: ON\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]\r\n[MEMO]\r\nPlan moved to Friday."
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n\r\nThis is a multi-part message in MIME format.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\nContent-Transfer-Encoding:7bit\r\nContent-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\nPlan moved to Friday.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n"

# An emptied editor and Cancel change nothing.
dialog text 1004 ""
dialog ok
choose 1 MEMOを編集
dialog text 1004 "Not this."
dialog cancel
choose 1 MEMOを編集
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: ON\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]\r\n[MEMO]\r\nPlan moved to Friday."
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n\r\nThis is a multi-part message in MIME format.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\nContent-Transfer-Encoding:7bit\r\nContent-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\nPlan moved to Friday.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n"

# Hidden: Cancel to the delete question keeps the note, "X-MEMO" goes off.
answer Cancel
choose 1 MEMOを削除
expect box title Message from LuMO
expect box text "メールのMEMOを完全に削除しますか？\n(非表示にするだけの場合は、「キャンセル」)"
expect box buttons OKCancel
expect box icon exclamation
expect box owner main
expect box style 270385
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: OFF\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]\r\n[MEMO]\r\nPlan moved to Friday."
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n"

# Shown again: the dialog finds the hidden note.
dialog expect-text 1004 "Plan moved to Friday."
dialog ok
choose 1 MEMOを追加
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: ON\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]\r\n[MEMO]\r\nPlan moved to Friday."
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n\r\nThis is a multi-part message in MIME format.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\nContent-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\nContent-Transfer-Encoding:7bit\r\nContent-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\nPlan moved to Friday.\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n"

# Deleted: the shortcut is as it was made.
answer OK
choose 1 MEMOを削除
expect source Box.mb\Links\?00000001 "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: OFF\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [リンク先が不明です。]"
expect shown "From: sender@example.com\r\nTo: user@example.com\r\nSubject: Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <t1@example.com>\r\nContent-Type: text/plain; charset=\"Shift_JIS\"\r\n\r\nHello from the target.\r\n"

# A shortcut whose source has no empty line cannot lose its note.
write-bytes broken.eml "X-LuMOID: 2711_9\r\nX-MEMO: ON\r\n[MEMO]\r\nnote"
mail-file Box.mb\Links\ broken.eml
open-mail Box.mb\Links\?00000002
answer OK OK
choose 1 MEMOを削除
expect box title Message from LuMO
expect box text 削除に失敗しました！！
expect box buttons OK
expect box icon stop
expect box owner main
expect box style 270352
expect source Box.mb\Links\?00000002 "X-LuMOID: 2711_9\r\nX-MEMO: ON\r\n[MEMO]\r\nnote"
exit
