# The Lumo demo on the sample store: the plug-in is loaded by lumo-host
# (--plugin), shows its information record and its settings, starts with its
# window hooks, and then walks the road of one shortcut: made from the
# mail-list menu, opened, its target moved and found again, a MEMO added,
# jumps both ways by double-click, menu and a key set in the setup dialog,
# target and shortcut dragged to other folders, a second shortcut deleted
# with the host's Delete, and at exit the cleanup of the link index.
echo "== the sample mail store is made (each line: a mail stored)"
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

echo "== 1. The user opens the inbox and selects the mail 会議の件"
open-folder Sample.mb\!!!!Inbox\
open-mail @1
expect shown-contains "会議の件"
echo "   The mail list's menu now carries the plug-in's items:"
menu 1

echo "== 2. \"ショートカットの作成\": the plug-in asks, then waits for a destination"
answer OK
choose 1 ショートカットの作成
show new-boxes
expect box owner main
expect status "1通のメールショートカットが設定されています。"

echo "== 3. The user opens the folder ショートカット: asked once more, the shortcut is made"
answer OK OK
open-folder Sample.mb\Shortcuts\
expect mails Sample.mb\Shortcuts\ 1
show new-boxes
echo "   The shortcut mail's header carries the link: its shortcut id, the target's mail id, folder"
echo "   and Message-ID, the MEMO switch, and the target's subject behind the tag \"->\":"
show header Sample.mb\Shortcuts\?00000001 X-LuMOID X-MailID X-FolderID X-Message-ID X-MEMO Subject
expect header Sample.mb\Shortcuts\?00000001 X-MailID Sample.mb\!!!!Inbox\?00000001
expect header Sample.mb\Shortcuts\?00000001 X-FolderID Sample.mb\!!!!Inbox\
expect header Sample.mb\Shortcuts\?00000001 X-MEMO OFF
echo "   The link index beside the plug-in, one line per shortcut; ␁ marks the byte 0x01 between"
echo "   its fields: shortcut id, target folder, target mail (?key within that folder), target"
echo "   Message-ID, the shortcut mail's id:"
show file lumo.idx

echo "== 4. Opening the shortcut shows its target in its place"
open-mail Sample.mb\Shortcuts\?00000001
expect shown-contains "明日の会議は10時からです。"
expect host-command SetRead
echo "   The mail view shows the target mail (and the target is marked read):"
show shown

echo "== 5. The target is moved to the folder 仕事; the shortcut's link breaks"
open-folder Sample.mb\!!!!Inbox\
select Sample.mb\!!!!Inbox\?00000001
move Sample.mb\Work\
echo "   The host moved it without the plug-in; the shortcut still names the old place:"
show header Sample.mb\Shortcuts\?00000001 X-MailID

echo "== 6. Opening the shortcut again: the user agrees to a search, the link is repaired"
answer OK
open-mail Sample.mb\Shortcuts\?00000001
echo "   Not found in its folder, the plug-in asks before searching every mailbox:"
show new-boxes
expect box title Message-ID ERROR
expect shown-contains "明日の会議は10時からです。"
expect header Sample.mb\Shortcuts\?00000001 X-MailID Sample.mb\Work\?00000002
echo "   Found in 仕事: the shortcut's X-MailID is rewritten (X-FolderID keeps the first folder):"
show header Sample.mb\Shortcuts\?00000001 X-MailID X-FolderID
echo "   The link index now records the target's new place:"
show file lumo.idx
open-mail Sample.mb\Shortcuts\?00000001
expect shown-contains "明日の会議は10時からです。"
echo "   Opened once more: found at once, no question."

echo "== 7. \"MEMOを追加\": a note typed in the MEMO dialog rides along as MEMO.txt"
dialog text 1004 "会議室は3階です。"
dialog ok
choose 1 MEMOを追加
expect shown-contains "MEMO.txt"
expect shown-contains "会議室は3階です。"
echo "   The mail view shows the target with the note as a part of its own, MEMO.txt:"
show shown

echo "== 8. A double-click on the shortcut jumps to its target; 参照先の検索 finds the way back"
open-mail Sample.mb\Shortcuts\?00000001
dblclick
expect mail Sample.mb\Work\?00000002
echo "   The host now shows the target in 仕事:"
show state
choose 1 参照先の検索
expect mail Sample.mb\Shortcuts\?00000001
echo "   参照先の検索 on the target: the host shows its shortcut again:"
show state

echo "== 9. In the setup dialog the user gives the jump to a target the key Ctrl+J"
dialog select 1018 3
dialog hotkey 1015 0x024A
dialog ok
setup
expect setting SCMLinkJumpKey 586
key 0x4A 0x20
expect result 1
expect mail Sample.mb\Work\?00000002
echo "   Ctrl+J on the shortcut: the target is on view."

echo "== 10. The target is dragged back to the inbox: its shortcut follows at once"
drop Sample.mb\!!!!Inbox\ 2 Sample.mb\Work\?00000002
expect header Sample.mb\Shortcuts\?00000001 X-FolderID Sample.mb\!!!!Inbox\
echo "   The shortcut's X-FolderID names the target's new folder (the host gives the mail its key"
echo "   there only after the drop):"
show header Sample.mb\Shortcuts\?00000001 X-MailID X-FolderID
open-mail Sample.mb\Shortcuts\?00000001
expect shown-contains "明日の会議は10時からです。"
expect boxes 4
echo "   Opened: the target is found in that folder without a question (no new message box),"
echo "   and the link index records its key there:"
show new-boxes
show file lumo.idx

echo "== 11. The shortcut is dragged into プロジェクト: the link index records its folder"
drop Sample.mb\Work\Projects\ 2 Sample.mb\Shortcuts\?00000001
echo "   The last field now names the shortcut's folder; the cleanup at exit finds its key there:"
show file lumo.idx

echo "== 12. A shortcut of お知らせ is made, then deleted with the host's Delete: its link goes too"
open-folder Sample.mb\!!!!Inbox\
select Sample.mb\!!!!Inbox\?00000003
answer OK
choose 1 ショートカットの作成
answer OK OK
open-folder Sample.mb\Shortcuts\
echo "   Made (the same two questions and notice as in steps 2 and 3): the link index has two lines:"
show file lumo.idx
open-folder Sample.mb\Shortcuts\
select Sample.mb\Shortcuts\?00000001
post 32836
expect status "1のメールショートカット情報を削除しました。"
expect file-lacks lumo.idx "2712_7"
echo "   Deleted: its line 2712_7 is gone:"
show file lumo.idx

echo "== exit: hooks removed; the cleanup writes the moved shortcut's whole mail id"
exit
expect hooks "0 0"
expect file lumo.idx "2711_7\x01Sample.mb\!!!!Inbox\\x01?00000004\x01<20261208070001.a1@example.com>\x01Sample.mb\Work\Projects\?00000002\r\n"
show file lumo.idx
echo "== done"
