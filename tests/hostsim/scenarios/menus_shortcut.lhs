# The road of a shortcut through the mail-list menu: made with
# "ショートカットの作成", its own items once it is on view, the jump to its
# target and back with "参照先の検索", a MEMO added and deleted, and a
# creation pending over a shortcut, cancelled from the menu again.
store st
folder Box.mb\!!!!Inbox\ Inbox
folder Box.mb\Links\ Links
mail Box.mb\!!!!Inbox\ <t1@example.com> "Target" "Hello from the target."
mail Box.mb\!!!!Inbox\ <o1@example.com> "Other" "Another mail."
load
start
open-folder Box.mb\!!!!Inbox\
open-mail @1

# The command asks (owned by the host's window) and takes the selection.
answer OK
choose 1 ショートカットの作成
expect box owner main
expect box buttons OKCancel
# While the creation waits: "create" checked (choosing it offers to cancel),
# everything else that acts on mails or folders off.
expect menu 1 Open Reply Edit Delete "Select All" --- ショートカットの作成 参照先の検索 Properties
expect item 1 ショートカットの作成 enabled checked
expect item 1 参照先の検索 disabled
expect item 2 ショートカットの作成先に設定 disabled
expect item 2 受信時作成先に設定 disabled
# Opening the destination asks again, then tells of the shortcut made.
answer OK OK
open-folder Box.mb\Links\
expect mails Box.mb\Links\ 1
expect item 1 ショートカットの作成 enabled unchecked

# The shortcut on view: jump, the MEMO item and "delete MEMO" take the place
# of "create" and "find".
open-mail Box.mb\Links\?00000001
expect menu 1 Open Reply Edit Delete "Select All" --- リンク先のメールを表示 MEMOを追加 MEMOを削除 Properties
expect item 1 リンク先のメールを表示 enabled
expect item 1 MEMOを追加 enabled
expect item 1 MEMOを削除 disabled
choose 1 リンク先のメールを表示
expect status リンク先のメールにジャンプします。
expect mail Box.mb\!!!!Inbox\?00000001
expect item 1 参照先の検索 enabled
choose 1 参照先の検索
expect mail Box.mb\Links\?00000001
expect boxes 3

# A MEMO added from the menu turns the item into "edit" and allows deleting.
dialog text 1004 "Call Sato-san."
dialog ok
choose 1 MEMOを追加
expect shown-contains "Call Sato-san."
expect menu 1 Open Reply Edit Delete "Select All" --- リンク先のメールを表示 MEMOを編集 MEMOを削除 Properties
expect item 1 MEMOを削除 enabled
expect item 1 MEMOを編集 enabled

# A creation started from another mail stays pending over the shortcut: its
# item comes first and only "delete MEMO" stays usable beside it.
open-mail Box.mb\!!!!Inbox\?00000002
answer OK
choose 1 ショートカットの作成
open-mail Box.mb\Links\?00000001
expect menu 1 Open Reply Edit Delete "Select All" --- ショートカットの作成 リンク先のメールを表示 MEMOを編集 MEMOを削除 Properties
expect item 1 ショートカットの作成 enabled checked
expect item 1 リンク先のメールを表示 disabled
expect item 1 MEMOを編集 disabled
expect item 1 MEMOを削除 enabled
answer OK
choose 1 MEMOを削除
expect shown-lacks "Call Sato-san."
expect item 1 MEMOを削除 disabled
expect menu 1 Open Reply Edit Delete "Select All" --- ショートカットの作成 リンク先のメールを表示 MEMOを追加 MEMOを削除 Properties
# Choosing "create" again cancels the creation.
answer OK
choose 1 ショートカットの作成
expect status ショートカットの作成をキャンセルしました。
expect menu 1 Open Reply Edit Delete "Select All" --- リンク先のメールを表示 MEMOを追加 MEMOを削除 Properties
expect item 1 リンク先のメールを表示 enabled
exit
