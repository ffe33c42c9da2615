// SIGINT and SIGTERM (Ctrl+C, scancel, a time limit) end a render cleanly: the handlers only
// note the signal; the render sees it at its next row or poll, stops, and its temporary files
// go with the failure. SIGPIPE is ignored, so a closed pipe is a write error like any other.
#pragma once

#include <atomic>
#include <iosfwd>
#include <string>

namespace vorla {

// Installs the handlers, once, before any thread starts. A signal ignored when the program
// starts (a background job of a shell without job control) stays ignored. A second signal
// of the same kind ends the program at once.
void InstallInterruptHandlers();

// The signal that asked the render to end, or 0.
int InterruptSignal();
// Set once a signal asked the render to end: the cancel flag of a whole picture's workers.
const std::atomic<bool>* InterruptFlag();

// The exit code of a run ended by `signal`: 128 + its number (130 for SIGINT, 143 for
// SIGTERM), as a shell reports a program the signal killed.
int InterruptExitCode(int signal);

// The signal's name, "SIGINT" or "SIGTERM".
const char* InterruptName(int signal);

// Ends a run with `code` and "vorla-render: MESSAGE" on `err`. A run a signal asked to end ends
// as interrupted instead, whatever failed on the way (a cut picture, a write the signal broke).
int Fail(std::ostream& err, int code, const std::string& message);

}  // namespace vorla
