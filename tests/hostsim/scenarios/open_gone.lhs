# A shortcut whose target is gone: the repair is declined or finds nothing,
# the shortcut is given up into the trash folder, left alone there, and
# restored with its link index line when opened again elsewhere.
include open_shortcut_store.lhs
open-folder Box.mb\!!!!Inbox\
select Box.mb\!!!!Inbox\?00000001
move Box.mb\!Trash\
open-folder Box.mb\!Trash\
select Box.mb\!Trash\?00000001
post 32836
expect mails Box.mb\!Trash\ 0

# The user declines the repair, then keeps the shortcut.
answer Cancel Cancel
open-mail Box.mb\Links\?00000001
expect boxes 2
expect box title Message From LuMO
expect box text ショートカットを削除しますか？
expect box style 270337
expect mails Box.mb\Links\ 1
expect header Box.mb\Links\?00000001 X-LuMOID 2711_8

# The search finds nothing; the user deletes the shortcut.
answer OK OK
open-mail Box.mb\Links\?00000001
expect boxes 4
expect box title Message From LuMO
expect box text 元リンクを探すことができませんでした。ショートカットを削除しますか？
expect box owner none
expect mails Box.mb\Links\ 0
expect mails Box.mb\!Trash\ 1
expect header Box.mb\!Trash\?00000001 X-LuMOID DEL2711_8
expect file-lacks lumo.idx 2711_8

# In the trash folder it is left alone.
open-mail Box.mb\!Trash\?00000001
expect boxes 4

# Moved out of the trash and opened: the user restores it.
open-folder Box.mb\!Trash\
select Box.mb\!Trash\?00000001
move Box.mb\Links\
mail Box.mb\!!!!Inbox\ <t1@example.com> "Target again" "Back again."
answer OK
open-mail Box.mb\Links\?00000001
expect boxes 5
expect box title Message-ID ERROR
expect box text このショートカットは、既に削除された物です。復元しますか？
expect box style 270337
expect header Box.mb\Links\?00000001 X-LuMOID 2711_8
# Its line is back; the target, stored anew in the inbox, is found there.
expect header Box.mb\Links\?00000001 X-MailID Box.mb\!!!!Inbox\?00000003
expect shown-contains "Back again."
expect file-contains lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01?00000003\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"
exit
