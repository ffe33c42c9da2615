// Writing the tabula's image to a file without ever leaving a partial file behind.
#pragma once

#include <QImage>
#include <string>

namespace vorla {

// Writes `image` in `format` ("PNG" or "BMP") under exactly `path`. The data goes to a
// temporary file beside it, which replaces `path` only once it is complete, so a failure
// leaves any existing file whole. On failure returns false and a reason in `error`.
bool SaveImageFile(const QImage& image, const std::string& path, const char* format,
                   std::string& error);
// Writes a text file the same way.
bool SaveTextFile(const std::string& text, const std::string& path, std::string& error);

}  // namespace vorla
