# lumo-host-noconnect lacks BKA_Connect: the plug-in must refuse to load.
load may-fail
expect plugin absent
