#include "platform/bmp_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "platform/atomic_file.h"

namespace platform {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;

void put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

uint8_t red(uint32_t p) {
    return uint8_t(p >> 16);
}
uint8_t green(uint32_t p) {
    return uint8_t(p >> 8);
}
uint8_t blue(uint32_t p) {
    return uint8_t(p);
}

// The sixteen colours of the platform's 4-bit palette.
constexpr std::array<uint32_t, 16> kPalette16 = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                 0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Palette entry `i` of a depth as 0x00RRGGBB: black and white; the sixteen colours
// above; for 8 bits a 3-3-2 colour cube, so a pixel's index is its top colour bits.
uint32_t paletteColour(int bitCount, uint32_t i) {
    if (bitCount == 1) return i ? 0xFFFFFF : 0x000000;
    if (bitCount == 4) return kPalette16[i];
    const uint32_t r = (i >> 5) & 7, g = (i >> 2) & 7, b = i & 3;
    return ((r * 255 / 7) << 16) | ((g * 255 / 7) << 8) | (b * 255 / 3);
}

uint32_t paletteIndex(int bitCount, uint32_t p) {
    if (bitCount == 1) return (red(p) * 30 + green(p) * 59 + blue(p) * 11) >= 128 * 100 ? 1 : 0;
    if (bitCount == 8) return (red(p) & 0xE0) | ((green(p) & 0xE0) >> 3) | (blue(p) >> 6);
    uint32_t best = 0, bestDistance = UINT32_MAX;
    for (uint32_t i = 0; i < kPalette16.size(); ++i) {
        const int dr = red(p) - red(kPalette16[i]), dg = green(p) - green(kPalette16[i]),
                  db = blue(p) - blue(kPalette16[i]);
        const uint32_t d = uint32_t(dr * dr + dg * dg + db * db);
        if (d < bestDistance) bestDistance = d, best = i;
    }
    return best;
}

void encodeRow(const uint32_t* src, int width, int bitCount, uint8_t* dst) {
    for (int x = 0; x < width; ++x) {
        const uint32_t p = src[x];
        switch (bitCount) {
            case 32:
                dst[4 * x] = blue(p), dst[4 * x + 1] = green(p), dst[4 * x + 2] = red(p),
                        dst[4 * x + 3] = 0xFF;
                break;
            case 24:
                dst[3 * x] = blue(p), dst[3 * x + 1] = green(p), dst[3 * x + 2] = red(p);
                break;
            case 8:
                dst[x] = uint8_t(paletteIndex(8, p));
                break;
            case 4:
                dst[x / 2] |= uint8_t(paletteIndex(4, p) << (x % 2 ? 0 : 4));
                break;
            default:
                dst[x / 8] |= uint8_t(paletteIndex(1, p) << (7 - x % 8));
                break;
        }
    }
}

}  // namespace

int bitmapBitCount(int screenBits) {
    if (screenBits <= 1) return 1;
    if (screenBits <= 4) return 4;
    if (screenBits <= 8) return 8;
    if (screenBits <= 24) return 24;
    return 32;
}

uint32_t colourTableBytes(int bitCount) {
    return bitCount <= 8 ? 4u << bitCount : 0;
}

uint32_t bitmapRowBytes(int width, int bitCount) {
    return uint32_t((uint64_t(std::max(width, 0)) * uint64_t(bitCount) + 31) / 32 * 4);
}

std::vector<uint8_t> encodeBitmap(const PixelView& picture, int bitCount) {
    bitCount = bitmapBitCount(bitCount);
    const bool hasPixels = picture.pixels != nullptr;
    const int width = hasPixels ? std::max(picture.width, 0) : 0;
    const int height = hasPixels ? std::max(picture.height, 0) : 0;
    const uint32_t table = colourTableBytes(bitCount);
    const uint32_t row = bitmapRowBytes(width, bitCount);
    const uint32_t image = row * uint32_t(height);
    const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + table;

    std::vector<uint8_t> out(size_t(offset) + image, 0);
    put16(out, 0, 0x4D42);  // "BM"
    put32(out, 2, offset + image);
    put32(out, 10, offset);
    put32(out, 14, kInfoHeaderBytes);
    put32(out, 18, uint32_t(width));
    put32(out, 22, uint32_t(height));  // positive: bottom-up rows
    put16(out, 26, 1);
    put16(out, 28, uint32_t(bitCount));
    put32(out, 34, image);
    for (uint32_t i = 0; i < table / 4; ++i) {
        const uint32_t c = paletteColour(bitCount, i);
        const size_t at = kFileHeaderBytes + kInfoHeaderBytes + 4 * i;
        out[at] = blue(c), out[at + 1] = green(c), out[at + 2] = red(c);
    }
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = picture.pixels + size_t(height - 1 - y) * size_t(picture.stride);
        encodeRow(src, width, bitCount, out.data() + offset + size_t(y) * row);
    }
    return out;
}

bool writeBitmapFile(const std::string& path, const PixelView& picture, int bitCount) {
    const std::vector<uint8_t> bytes = encodeBitmap(picture, bitCount);
    // A failed write leaves the earlier picture whole.
    return writeFileAtomically(path,
                               std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace platform
