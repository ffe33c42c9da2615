// The band reader takes any file and gives a verdict, never a fault. An input that starts as
// a band does ("V") is read as it is; any other describes a band (its size and values from
// the input's bytes) that is written, then damaged by one flipped bit, a cut or bytes added
// at a place the input picks: the reader must accept the band and refuse every damaged one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/band_file.h"

namespace {

// Reads a band whole: its header, every row, the checksum and the ends; true when accepted.
bool Accepted(const std::uint8_t* data, std::size_t size) {
    std::FILE* in = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!in) return false;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(in, std::fclose);
    vorla::Result<std::unique_ptr<vorla::BandReader>> started = vorla::BandReader::Start(in);
    if (!started) return false;
    vorla::BandReader& reader = *started.Value();
    const vorla::BandHeader& h = reader.Header();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(h.width));
    std::vector<std::int32_t> values(static_cast<std::size_t>(h.width));
    for (int r = h.first; r <= h.last; ++r)
        if (!reader.Row(pixels.data(), values.data())) return false;
    return reader.Finish().Ok();
}

// The next byte of the input, 0 past its end.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size, at = 0;
    unsigned Next() { return at < size ? data[at++] : 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && data[0] == 'V') {
        (void)Accepted(data, size);
        return 0;
    }
    Bytes in{data, size, 1};
    const int width = 1 + static_cast<int>(in.Next() % 8),
              rows = 1 + static_cast<int>(in.Next() % 4), first = static_cast<int>(in.Next() % 3);
    const vorla::BandHeader header{width,
                                   first + rows + static_cast<int>(in.Next() % 3),
                                   first,
                                   first + rows - 1,
                                   static_cast<int>(in.Next() % 23),
                                   "fuzz " + std::to_string(in.Next()),
                                   std::string(in.Next() % 4, 'v'),
                                   std::string(in.Next() % 4, 's')};
    const unsigned how = in.Next() % 3, where = in.Next() << 8 | in.Next(), bit = in.Next() % 8;
    char* bytes = nullptr;
    std::size_t length = 0;
    std::FILE* out = ::open_memstream(&bytes, &length);
    {
        vorla::Result<std::unique_ptr<vorla::BandWriter>> w = vorla::BandWriter::Start(out, header);
        if (!w) std::abort();
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width));
        std::vector<std::int32_t> values(static_cast<std::size_t>(width));
        for (int r = 0; r < rows; ++r) {
            for (int x = 0; x < width; ++x) {
                pixels[x] = in.Next() << 16 | in.Next() << 8 | in.Next();
                values[x] = static_cast<std::int32_t>(in.Next() << 24 | in.Next());
            }
            if (!w.Value()->Row(pixels.data(), values.data())) std::abort();
        }
        if (!w.Value()->Finish()) std::abort();
    }
    std::fclose(out);
    std::string band(bytes, length);
    std::free(bytes);
    if (!Accepted(reinterpret_cast<const std::uint8_t*>(band.data()), band.size())) std::abort();
    const std::size_t at = where % band.size();
    if (how == 0)
        band[at] = static_cast<char>(band[at] ^ (1 << bit));
    else if (how == 1)
        band.resize(at);
    else
        band.insert(at == 0 ? band.size() : at, 1 + bit, static_cast<char>(in.Next()));
    if (Accepted(reinterpret_cast<const std::uint8_t*>(band.data()), band.size())) std::abort();
    return 0;
}
