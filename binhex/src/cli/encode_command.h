// `binhex encode FILE [-C DIR]`: everything from opening FILE to printing the
// name of the finished .hqx.
#pragma once

#include "arguments.h"

namespace binhex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Prints the path of the new .hqx on standard output, or one line
// "binhex: FILE: reason" on standard error. Returns the exit status. A path
// that cannot be printed is a failure, and the new .hqx is removed again.
int run_encode(const EncodeRequest& request);

} // namespace binhex::cli
