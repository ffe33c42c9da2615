#include "plane/png_rows.h"

#include <spng.h>

#include <cstring>

namespace vorla {
namespace {

Failure PngFailure(int code) {
    return Failure{std::string("PNG: ") + spng_strerror(code)};
}

}  // namespace

PngRowWriter::PngRowWriter(int width, int height)
    : width_(width), height_(height), rgb_(static_cast<std::size_t>(width) * 3) {}

PngRowWriter::~PngRowWriter() {
    spng_ctx_free(ctx_);
}

Result<std::unique_ptr<PngRowWriter>> PngRowWriter::Start(
    std::FILE* out, int width, int height,
    const std::vector<std::pair<std::string, std::string>>& texts) {
    if (width < 1 || height < 1) return Failure{"PNG: an empty picture"};
    std::unique_ptr<PngRowWriter> w(new PngRowWriter(width, height));
    w->ctx_ = spng_ctx_new(SPNG_CTX_ENCODER);
    if (!w->ctx_) return Failure{kOutOfMemory};
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(width);
    ihdr.height = static_cast<std::uint32_t>(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    std::vector<spng_text> entries(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        spng_text& t = entries[i];
        std::strncpy(t.keyword, texts[i].first.c_str(), sizeof t.keyword - 1);
        t.type = SPNG_TEXT;
        t.length = texts[i].second.size();
        t.text = const_cast<char*>(texts[i].second.c_str());
    }
    int rc = spng_set_png_file(w->ctx_, out);
    if (!rc) rc = spng_set_ihdr(w->ctx_, &ihdr);
    if (!rc && !entries.empty())
        rc = spng_set_text(w->ctx_, entries.data(), static_cast<std::uint32_t>(entries.size()));
    if (!rc)
        rc = spng_encode_image(w->ctx_, nullptr, 0, SPNG_FMT_PNG,
                               SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    if (rc) return PngFailure(rc);
    return w;
}

Status PngRowWriter::Row(const std::uint32_t* pixels) {
    if (rows_ >= height_) return Failure{"PNG: more rows than the picture has"};
    for (int x = 0; x < width_; ++x) {
        const std::uint32_t p = pixels[x];
        rgb_[3 * x] = static_cast<unsigned char>(p >> 16);
        rgb_[3 * x + 1] = static_cast<unsigned char>(p >> 8);
        rgb_[3 * x + 2] = static_cast<unsigned char>(p);
    }
    ++rows_;
    const int rc = spng_encode_row(ctx_, rgb_.data(), rgb_.size());
    // The last row ends the image.
    if (rc && !(rc == SPNG_EOI && rows_ == height_)) return PngFailure(rc);
    return {};
}

Status PngRowWriter::Finish() {
    if (rows_ != height_) return Failure{"PNG: the picture is not complete"};
    return {};
}

PngRowReader::~PngRowReader() {
    spng_ctx_free(ctx_);
}

Result<std::unique_ptr<PngRowReader>> PngRowReader::Start(std::FILE* in) {
    std::unique_ptr<PngRowReader> r(new PngRowReader);
    r->ctx_ = spng_ctx_new(0);
    if (!r->ctx_) return Failure{kOutOfMemory};
    spng_ihdr ihdr{};
    int rc = spng_set_png_file(r->ctx_, in);
    if (!rc) rc = spng_get_ihdr(r->ctx_, &ihdr);
    if (rc) return PngFailure(rc);
    if (ihdr.width > 1u << 30 || ihdr.height > 1u << 30) return Failure{"PNG: too large"};
    r->width_ = static_cast<int>(ihdr.width);
    r->height_ = static_cast<int>(ihdr.height);
    std::uint32_t count = 0;
    if (spng_get_text(r->ctx_, nullptr, &count) == 0 && count > 0) {
        std::vector<spng_text> entries(count);
        if (spng_get_text(r->ctx_, entries.data(), &count) == 0)
            for (const spng_text& t : entries)
                r->texts_.emplace_back(t.keyword, std::string(t.text, t.length));
    }
    r->rgb_.resize(static_cast<std::size_t>(r->width_) * 3);
    rc = spng_decode_image(r->ctx_, nullptr, 0, SPNG_FMT_RGB8, SPNG_DECODE_PROGRESSIVE);
    if (rc) return PngFailure(rc);
    return r;
}

std::string PngRowReader::Text(const std::string& keyword) const {
    for (const auto& [k, t] : texts_)
        if (k == keyword) return t;
    return {};
}

Status PngRowReader::Row(std::uint32_t* pixels) {
    const int rc = spng_decode_row(ctx_, rgb_.data(), rgb_.size());
    if (rc && rc != SPNG_EOI) return PngFailure(rc);
    for (int x = 0; x < width_; ++x)
        pixels[x] = 0xff000000u | (std::uint32_t{rgb_[3 * x]} << 16) |
                    (std::uint32_t{rgb_[3 * x + 1]} << 8) | rgb_[3 * x + 2];
    return {};
}

}  // namespace vorla
