#include <io.h>

#include <cstdio>

#include "host-sim/core/terminal.h"

namespace lumo::hostsim {

bool inputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

}  // namespace lumo::hostsim
