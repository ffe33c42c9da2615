// Writing the tabula's image to a file without ever leaving a partial file behind.
#pragma once

#include <QImage>
#include <string>

#include "base/status.h"

namespace vorla {

// Writes `image` in `format` ("PNG" or "BMP") under exactly `path`. The data goes to a
// temporary file beside it, which replaces `path` only once it is complete, so a failure
// leaves any existing file whole. A failure carries the reason.
Status SaveImageFile(const QImage& image, const std::string& path, const char* format);
// Writes a text file the same way.
Status SaveTextFile(const std::string& text, const std::string& path);

}  // namespace vorla
