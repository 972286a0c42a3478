# The full lumo-host exports every host function: the plug-in loads.
load
expect plugin loaded
