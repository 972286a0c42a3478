# Settings read through the platform's profile functions: names without regard
# to case, blanks around values, quotes, numbers followed by text, hotkeys cut
# to 16 bits, texts cut to their buffers.
write-file lumo.ini "[settings]\r\n  subch = 0 \r\nTODEL=7x\r\nRealMail=abc\r\nSc-Tag=\"=>\"\r\nSetSC-Path= Mail.mb\Work\ \r\nSCMMakeKey=70000\r\nSCFindKey=-1\r\n[Other]\r\nMsgSt=1\r\n"
load
settings
expect setting SubCh 0
expect setting ToDel 7
expect setting RealMail 0
expect setting Sc-Tag "=>"
expect setting SetSC-Path "Mail.mb\Work\"
expect setting MsgSt 0
expect setting SCMMakeKey 4464
expect setting SCFindKey 65535
unload
# An over-long tag keeps its first 31 bytes; a 300-byte folder id its first 255.
write-file lumo.ini "[Settings]\r\nSc-Tag=0123456789012345678901234567890123456789\r\nRetSC-Path=aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\r\n"
load
expect setting Sc-Tag "0123456789012345678901234567890"
expect setting RetSC-Path "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
unload
# Garbage, binary bytes and a section that never closes: defaults, no crash.
write-bytes lumo.ini "\x00\x01\xff\xfe garbage\r\n[Settings\r\nSubCh=0\r\n\x81\x40=\x82\xa0\r\n=\r\n[\r\n"
load
expect plugin loaded
start
expect hooks "1 2"
exit
expect setting Lumo-Count 0
expect setting Sc-Tag "->"
