# The Lumo demo on the sample store: the plug-in is loaded by lumo-host
# (--plugin), shows its information record and its settings, starts with its
# window hooks, and then walks the road of one shortcut: made for a mail in
# another folder, opened to show its target, repaired after the target moved,
# and given a MEMO note.
include sample-store.lhs
echo "== mail store"
show store
echo "== plug-in information (BKC_OnPlugInInfo)"
info
expect result 0
echo "== settings"
settings
echo "== start: the plug-in hooks the main window and the mail list"
start
expect hooks "1 2"
echo "== the user opens the inbox and its first mail"
open-folder Sample.mb\!!!!Inbox\
open-mail @1
show state
expect shown-contains "会議の件"
echo "== the mail list's menu (type 1) and the folder tree's menu (type 2)"
menu 1
menu 2

echo ""
echo "== The road of one shortcut"
echo "-- 1. With the mail 会議の件 selected, the user chooses ショートカットの作成 in the"
echo "      mail list's menu and confirms; the plug-in waits for the destination folder."
answer OK
choose 1 ショートカットの作成
show status
echo "-- 2. The user opens the folder ショートカット and confirms again: the plug-in"
echo "      stores a shortcut mail there and records its link in lumo.idx. The shortcut"
echo "      carries the target's ids in its own X- headers:"
answer OK OK
open-folder Sample.mb\Shortcuts\
expect mails Sample.mb\Shortcuts\ 1
show source Sample.mb\Shortcuts\?00000001
echo "-- 3. The user opens the shortcut: the host shows the target mail in its place."
open-mail Sample.mb\Shortcuts\?00000001
expect shown-contains "明日の会議は10時からです。"
show shown
echo "-- 4. The target is moved from the inbox to the folder 仕事."
open-folder Sample.mb\!!!!Inbox\
select Sample.mb\!!!!Inbox\?00000001
move Sample.mb\Work\
echo "-- 5. The user opens the shortcut again. The target is gone from where the link"
echo "      says; the plug-in asks to repair the link, searches every folder for the"
echo "      target's Message-ID, finds it in 仕事 and shows it. The shortcut's X-MailID"
echo "      and its line in lumo.idx now name the new place:"
answer OK
open-mail Sample.mb\Shortcuts\?00000001
expect box text 元メールのリンクが切れてしまったようです。自動修復しますか？
expect header Sample.mb\Shortcuts\?00000001 X-MailID Sample.mb\Work\?00000002
expect shown-contains "明日の会議は10時からです。"
show source Sample.mb\Shortcuts\?00000001
echo "-- 6. The user chooses MEMOを追加, types a note in the MEMO dialog and presses OK:"
echo "      the note is kept in the shortcut, and the target is shown with an extra"
echo "      MEMO.txt part holding it."
dialog text 1004 "議事録は佐藤さんが作成。"
dialog ok
choose 1 MEMOを追加
expect shown-contains "Content-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\n議事録は佐藤さんが作成。\r\n"
show shown
echo "-- The questions the user answered on the way:"
show boxes

echo ""
echo "== exit: hooks removed"
exit
expect hooks "0 0"
echo "== done"
