// Shows a plug-in settings file as the plug-in reads it: every setting with
// the value it takes, marked where that is the default.
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

// Every setting, in the file's key order, as the plug-in's loader reads it
// from `iniPath` (a missing file gives every default).
std::vector<LoadedSetting> loadedSettings(const std::string& iniPath);

// Prints loadedSettings() one per line, texts as UTF-8.
void printSettings(std::ostream& out, const std::string& iniPath);

}  // namespace lumo::hostsim
