// Build tool: turns a language table kept as UTF-8 text in the source tree into the form the
// localizer reads, UTF-16 little-endian with a byte-order mark and CR LF line ends.
//   lang-table-convert IN.txt OUT
// Exit 2 with one line on stderr when the input is no valid UTF-8.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool decodeUtf8(const std::string& in, std::vector<char32_t>& out, std::size_t& badAt) {
    std::size_t i = 0;
    if (in.size() >= 3 && static_cast<unsigned char>(in[0]) == 0xEF &&
        static_cast<unsigned char>(in[1]) == 0xBB && static_cast<unsigned char>(in[2]) == 0xBF)
        i = 3; // a byte-order mark of UTF-8 is no text
    while (i < in.size()) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        int extra = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            badAt = i;
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= in.size()) { // cut off at the end
            badAt = i;
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(in[i + static_cast<std::size_t>(k)]);
            if ((d & 0xC0) != 0x80) {
                badAt = i;
                return false;
            }
            cp = (cp << 6) | (d & 0x3F);
        }
        i += static_cast<std::size_t>(extra) + 1;
        out.push_back(cp);
    }
    return true;
}

void put16(std::string& out, unsigned unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lang-table-convert IN.txt OUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "lang-table-convert: cannot read %s\n", argv[1]);
        return 2;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<char32_t> text;
    std::size_t badAt = 0;
    if (!decodeUtf8(bytes, text, badAt)) {
        std::fprintf(stderr, "lang-table-convert: %s: no UTF-8 at byte %zu\n", argv[1], badAt);
        return 2;
    }
    std::string out;
    out.reserve(2 * text.size() + 64);
    put16(out, 0xFEFF);
    char32_t previous = 0;
    for (char32_t cp : text) {
        if (cp == U'\n' && previous != U'\r')
            put16(out, U'\r'); // a checkout with LF line ends still gives CR LF
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            put16(out, 0xD800 + (v >> 10));
            put16(out, 0xDC00 + (v & 0x3FF));
        } else {
            put16(out, cp);
        }
        previous = cp;
    }
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "lang-table-convert: cannot write %s\n", argv[2]);
        return 2;
    }
    return 0;
}
