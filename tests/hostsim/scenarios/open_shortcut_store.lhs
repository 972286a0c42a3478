# A mailbox with a target mail in the inbox and its shortcut in "Links",
# made as shortcut creation makes them, and the shortcut's link index line
# beside the plug-in (lumo.idx). Included by the opening scenarios.
store store
folder Box.mb\ "Box"
folder Box.mb\!!!!Inbox\ "Inbox"
folder Box.mb\!Trash\ "Trash"
folder Box.mb\Links\ "Links"
folder Box.mb\Work\ "Work"
mail Box.mb\!!!!Inbox\ <t1@example.com> "Target" "Hello from the target."
mail Box.mb\!!!!Inbox\ <o1@example.com> "Other" "Another mail."
write-bytes shortcut.eml "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: OFF\r\nFrom: sender@example.com\r\nSubject:-> Target\r\nDate: Tue, 08 Dec 2026 07:00:00 +0900\r\nX-Message-ID: <t1@example.com>\r\nMessage-ID: <t1@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [\x83\x8a\x83\x93\x83\x4e\x90\xe6\x82\xaa\x95\x73\x96\xbe\x82\xc5\x82\xb7\x81\x42]"
mail-file Box.mb\Links\ shortcut.eml
write-bytes lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01?00000001\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"
load
start
