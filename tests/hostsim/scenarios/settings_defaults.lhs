# Without a settings file every setting takes its default, and loading writes nothing.
load
settings
expect setting CreSCMailCheck 0
expect setting SubCh 1
expect setting ToDel 1
expect setting RealMail 1
expect setting MsgSt 0
expect setting SetFolder 0
expect setting RetFolder 0
expect setting Sc-Tag "->"
expect setting SetSC-Path ""
expect setting RetSC-Path ""
expect setting Lumo-Count 0
expect setting SCMMakeKey 0
expect setting SCMailALLKey 0
expect file-missing lumo.ini
