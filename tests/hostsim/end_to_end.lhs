# A whole run of lumo-host against lumo.so: store, load, lifecycle, events.
include ../../samples/sample-store.lhs
info
expect result 0
start
expect hooks "1 2"
open-folder Sample.mb\!!!!Inbox\
expect folder Sample.mb\!!!!Inbox\
open-mail @2
expect mail @2
expect shown-contains "Subject: Quarterly report"
expect readonly yes
post 108
expect readonly no
select @1 @3
expect selection @1 @3
send 32836
expect mails Sample.mb\!Trash\ 2
expect mails Sample.mb\!!!!Inbox\ 1
expect selection
select @1
peek-post 32836
expect mails Sample.mb\!Trash\ 3
expect mails Sample.mb\!!!!Inbox\ 0
expect header Sample.mb\!Trash\?00000001 Subject "会議の件"
dblclick
key 0x46 0x20
every-minute
expect result 0
exit
expect hooks "0 0"
