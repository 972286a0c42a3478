#include "host-sim/core/terminal.h"

#include <unistd.h>

namespace lumo::hostsim {

bool inputIsTerminal() { return isatty(0) != 0; }

}  // namespace lumo::hostsim
