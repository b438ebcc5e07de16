#pragma once

#include <string>

namespace vortalis::cli {

// The bash completion of vortalis-report (subcommands, options, their choices,
// file names after output options), made from the option table so that the
// two cannot drift apart.
std::string BashCompletionScript();

}  // namespace vortalis::cli
