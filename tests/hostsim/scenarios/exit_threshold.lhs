# At exit the plug-in raises "Lumo-CleanInt" by 201 while it stays below the
# shortcut count, reading it afresh from the file each time.
write-file lumo.ini "[Settings]\r\nLumo-Count=5\r\n"
load
exit
expect file-contains lumo.ini "Lumo-CleanInt=201\r\n"
exit
expect file-contains lumo.ini "Lumo-CleanInt=201\r\n"
unload
write-file lumo.ini "[Settings]\r\nLumo-CleanInt=300\r\nLumo-Count=1000\r\n"
load
exit
expect file-contains lumo.ini "Lumo-CleanInt=501\r\nLumo-Count=1000\r\n"
exit
expect file-contains lumo.ini "Lumo-CleanInt=702\r\n"
