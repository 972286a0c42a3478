# At exit, once the shortcut counter has passed the threshold, the link index
# keeps exactly its live links. 1: its shortcut mail is where the line says:
# kept as it is. 2: its shortcut mail was deleted: dropped. 3: dragged into
# Other: gets the mail id found there. 4: never located: gets the mail id
# found in the mailbox. 5: never located and gone: dropped. 6: a target
# without Message-ID whose shortcut mail is known: kept.
store store
folder Box.mb\Inbox\
folder Box.mb\Links\
folder Box.mb\Other\
mail Box.mb\Inbox\ <t1@x> "Target 1"
mail Box.mb\Inbox\ <t2@x> "Target 2"
mail Box.mb\Inbox\ <t3@x> "Target 3"
mail Box.mb\Inbox\ <t4@x> "Target 4"
mail Box.mb\Inbox\ <t5@x> "Target 5"
mail Box.mb\Links\ <t1@2711_12.LuMO.x> "Target 1"
mail Box.mb\Other\ <t3@2713_12.LuMO.x> "Target 3"
mail Box.mb\Links\ <t4@2714_12.LuMO.x> "Target 4"
write-bytes lumo.idx "2711_12\x01Box.mb\Inbox\\x01?00000001\x01<t1@x>\x01Box.mb\Links\?00000001\r\n2712_12\x01Box.mb\Inbox\\x01?00000002\x01<t2@x>\x01Box.mb\Links\?00000009\r\n2713_12\x01Box.mb\Inbox\\x01?00000003\x01<t3@x>\x01Box.mb\Other\\r\n2714_12\x01Box.mb\Inbox\\x01?00000004\x01<t4@x>\x01\r\n2715_12\x01Box.mb\Inbox\\x01?00000005\x01<t5@x>\x01\r\n2716_12\x01Box.mb\Inbox\\x01?00000001\x01\x01Box.mb\Links\?00000001\r\n"
write-file lumo.ini "[Settings]\r\nLumo-Count=5\r\n"
load
start
exit
expect file-contains lumo.idx "2711_12\x01Box.mb\Inbox\\x01?00000001\x01<t1@x>\x01Box.mb\Links\?00000001\r\n2713_12\x01Box.mb\Inbox\\x01?00000003\x01<t3@x>\x01Box.mb\Other\?00000001\r\n2714_12\x01Box.mb\Inbox\\x01?00000004\x01<t4@x>\x01Box.mb\Links\?00000002\r\n2716_12\x01Box.mb\Inbox\\x01?00000001\x01\x01Box.mb\Links\?00000001\r\n"
expect file-contains lumo.ini "Lumo-CleanInt=201\r\n"
expect file-missing lumo.idx.tmp
