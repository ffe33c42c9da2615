// Writing the tabula's image to a file without ever leaving a partial file behind, and
// without replacing anything that is not a plain file of its own.
#pragma once

#include <QImage>
#include <cstdio>
#include <functional>
#include <string>

#include "base/status.h"

namespace vorla {

// Writes `image` in `format` ("PNG" or "BMP") under exactly `path`:
// - a new name, or a plain file with no other name: the data goes to a temporary file
//   beside it, which replaces it (with its permissions) only once it is complete, so a
//   failure leaves any existing file whole;
// - a symbolic link: followed, and what it leads to is written as above;
// - a plain file with other hard links: rewritten in place, so that every name keeps
//   showing it, once the new content is complete and the disk has room for it;
// - a device, pipe or other special file: written in place, never replaced;
// - a folder: refused.
// A failure carries the reason.
Status SaveImageFile(const QImage& image, const std::string& path, const char* format);
// Writes a text file the same way.
Status SaveTextFile(const std::string& text, const std::string& path);

// Writes what `write` puts into an open file under `path`, the same way; a picture too large
// for memory goes out piece by piece. A failure of `write` leaves any existing file whole
// (a special file excepted, which is written as the pieces come).
using FileWriter = std::function<Status(std::FILE*)>;
Status SaveFile(const std::string& path, const FileWriter& write);

// Whether two names lead to the same file: the same name, the same existing file through
// links, or the same new name reached two ways.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace vorla
