# Drag and drop: a moved target is recorded in the link index and in its
# shortcut's "X-FolderID", so opening finds it without asking; a moved
# shortcut is recorded by its new folder and found there again when its
# target moves next. Copies and folder drops change nothing.
include open_shortcut_store.lhs

# A copy and a dropped folder: the link index stays as it was.
drop-raw Box.mb\Work\ Box.mb\!!!!Inbox\?00000001 1 1
expect result 0
drop-raw Box.mb\Work\ "Box.mb\Links\" 1 2
expect result 0
expect file-contains lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01?00000001\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"

# The target moves to "Work": its folder is recorded, its old mail id stays.
drop Box.mb\Work\ 2 Box.mb\!!!!Inbox\?00000001
expect result 0
expect mails Box.mb\Work\ 1
expect file-contains lumo.idx "2711_8\x01Box.mb\Work\\x01Box.mb\!!!!Inbox\?00000001\x01<t1@example.com>\x01Box.mb\Links\?00000001\r\n"
expect header Box.mb\Links\?00000001 X-FolderID Box.mb\Work\
expect header Box.mb\Links\?00000001 X-MailID Box.mb\!!!!Inbox\?00000001

# Opening finds it in "Work" without a question.
open-mail Box.mb\Links\?00000001
expect boxes 0
expect shown-contains "Hello from the target."
expect header Box.mb\Links\?00000001 X-MailID Box.mb\Work\?00000001

# The shortcut moves to the inbox: its location is the bare folder.
drop Box.mb\!!!!Inbox\ 2 Box.mb\Links\?00000001
expect mails Box.mb\Links\ 0
expect file-contains lumo.idx "2711_8\x01Box.mb\Work\\x01?00000001\x01<t1@example.com>\x01Box.mb\!!!!Inbox\\r\n"

# The target moves back to the inbox: the shortcut is found there by its own
# Message-ID, rewritten, and its whole mail id recorded again.
drop Box.mb\!!!!Inbox\ 2 Box.mb\Work\?00000001
expect header Box.mb\!!!!Inbox\?00000003 X-FolderID Box.mb\!!!!Inbox\
expect file-contains lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01Box.mb\Work\?00000001\x01<t1@example.com>\x01Box.mb\!!!!Inbox\?00000003\r\n"
open-mail Box.mb\!!!!Inbox\?00000003
expect boxes 0
expect shown-contains "Hello from the target."
expect header Box.mb\!!!!Inbox\?00000003 X-MailID Box.mb\!!!!Inbox\?00000004

# Shortcut and target dropped together: the shortcut follows its target at
# once, and opens from its new place without a question.
drop Box.mb\Work\ 2 Box.mb\!!!!Inbox\?00000003 Box.mb\!!!!Inbox\?00000004
expect mails Box.mb\Work\ 2
expect header Box.mb\Work\?00000001 X-FolderID Box.mb\Work\
expect file-contains lumo.idx "2711_8\x01Box.mb\Work\\x01Box.mb\!!!!Inbox\?00000004\x01<t1@example.com>\x01Box.mb\Work\\r\n"
open-mail Box.mb\Work\?00000001
expect boxes 0
expect shown-contains "Hello from the target."
expect header Box.mb\Work\?00000001 X-MailID Box.mb\Work\?00000002
