// Shows a plug-in settings file as the host reads it with the profile
// functions: every setting the plug-in loads at start, with the value it
// should take there, marked where that is the default.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lumo::hostsim {

struct LoadedSetting {
  std::string key;
  std::string value;  // decimal, or a text in double quotes (code page 932)
  bool isDefault = false;
};

// Every setting, in the plug-in's loading order, read from `iniPath` with
// the plug-in's defaults and text limits (a missing file gives every
// default).
std::vector<LoadedSetting> loadedSettings(const std::string& iniPath);

// Prints loadedSettings() one per line, texts as UTF-8.
void printSettings(std::ostream& out, const std::string& iniPath);

}  // namespace lumo::hostsim
