// The headless renderer: options in, a picture file out.
#pragma once

#include <iosfwd>
#include <string>

#include "base/status.h"

namespace vorla {

// Runs the renderer; returns the process exit code (0 done, 1 a file could not be
// written, 2 bad usage, a refused field or a damaged band, 130 or 143 ended by SIGINT or
// SIGTERM once the handlers of cli/interrupt.h are installed).
int RunRender(int argc, char** argv, std::ostream& out, std::ostream& err);

// Checks the options as RunRender would, without drawing: a failure carries the message of
// the first bad one.
Status CheckRenderArguments(int argc, char** argv);

}  // namespace vorla
