// Whether the host's commands come from a person at a terminal.
#pragma once

namespace lumo::hostsim {

bool inputIsTerminal();

}  // namespace lumo::hostsim
