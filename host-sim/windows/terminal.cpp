#include "host-sim/core/terminal.h"

#include <io.h>

#include <cstdio>

namespace lumo::hostsim {

bool inputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

}  // namespace lumo::hostsim
