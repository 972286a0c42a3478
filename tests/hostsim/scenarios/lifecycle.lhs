# Load, information, start and exit of the plug-in, as a user's host runs them.
load
expect plugin loaded
info
expect result 0
start
expect hooks "1 2"
exit
expect result 0
expect hooks "0 0"
# No shortcut was ever made: exit writes nothing.
expect file-missing lumo.ini
# Start and exit again, as after a restart of the host's window.
start
expect hooks "1 2"
exit
expect hooks "0 0"
unload
expect plugin absent
# A second load binds and starts anew.
load
start
expect hooks "1 2"
exit
expect hooks "0 0"
