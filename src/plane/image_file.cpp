#include "plane/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace vorla {
namespace {

Failure Reason(int err) {
    return Failure{std::strerror(err)};
}

bool WriteAll(int fd, const char* data, size_t size, int& err) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

Status SaveBytes(const QByteArray& bytes, const std::string& path) {
    if (path.empty()) return Failure{"no file name"};
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return Reason(EISDIR);
    // A file that may not be written is not replaced behind its owner's back.
    if (exists && ((old.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0))
        return Reason(EACCES);
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string tmpl = (slash == std::string::npos ? std::string() : dir) + ".vorla-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back(0);
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return Reason(errno);
    int err = 0;
    bool ok = WriteAll(fd, bytes.constData(), static_cast<size_t>(bytes.size()), err);
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok) {
        // Keep the permissions of the file replaced, or those a new file would get.
        mode_t mode = old.st_mode & 07777;
        if (!exists) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::chmod(name.data(), mode);
        if (::rename(name.data(), path.c_str()) != 0) {
            err = errno;
            ok = false;
        }
    }
    if (ok) return {};
    ::unlink(name.data());
    return Reason(err);
}
}  // namespace

Status SaveImageFile(const QImage& image, const std::string& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return Failure{std::string("the image could not be encoded as ") + format};
    return SaveBytes(bytes, path);
}

Status SaveTextFile(const std::string& text, const std::string& path) {
    return SaveBytes(QByteArray(text.data(), static_cast<qsizetype>(text.size())), path);
}

}  // namespace vorla
