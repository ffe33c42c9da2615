#include "plane/image_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "plane/png_rows.h"

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

// The folder part of a path with its slash; empty for a bare name.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Where a name leads once its symbolic links are followed; a link to a name that does not
// exist yet leads to that name.
Result<std::string> LinkTarget(std::string path) {
    std::vector<char> buf(PATH_MAX);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        const ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
        if (n < 0) return Reason(errno);
        if (static_cast<size_t>(n) == buf.size()) return Reason(ENAMETOOLONG);
        const std::string link(buf.data(), static_cast<size_t>(n));
        path = link.starts_with('/') ? link : FolderOf(path) + link;
    }
    return Reason(ELOOP);
}

// Writes through `write` into an open file, flushed to the disk; false with the reason.
bool WriteThrough(int fd, const FileWriter& write, bool sync, int& err, Status& failed) {
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        err = errno;
        ::close(fd);
        return false;
    }
    failed = write(f);
    // A write the stream refused (a full disk, a closed pipe) is told by its reason, whatever
    // the writer made of it ("PNG: stream error").
    if (!failed.Ok() && std::ferror(f)) failed = Reason(errno ? errno : EIO);
    bool ok = failed.Ok() && std::fflush(f) == 0;
    if (!ok && failed.Ok()) err = errno;
    if (ok && sync && ::fsync(::fileno(f)) != 0 && errno != EINVAL && errno != EROFS) {
        err = errno;
        ok = false;
    }
    if (std::fclose(f) != 0 && ok) {
        err = errno;
        ok = false;
    }
    return ok;
}

// A new file beside `path` that replaces it once complete; `old` is the file replaced.
Status Replace(const FileWriter& write, const std::string& path, const struct stat* old) {
    std::string tmpl = FolderOf(path) + ".vorla-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back(0);
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return Reason(errno);
    // Keep the owner and permissions of the file replaced, or those a new file would get.
    mode_t mode = 0;
    if (old) {
        mode = old->st_mode & 07777;
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
            // Only its owner's group or a privileged user can give it back: ours it stays.
        }
    } else {
        mode = ::umask(0);
        ::umask(mode);
        mode = 0666 & ~mode;
    }
    int err = 0;
    Status failed;
    bool ok = ::fchmod(fd, mode) == 0 || (err = errno, false);
    if (ok)
        ok = WriteThrough(fd, write, true, err, failed);
    else
        ::close(fd);
    if (ok && ::rename(name.data(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (ok) return {};
    ::unlink(name.data());
    return failed.Ok() ? Reason(err) : failed;
}

// Writes over what `path` names, keeping the file itself. A plain file gets its new content
// only once that is complete (staged in a temporary file) and the disk has given room for it.
Status WriteInPlace(const FileWriter& write, const std::string& path, bool plain) {
    int err = 0;
    Status failed;
    std::FILE* staged = nullptr;
    if (plain) {
        staged = std::tmpfile();
        if (!staged) return Reason(errno);
        failed = write(staged);
        if (!failed.Ok() && std::ferror(staged)) failed = Reason(errno ? errno : EIO);
        if (!failed) {
            std::fclose(staged);
            return failed;
        }
        if (std::fflush(staged) != 0 || std::fseek(staged, 0, SEEK_END) != 0) {
            err = errno;
            std::fclose(staged);
            return Reason(err);
        }
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        if (staged) std::fclose(staged);
        return Reason(err);
    }
    if (!plain)
        return WriteThrough(fd, write, false, err, failed) ? Status()
               : failed.Ok()                               ? Reason(err)
                                                           : failed;
    const off_t size = ::ftello(staged);
    bool ok = true;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && size > st.st_size) {
        err = ::posix_fallocate(fd, 0, size);
        ok = err == 0;
        if (!ok && ::ftruncate(fd, st.st_size) != 0) {
            // The old content is untouched either way.
        }
    }
    std::rewind(staged);
    std::vector<char> chunk(1 << 16);
    for (size_t n; ok && (n = std::fread(chunk.data(), 1, chunk.size(), staged)) > 0;)
        ok = WriteAll(fd, chunk.data(), n, err);
    if (ok && std::ferror(staged)) {
        err = EIO;
        ok = false;
    }
    std::fclose(staged);
    if (ok && (::ftruncate(fd, size) != 0 || ::fsync(fd) != 0)) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    return ok ? Status() : Reason(err);
}

Status WriteBytes(std::FILE* f, const char* data, size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, f) != size) return Reason(errno ? errno : EIO);
    return {};
}

}  // namespace

Status SaveFile(const std::string& path, const FileWriter& write) {
    if (path.empty()) return Failure{"no file name"};
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) return Reason(errno);
        const Result<std::string> target = LinkTarget(path);
        return target ? Replace(write, target.Value(), nullptr) : target.ToStatus();
    }
    if (S_ISDIR(st.st_mode)) return Reason(EISDIR);
    if (!S_ISREG(st.st_mode)) return WriteInPlace(write, path, false);
    // A file that may not be written is not replaced behind its owner's back.
    if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) return Reason(EACCES);
    char* real = ::realpath(path.c_str(), nullptr);
    const std::string target = real ? real : "";
    std::free(real);
    struct stat there {};
    // A file reached through a descriptor (/dev/stdout) may have no name of its own left.
    const bool named = !target.empty() && ::lstat(target.c_str(), &there) == 0 &&
                       there.st_dev == st.st_dev && there.st_ino == st.st_ino;
    if (!named) return WriteInPlace(write, path, true);
    if (st.st_nlink > 1) return WriteInPlace(write, target, true);
    return Replace(write, target, &st);
}

namespace {
Status SaveBytes(const char* data, size_t size, const std::string& path) {
    return SaveFile(path, [&](std::FILE* f) { return WriteBytes(f, data, size); });
}
}  // namespace

Status SaveImageFile(const QImage& image, const std::string& path, const char* format) {
    // Every PNG of the program comes from one encoder, row by row: the same pixels give the
    // same file, whether drawn whole or in bands, in the window or by the renderer.
    if (std::string(format) == "PNG") {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        if (rgb.isNull()) return Failure{kOutOfMemory};
        return SaveFile(path, [&](std::FILE* f) -> Status {
            Result<std::unique_ptr<PngRowWriter>> png =
                PngRowWriter::Start(f, rgb.width(), rgb.height());
            if (!png) return png.ToStatus();
            for (int y = 0; y < rgb.height(); ++y)
                if (Status row = png.Value()->Row(
                        reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y)));
                    !row)
                    return row;
            return png.Value()->Finish();
        });
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return Failure{std::string("the image could not be encoded as ") + format};
    return SaveBytes(bytes.constData(), static_cast<size_t>(bytes.size()), path);
}

Status SaveTextFile(const std::string& text, const std::string& path) {
    return SaveBytes(text.data(), text.size(), path);
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    struct stat sa {
    }, sb{};
    const bool hasA = ::stat(a.c_str(), &sa) == 0, hasB = ::stat(b.c_str(), &sb) == 0;
    if (hasA && hasB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (hasA || hasB) return false;
    // Two new names: the same when their links and folders lead to the same place. A name is
    // made absolute first: the existing part of a path is resolved, the rest kept as written,
    // so "s.png" and "./s.png" must both start from the working folder.
    auto where = [](const std::string& p) {
        const Result<std::string> t = LinkTarget(p);
        std::error_code ec;
        const std::filesystem::path whole = std::filesystem::absolute(t ? t.Value() : p, ec);
        return std::filesystem::weakly_canonical(whole, ec).lexically_normal();
    };
    return where(a) == where(b);
}

}  // namespace vorla
