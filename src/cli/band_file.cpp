#include "cli/band_file.h"

#include <zlib.h>

#include <cstring>
#include <sstream>

namespace vorla {
namespace {

constexpr const char* kMagic = "VORLA-BAND 1";
constexpr std::size_t kChunk = 1 << 16;

std::size_t RowBytes(int width) {
    return static_cast<std::size_t>(width) * 7;  // RGB, then a 32-bit value per pixel
}

Failure BandFailure(const std::string& what) {
    return Failure{"band file: " + what};
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
    if (h.width < 1 || h.height < 1 || h.first < 0 || h.last < h.first || h.last >= h.height ||
        h.scene.find('\n') != std::string::npos)
        return BandFailure("no such band");
    std::unique_ptr<BandWriter> w(new BandWriter);
    w->out_ = out;
    w->header_ = h;
    w->z_ = std::make_unique<Stream>();
    if (deflateInit(&w->z_->z, Z_DEFAULT_COMPRESSION) != Z_OK) return Failure{kOutOfMemory};
    w->buffer_.resize(kChunk);
    if (std::fprintf(out, "%s\n%d %d %d %d %d\n%s\n", kMagic, h.width, h.height, h.first, h.last,
                     h.kind, h.scene.c_str()) < 0)
        return BandFailure("cannot write");
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
        if (n && std::fwrite(buffer_.data(), 1, n, out_) != n) return BandFailure("cannot write");
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
    return std::fflush(out_) == 0 ? Status{} : Status{BandFailure("cannot write")};
}

BandReader::~BandReader() {
    if (z_) inflateEnd(&z_->z);
}

Result<std::unique_ptr<BandReader>> BandReader::Start(std::FILE* in) {
    std::unique_ptr<BandReader> r(new BandReader);
    r->in_ = in;
    char line[4096];
    auto getLine = [&](std::string& out) {
        if (!std::fgets(line, sizeof line, in)) return false;
        out = line;
        if (out.empty() || out.back() != '\n') return false;
        out.pop_back();
        return true;
    };
    std::string magic, sizes;
    BandHeader& h = r->header_;
    if (!getLine(magic) || magic != kMagic) return BandFailure("not a band of this program");
    std::istringstream numbers;
    if (getLine(sizes)) numbers.str(sizes);
    if (!(numbers >> h.width >> h.height >> h.first >> h.last >> h.kind) || h.width < 1 ||
        h.height < 1 || h.first < 0 || h.last < h.first || h.last >= h.height ||
        h.width > 1 << 20 || !getLine(h.scene))
        return BandFailure("a damaged header");
    r->z_ = std::make_unique<Stream>();
    if (inflateInit(&r->z_->z) != Z_OK) return Failure{kOutOfMemory};
    r->input_.resize(kChunk);
    r->row_.resize(RowBytes(h.width));
    return r;
}

Status BandReader::Get(void* data, std::size_t size) {
    z_stream& z = z_->z;
    z.next_out = static_cast<Bytef*>(data);
    z.avail_out = static_cast<uInt>(size);
    while (z.avail_out > 0) {
        if (z.avail_in == 0) {
            const std::size_t n = std::fread(input_.data(), 1, input_.size(), in_);
            if (n == 0) return BandFailure("the band ends early");
            z.next_in = input_.data();
            z.avail_in = static_cast<uInt>(n);
        }
        const int rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END && z.avail_out > 0) return BandFailure("the band ends early");
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            return BandFailure("damaged data");
    }
    return {};
}

Status BandReader::Row(std::uint32_t* pixels, std::int32_t* values) {
    if (Status got = Get(row_.data(), row_.size()); !got) return got;
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

}  // namespace vorla
