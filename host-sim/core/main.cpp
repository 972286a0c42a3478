// lumo-host: the substitute mail client. Usage:
//   lumo-host [--store DIR] [--plugin PATH] [SCRIPT | -]
// Without a script it reads commands interactively (or from standard input
// when that is not a terminal).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "host-sim/core/script.h"
#include "host-sim/core/terminal.h"

int main(int argc, char** argv) {
  std::string store;
  std::string scriptFile;
  std::string plugin;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--store" && i + 1 < argc) {
      store = argv[++i];
    } else if (arg == "--plugin" && i + 1 < argc) {
      plugin = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::cout << "usage: lumo-host [--store DIR] [--plugin PATH] [SCRIPT | -]\n";
      return 0;
    } else {
      scriptFile = arg;
    }
  }
  auto windows = lumo::hostsim::makeWindowSystem();
  lumo::hostsim::Script script(*windows, std::cout);
  if (!store.empty()) script.useStore(store);
  if (!plugin.empty()) {
    std::string error = script.runLine("load \"" + plugin + "\"");
    if (!error.empty()) {
      std::cerr << "lumo-host: " << error << "\n";
      return 1;
    }
  }
  if (!scriptFile.empty() && scriptFile != "-") {
    std::ifstream in(scriptFile, std::ios::binary);
    if (!in) {
      std::cerr << "lumo-host: cannot open " << scriptFile << "\n";
      return 2;
    }
    script.setBaseDir(std::filesystem::path(scriptFile).parent_path().string());
    return script.run(in, scriptFile, false);
  }
  bool interactive = scriptFile.empty() && lumo::hostsim::inputIsTerminal();
  return script.run(std::cin, interactive ? "input" : "stdin", interactive);
}
