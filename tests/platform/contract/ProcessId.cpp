#include "ProcessId.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kestrune::contract {

std::uint32_t CurrentProcessId() {
#ifdef _WIN32
    return static_cast<std::uint32_t>(_getpid());
#else
    return static_cast<std::uint32_t>(getpid());
#endif
}

}  // namespace kestrune::contract
