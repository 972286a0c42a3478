# The Lumo demo on the sample store: the plug-in is loaded by lumo-host
# (--plugin), shows its information record and its settings, starts with its
# window hooks, and sees the user open a folder and a mail.
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
echo "== exit: hooks removed"
exit
expect hooks "0 0"
echo "== done"
