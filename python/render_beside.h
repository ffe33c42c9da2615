// Work of the core run beside the Python thread that asked for it: the work computes on a
// picture runner's thread without the interpreter lock, while the Python thread waits for
// what the runner posts, answers Ctrl+C and reports progress. Other Python threads run
// meanwhile, their own renders included.
#pragma once

#include <pybind11/pybind11.h>

#include <functional>

#include "app/picture_runner.h"
#include "base/status.h"

namespace vorla::python {

// Runs `work` on a runner's thread and waits for its end with the interpreter lock
// released. Every few milliseconds the waiting thread takes the lock to run the signal
// handlers (Ctrl+C raises KeyboardInterrupt) and to call `band(row)` with the row of the
// latest band begun, if a new one began. An exception from either ends the work at once,
// waits for its thread and goes on up; otherwise the work's own status comes back.
Status RunBeside(const std::function<Status(PictureRunner::Job&)>& work,
                 const std::function<void(int row)>& band);

// Runs `step(i)` for i in [0, count) in slices without the interpreter lock, running the
// signal handlers between slices (Ctrl+C raises KeyboardInterrupt); `step` returns false to
// stop early. Gives the number of steps that returned true.
long long RunInSlices(long long count, const std::function<bool(long long)>& step);

}  // namespace vorla::python
