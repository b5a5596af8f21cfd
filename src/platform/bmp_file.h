// Windows bitmap (.bmp) files of a screen picture, written byte for byte as the
// platform's own device-independent bitmaps are: BITMAPFILEHEADER, BITMAPINFOHEADER,
// a colour table for depths up to 8, rows padded to 4 bytes, bottom row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A picture as 0xAARRGGBB words, top row first; stride in words.
struct PixelView {
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Bits per pixel of the file for a screen of `screenBits` bits: 1, 4, 8, 24 or 32.
int bitmapBitCount(int screenBits);
// Bytes of the colour table: 4 × 2^bits for up to 8 bits, else 0.
uint32_t colourTableBytes(int bitCount);
// Bytes of one pixel row, padded to a multiple of 4.
uint32_t bitmapRowBytes(int width, int bitCount);

// The whole file. Negative sizes count as 0.
std::vector<uint8_t> encodeBitmap(const PixelView& picture, int bitCount);

// Replaces `path` (through a temporary file in its folder); false, the old file
// untouched, when it cannot be written completely.
bool writeBitmapFile(const std::string& path, const PixelView& picture, int bitCount);

}  // namespace platform
