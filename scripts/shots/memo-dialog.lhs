# The MEMO dialog for docs/images/memo-dialog.png: a shortcut made from the
# mail-list menu on the sample store, then "MEMOを追加" with a note of a
# Japanese and an English line.
include ../../samples/sample-store.lhs
load
start
open-folder Sample.mb\!!!!Inbox\
open-mail @1
answer OK
choose 1 ショートカットの作成
answer OK OK
open-folder Sample.mb\Shortcuts\
open-mail Sample.mb\Shortcuts\?00000001
dialog text 1004 "会議室は3階です。\r\nBring the quarterly report."
dialog capture memo-dialog.bmp
dialog cancel
choose 1 MEMOを追加
expect queues-empty
exit
