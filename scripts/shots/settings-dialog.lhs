# The setup dialog for docs/images/settings-dialog.png: the sample store, both
# folders chosen, most options ticked, two hotkeys set and the first hotkey
# slot selected.
include ../../samples/sample-store.lhs
write-file lumo.ini "[Settings]\r\nCreSCMailCheck=1\r\nSubCh=1\r\nSc-Tag=[SC]\r\nToDel=1\r\nRealMail=1\r\nMsgSt=0\r\nSetFolder=1\r\nSetSC-Path=Sample.mb\Shortcuts\\r\nRetFolder=1\r\nRetSC-Path=Sample.mb\Work\\r\nSCMMakeKey=845\r\nSCMLinkJumpKey=585\r\n"
load
dialog select 1018 0
dialog expect-hotkey 1015 845
dialog capture settings-dialog.bmp
dialog cancel
setup
expect queues-empty
