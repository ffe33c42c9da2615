// Movies from the command line: --animate draws a flight through scene files into a folder of
// frames or a video, --encode makes the video of frames drawn apart.
#pragma once

#include <iosfwd>

#include "cli/render_options.h"

namespace vorla {

// Draws the movie of checked options (their keyframes given); returns the exit code as
// RunRender does.
int RunAnimate(const RenderOptions& o, std::ostream& out, std::ostream& err);

// Makes the video o.output of the frames in o.encodeFolder; returns the exit code.
int RunEncode(const RenderOptions& o, std::ostream& err);

}  // namespace vorla
