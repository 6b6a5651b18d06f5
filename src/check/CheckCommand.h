#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace trv {

// Exit statuses of trv-check.
inline constexpr int CheckClean = 0;  // no errors (warnings may have been found)
inline constexpr int CheckErrors = 1; // errors found, or the image can't be built
inline constexpr int CheckUsage = 2;  // wrong usage, or a folder that can't be read

// Runs trv-check with its arguments (without the program name); the report goes to out, usage
// problems to err. Returns the exit status.
int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace trv
