# The plug-in's items in the mail-list (1) and folder-tree (2) menus, their
# states in usable and unusable folders, and the two folder commands that
# choose the creation folder and the folder for shortcuts of retrieved mails.
store st
write-file lumo.ini "[Settings]\r\nSetFolder=1\r\nRetFolder=1\r\n"
load
start
folder Sample.mb\!!!!Inbox\ Inbox
folder Sample.mb\!Trash\ Trash
folder Sample.mb\Work\ Work
mail Sample.mb\!!!!Inbox\ <plan@example.com> "Plan"
open-folder Sample.mb\!!!!Inbox\
open-mail @1

# An ordinary mail: "create" and "find" after "Select All" and a separator.
menu 1
expect menu 1 Open Reply Edit Delete "Select All" --- ショートカットの作成 参照先の検索 Properties
expect item 1 ショートカットの作成 enabled unchecked
expect item 1 参照先の検索 enabled unchecked
expect item 1 リンク先のメールを表示 absent
expect item 1 MEMOを削除 absent

# The folder tree: the retrieval folder first, then the creation folder.
menu 2
expect menu 2 "New Folder" Rename Properties --- 受信時作成先に設定 ショートカットの作成先に設定 "Empty Trash"
expect item 2 ショートカットの作成先に設定 enabled unchecked
expect item 2 受信時作成先に設定 enabled unchecked
# Other menus stay as the host made them.
expect menu 3 Compose

# Cancel chooses nothing.
open-folder Sample.mb\Work\
answer Cancel
choose 2 ショートカットの作成先に設定
expect box text ショートカット作成専用フォルダにしますか？
expect box title "Message from LuMO"
expect box buttons OKCancel
expect box icon none
expect box owner main
expect box style 270337
expect setting SetSC-Path ""
expect item 2 ショートカットの作成先に設定 unchecked

# OK stores the current folder; the item shows checked in every folder.
answer OK
choose 2 ショートカットの作成先に設定
expect boxes 2
expect setting SetSC-Path "Sample.mb\Work\"
expect setting RetSC-Path ""
expect item 2 ショートカットの作成先に設定 enabled checked
open-folder Sample.mb\!!!!Inbox\
expect item 2 ショートカットの作成先に設定 enabled checked
expect item 2 受信時作成先に設定 enabled unchecked
answer OK
choose 2 受信時作成先に設定
expect box text メール受信時のショートカット作成用フォルダにしますか？
expect box style 270337
expect setting RetSC-Path "Sample.mb\!!!!Inbox\"
expect setting SetSC-Path "Sample.mb\Work\"
expect item 2 受信時作成先に設定 enabled checked
expect boxes 3

# Where the plug-in does not act (a special folder other than the inbox, a
# mailbox alone) every item is disabled; the chosen folders stay checked.
open-folder Sample.mb\!Trash\
expect item 1 ショートカットの作成 disabled
expect item 1 参照先の検索 disabled
expect item 2 ショートカットの作成先に設定 disabled checked
expect item 2 受信時作成先に設定 disabled checked
open-folder Sample.mb\
expect item 1 ショートカットの作成 disabled
expect item 2 受信時作成先に設定 disabled checked

# With the options off the folder items are disabled, yet still checked.
unload
write-file lumo.ini "[Settings]\r\nSetSC-Path=Sample.mb\Work\\r\nRetSC-Path=Sample.mb\!!!!Inbox\\r\n"
load
open-folder Sample.mb\Work\
expect item 2 ショートカットの作成先に設定 disabled checked
expect item 2 受信時作成先に設定 disabled checked
expect item 1 ショートカットの作成 enabled
exit
