#pragma once
// The current process's identifier, the one thing the contract programs ask of the system
// outside the platform interfaces.

#include <cstdint>

namespace kestrune::contract {

std::uint32_t CurrentProcessId();

}  // namespace kestrune::contract
