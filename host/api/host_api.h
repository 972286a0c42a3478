// HostApi: the process-wide table of the host's functions, bound by name from
// the host's executable module when the plug-in loads.
#pragma once

#include "host/api/host_functions.h"

namespace lumo {

struct HostApiTable {
#define LUMO_HOST_MEMBER(name, result, params) result(WINAPI* name) params = nullptr;
  LUMO_HOST_FUNCTIONS(LUMO_HOST_MEMBER)
#undef LUMO_HOST_MEMBER
  // The host's executable module: null until binding succeeds, and null again
  // after a failed binding.
  HMODULE module = nullptr;
};

extern HostApiTable HostApi;

// The names in binding order.
extern const char* const HostFunctionNames[LUMO_HOST_FUNCTION_COUNT];

// Binds every host function by name from the executable module of the
// process. Already bound counts as success. At the first missing name the
// table is left unbound (module null) and the result is 0.
int bindHostApi();

}  // namespace lumo
