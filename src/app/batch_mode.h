// The scriptable interface: --batch, --compile, --eval and --symbolic.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace app {

// Exit statuses of the command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRunError = 1;
inline constexpr int kExitUsage = 2;

// True when the arguments ask for one of the headless modes.
bool IsBatchCommand(const std::vector<std::string>& args);

// Runs a headless mode; returns the exit status.
int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace app
