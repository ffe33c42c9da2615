#include "cli/band_file.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

namespace vorla {
namespace {

constexpr const char* kMagic = "VORLA-BAND 3";
constexpr const char* kOldMagics[] = {"VORLA-BAND 1", "VORLA-BAND 2"};
// The largest page text a band holds: a scene file's limit.
constexpr long long kMaxPageText = 64 * 1024;
constexpr std::size_t kChunk = 1 << 16;
constexpr int kMaxWidth = 1 << 20;

std::size_t RowBytes(int width) {
    return static_cast<std::size_t>(width) * 7;  // RGB, then a 32-bit value per pixel
}

Failure BandFailure(const std::string& what) {
    return Failure{"band file: " + what};
}

std::uint32_t Crc(std::uint32_t crc, const void* data, std::size_t size) {
    return static_cast<std::uint32_t>(
        crc32(crc, static_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

std::string HeaderText(const BandHeader& h) {
    return std::string(kMagic) + "\n" + std::to_string(h.width) + " " + std::to_string(h.height) +
           " " + std::to_string(h.first) + " " + std::to_string(h.last) + " " +
           std::to_string(h.kind) + "\n" + h.scene + "\n" + std::to_string(h.viewText.size()) +
           " " + std::to_string(h.sceneText.size()) + "\n" + h.viewText + h.sceneText;
}

// Two byte counts of page texts, each within the limit, separated by a blank.
bool ParseLengths(const std::string& line, std::size_t& view, std::size_t& scene) {
    std::istringstream in(line);
    in >> std::noskipws;
    long long a = -1, b = -1;
    char blank = 0;
    if (!(in >> a >> blank >> b) || blank != ' ' || in.peek() != std::char_traits<char>::eof() ||
        a < 0 || b < 0 || a > kMaxPageText || b > kMaxPageText)
        return false;
    view = static_cast<std::size_t>(a);
    scene = static_cast<std::size_t>(b);
    return true;
}

// Five whole numbers separated by single blanks, nothing else.
bool ParseSizes(const std::string& line, BandHeader& h) {
    std::istringstream in(line);
    in >> std::noskipws;
    char blank[4] = {};
    return static_cast<bool>(in >> h.width >> blank[0] >> h.height >> blank[1] >> h.first >>
                             blank[2] >> h.last >> blank[3] >> h.kind) &&
           in.peek() == std::char_traits<char>::eof() && std::string(blank, 4) == "    ";
}

// A zlib failure, with zlib's word for it.
Failure Damaged(const z_stream& z, int rc) {
    return BandFailure(std::string("its data is damaged (") +
                       (z.msg ? z.msg : "zlib error " + std::to_string(rc)) + ")");
}

}  // namespace

struct BandWriter::Stream {
    z_stream z{};
};
struct BandReader::Stream {
    z_stream z{};
};

BandWriter::~BandWriter() {
    if (z_) deflateEnd(&z_->z);
}

Result<std::unique_ptr<BandWriter>> BandWriter::Start(std::FILE* out, const BandHeader& h) {
    if (h.width < 1 || h.width > kMaxWidth || h.height < 1 || h.first < 0 || h.last < h.first ||
        h.last >= h.height || h.scene.find('\n') != std::string::npos ||
        static_cast<long long>(h.viewText.size()) > kMaxPageText ||
        static_cast<long long>(h.sceneText.size()) > kMaxPageText)
        return BandFailure("no such band");
    std::unique_ptr<BandWriter> w(new BandWriter);
    w->out_ = out;
    w->header_ = h;
    w->z_ = std::make_unique<Stream>();
    if (deflateInit(&w->z_->z, Z_DEFAULT_COMPRESSION) != Z_OK) return Failure{kOutOfMemory};
    w->buffer_.resize(kChunk);
    const std::string text = HeaderText(h);
    w->crc_ = Crc(crc32(0, nullptr, 0), text.data(), text.size());
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size())
        return BandFailure(std::strerror(errno ? errno : EIO));
    return w;
}

Status BandWriter::Put(const void* data, std::size_t size, bool end) {
    z_stream& z = z_->z;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    z.avail_in = static_cast<uInt>(size);
    int rc;
    do {
        z.next_out = buffer_.data();
        z.avail_out = static_cast<uInt>(buffer_.size());
        rc = deflate(&z, end ? Z_FINISH : Z_NO_FLUSH);
        if (rc == Z_STREAM_ERROR) return BandFailure("compression failed");
        const std::size_t n = buffer_.size() - z.avail_out;
        crc_ = Crc(crc_, buffer_.data(), n);
        if (n && std::fwrite(buffer_.data(), 1, n, out_) != n)
            return BandFailure(std::strerror(errno ? errno : EIO));
    } while (z.avail_out == 0 || (end && rc != Z_STREAM_END));
    return {};
}

Status BandWriter::Row(const std::uint32_t* pixels, const std::int32_t* values) {
    if (rows_ > header_.last - header_.first) return BandFailure("more rows than the band has");
    const int W = header_.width;
    std::vector<unsigned char>& row = row_;
    row.resize(RowBytes(W));
    for (int x = 0; x < W; ++x) {
        row[3 * x] = static_cast<unsigned char>(pixels[x] >> 16);
        row[3 * x + 1] = static_cast<unsigned char>(pixels[x] >> 8);
        row[3 * x + 2] = static_cast<unsigned char>(pixels[x]);
        const auto v = static_cast<std::uint32_t>(values[x]);
        for (int b = 0; b < 4; ++b)
            row[3 * W + 4 * x + b] = static_cast<unsigned char>(v >> (8 * b));
    }
    ++rows_;
    return Put(row.data(), row.size(), false);
}

Status BandWriter::Finish() {
    if (rows_ != header_.last - header_.first + 1) return BandFailure("the band is not complete");
    if (Status done = Put(nullptr, 0, true); !done) return done;
    unsigned char sum[4];
    for (int b = 0; b < 4; ++b) sum[b] = static_cast<unsigned char>(crc_ >> (8 * b));
    if (std::fwrite(sum, 1, sizeof sum, out_) != sizeof sum || std::fflush(out_) != 0)
        return BandFailure(std::strerror(errno ? errno : EIO));
    return {};
}

BandReader::~BandReader() {
    if (z_) inflateEnd(&z_->z);
}

Result<std::unique_ptr<BandReader>> BandReader::Start(std::FILE* in) {
    std::unique_ptr<BandReader> r(new BandReader);
    r->in_ = in;
    char line[4096];
    std::string text;  // the header as read, for the checksum
    auto getLine = [&](std::string& out) {
        if (!std::fgets(line, sizeof line, in)) return false;
        out = line;
        text += out;
        if (out.empty() || out.back() != '\n') return false;
        out.pop_back();
        return true;
    };
    // The page's texts, of the lengths given.
    auto getText = [&](std::size_t size, std::string& out) {
        out.resize(size);
        if (size && std::fread(out.data(), 1, size, in) != size) return false;
        text += out;
        return true;
    };
    std::string magic, sizes, lengths;
    std::size_t viewSize = 0, sceneSize = 0;
    BandHeader& h = r->header_;
    if (!getLine(magic) || magic != kMagic)
        return BandFailure(magic == kOldMagics[0] ? "written by an older renderer, without a "
                                                    "checksum: draw it again"
                           : magic == kOldMagics[1]
                               ? "written by an older renderer, without its page: draw it again"
                               : "not a band of this program");
    if (!getLine(sizes) || !ParseSizes(sizes, h) || h.width < 1 || h.height < 1 || h.first < 0 ||
        h.last < h.first || h.last >= h.height || h.width > kMaxWidth || !getLine(h.scene) ||
        !getLine(lengths) || !ParseLengths(lengths, viewSize, sceneSize) ||
        !getText(viewSize, h.viewText) || !getText(sceneSize, h.sceneText))
        return BandFailure("a damaged header");
    r->crc_ = Crc(crc32(0, nullptr, 0), text.data(), text.size());
    r->z_ = std::make_unique<Stream>();
    if (inflateInit(&r->z_->z) != Z_OK) return Failure{kOutOfMemory};
    r->input_.resize(kChunk);
    r->row_.resize(RowBytes(h.width));
    return r;
}

Status BandReader::Fill() {
    const std::size_t n = std::fread(input_.data(), 1, input_.size(), in_);
    if (n == 0)
        return std::ferror(in_) ? BandFailure(std::strerror(errno ? errno : EIO))
                                : BandFailure("the band ends early: it was cut short");
    z_->z.next_in = input_.data();
    z_->z.avail_in = static_cast<uInt>(n);
    return {};
}

int BandReader::Inflate() {
    z_stream& z = z_->z;
    const Bytef* from = z.next_in;
    const int rc = inflate(&z, Z_NO_FLUSH);
    crc_ = Crc(crc_, from, static_cast<std::size_t>(z.next_in - from));  // the bytes taken
    if (rc == Z_STREAM_END) streamEnded_ = true;
    return rc;
}

Status BandReader::Get(void* data, std::size_t size) {
    z_stream& z = z_->z;
    z.next_out = static_cast<Bytef*>(data);
    z.avail_out = static_cast<uInt>(size);
    while (z.avail_out > 0) {
        if (streamEnded_) return BandFailure("its data ends before its last row: it is damaged");
        if (z.avail_in == 0)
            if (Status filled = Fill(); !filled) return filled;
        if (const int rc = Inflate(); rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            return Damaged(z, rc);
    }
    return {};
}

Status BandReader::Row(std::uint32_t* pixels, std::int32_t* values) {
    if (rows_ > header_.last - header_.first) return BandFailure("more rows asked than it has");
    if (Status got = Get(row_.data(), row_.size()); !got) return got;
    ++rows_;
    const int W = header_.width;
    for (int x = 0; x < W; ++x) {
        pixels[x] = 0xff000000u | (std::uint32_t{row_[3 * x]} << 16) |
                    (std::uint32_t{row_[3 * x + 1]} << 8) | row_[3 * x + 2];
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b) v |= std::uint32_t{row_[3 * W + 4 * x + b]} << (8 * b);
        values[x] = static_cast<std::int32_t>(v);
    }
    return {};
}

Status BandReader::Finish() {
    if (rows_ != header_.last - header_.first + 1) return BandFailure("not every row was read");
    // The stream ends right after the last row (its own check verified on the way).
    z_stream& z = z_->z;
    while (!streamEnded_) {
        unsigned char extra;
        z.next_out = &extra;
        z.avail_out = 1;
        if (z.avail_in == 0)
            if (Status filled = Fill(); !filled) return filled;
        const int rc = Inflate();
        if (z.avail_out == 0) return BandFailure("more data than its rows: it is damaged");
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return Damaged(z, rc);
    }
    // Then the checksum, and nothing after it.
    unsigned char sum[5];
    std::size_t got = std::min<std::size_t>(z.avail_in, sizeof sum);
    std::memcpy(sum, z.next_in, got);
    const bool more = z.avail_in > sizeof sum;
    if (!more) got += std::fread(sum + got, 1, sizeof sum - got, in_);
    if (std::ferror(in_)) return BandFailure(std::strerror(errno ? errno : EIO));
    if (got < 4) return BandFailure("the band ends early: it was cut short");
    if (more || got > 4) return BandFailure("bytes after the end of its data: it is damaged");
    std::uint32_t stored = 0;
    for (int b = 0; b < 4; ++b) stored |= std::uint32_t{sum[b]} << (8 * b);
    if (stored != crc_) return BandFailure("its checksum does not match: it is damaged");
    return {};
}

}  // namespace vorla
