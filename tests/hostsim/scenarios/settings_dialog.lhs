# The setup dialog driven through its controls: it shows the stored settings
# and the chosen folder's name, refuses Ctrl+Alt, tells about the options
# that need a folder, keeps each hotkey slot's key while another is edited,
# and OK writes the fourteen keys in place, byte for byte; Cancel writes
# nothing.
folder Box.mb\ "Box"
folder Box.mb\Work\ "Work"
write-bytes lumo.ini "[Settings]\r\nSubCh=0\r\nSc-Tag=[SC]\r\nSetSC-Path=Box.mb\Work\\r\nLumo-Count=5\r\nSCMLinkJumpKey=585\r\n"
load

dialog expect-text 1004 [SC]
dialog expect-text 1009 Work
dialog expect-text 1010 現在、作成先フォルダは設定されていません。
dialog expect-check 1001 0
dialog expect-check 1002 1
dialog expect-check 1003 1
dialog expect-check 1008 0
dialog expect-items 1018 0 1 2 3 4 5
dialog expect-hotkey 1015 0
# Slot 0 gets Ctrl+Alt+K: refused and cleared; then Ctrl+Shift+M.
dialog select 1018 0
dialog hotkey 1015 0x064B
dialog expect-hotkey 1015 0
dialog hotkey 1015 0x034D
# Slot 3 shows its stored key and gets Alt+J; slot 0 still holds its key.
dialog select 1018 3
dialog expect-hotkey 1015 585
dialog hotkey 1015 0x044A
dialog select 1018 0
dialog expect-hotkey 1015 0x034D
dialog select 1018 3
# Options, two of them with a notice.
dialog check 1001 1
dialog check 1002 0
dialog check 1007 1
dialog check 1011 1
dialog text 1004 "=>"
dialog ok
answer OK OK OK
setup
expect boxes 3
expect box text 受信時作成フォルダの設定は、B2のツリーフォルダから行ってください。
expect box icon information
expect box owner window
expect queues-empty
expect file lumo.ini "[Settings]\r\nSubCh=1\r\nSc-Tag==>\r\nSetSC-Path=Box.mb\Work\\r\nLumo-Count=5\r\nSCMLinkJumpKey=1098\r\nCreSCMailCheck=0\r\nToDel=0\r\nRealMail=1\r\nMsgSt=1\r\nSetFolder=0\r\nRetFolder=1\r\nSCMMakeKey=845\r\nSCMFolderKey=0\r\nSCFindKey=0\r\nSCMEMOEditKey=0\r\nSCMailALLKey=0\r\n"

# Cancel after edits: the file stays as it is.
dialog expect-text 1004 =>
dialog expect-check 1007 1
dialog check 1007 0
dialog select 1018 0
dialog expect-hotkey 1015 845
dialog hotkey 1015 0x0241
dialog text 1004 ""
dialog cancel
setup
expect boxes 3
expect queues-empty
expect file lumo.ini "[Settings]\r\nSubCh=1\r\nSc-Tag==>\r\nSetSC-Path=Box.mb\Work\\r\nLumo-Count=5\r\nSCMLinkJumpKey=1098\r\nCreSCMailCheck=0\r\nToDel=0\r\nRealMail=1\r\nMsgSt=1\r\nSetFolder=0\r\nRetFolder=1\r\nSCMMakeKey=845\r\nSCMFolderKey=0\r\nSCFindKey=0\r\nSCMEMOEditKey=0\r\nSCMailALLKey=0\r\n"

# An emptied tag is stored as the default.
dialog text 1004 ""
dialog ok
setup
expect file-contains lumo.ini "Sc-Tag=->\r\n"
expect setting Sc-Tag "->"
