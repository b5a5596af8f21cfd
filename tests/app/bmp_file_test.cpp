#include "platform/bmp_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b[at] | (b[at + 1] << 8));
}

struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;
    Picture(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h), 0xFF000000) {}
    uint32_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    platform::PixelView view() const { return {pixels.data(), width, height, width}; }
};

TEST(BitmapFile, BitCountFollowsTheScreenDepth) {
    EXPECT_EQ(platform::bitmapBitCount(0), 1);
    EXPECT_EQ(platform::bitmapBitCount(1), 1);
    EXPECT_EQ(platform::bitmapBitCount(2), 4);
    EXPECT_EQ(platform::bitmapBitCount(8), 8);
    EXPECT_EQ(platform::bitmapBitCount(16), 24);
    EXPECT_EQ(platform::bitmapBitCount(24), 24);
    EXPECT_EQ(platform::bitmapBitCount(32), 32);
    EXPECT_EQ(platform::colourTableBytes(8), 1024u);
    EXPECT_EQ(platform::colourTableBytes(4), 64u);
    EXPECT_EQ(platform::colourTableBytes(1), 8u);
    EXPECT_EQ(platform::colourTableBytes(24), 0u);
    EXPECT_EQ(platform::bitmapRowBytes(5, 24), 16u);
    EXPECT_EQ(platform::bitmapRowBytes(5, 1), 4u);
    EXPECT_EQ(platform::bitmapRowBytes(33, 1), 8u);
}

TEST(BitmapFile, TrueColourHeadersAndBottomUpRows) {
    Picture p(3, 2);
    p.at(0, 0) = 0xFF112233;  // top-left
    p.at(2, 1) = 0xFFAABBCC;  // bottom-right
    const auto b = platform::encodeBitmap(p.view(), 32);
    ASSERT_EQ(b.size(), 54u + 4 * 3 * 2);
    EXPECT_EQ(u16(b, 0), 0x4D42);
    EXPECT_EQ(u32(b, 2), b.size());
    EXPECT_EQ(u32(b, 6), 0u);
    EXPECT_EQ(u32(b, 10), 54u);
    EXPECT_EQ(u32(b, 14), 40u);
    EXPECT_EQ(u32(b, 18), 3u);
    EXPECT_EQ(u32(b, 22), 2u);
    EXPECT_EQ(u16(b, 26), 1);
    EXPECT_EQ(u16(b, 28), 32);
    EXPECT_EQ(u32(b, 30), 0u);
    // First stored row is the bottom one; pixels are B, G, R.
    EXPECT_EQ(b[54 + 8], 0xCC);
    EXPECT_EQ(b[54 + 9], 0xBB);
    EXPECT_EQ(b[54 + 10], 0xAA);
    EXPECT_EQ(b[54 + 12], 0x33);
    EXPECT_EQ(b[54 + 13], 0x22);
    EXPECT_EQ(b[54 + 14], 0x11);
}

TEST(BitmapFile, TwentyFourBitRowsArePadded) {
    Picture p(5, 3);
    p.at(4, 2) = 0xFF0000FF;
    const auto b = platform::encodeBitmap(p.view(), 24);
    ASSERT_EQ(b.size(), 54u + 16 * 3);
    EXPECT_EQ(u32(b, 34), 48u);
    EXPECT_EQ(b[54 + 12], 0xFF);  // bottom row, fifth pixel, blue
    EXPECT_EQ(b[54 + 15], 0x00);  // padding
}

TEST(BitmapFile, PalettedDepthsCarryAColourTable) {
    Picture p(9, 1);
    p.at(0, 0) = 0xFFFFFFFF;
    p.at(8, 0) = 0xFFFFFFFF;
    const auto one = platform::encodeBitmap(p.view(), 1);
    ASSERT_EQ(one.size(), 54u + 8 + 4);
    EXPECT_EQ(u32(one, 10), 62u);
    EXPECT_EQ(u32(one, 58), 0x00FFFFFFu);  // entry 1 is white
    EXPECT_EQ(one[62], 0x80);              // first pixel white, the next seven black
    EXPECT_EQ(one[63], 0x80);              // ninth pixel

    p.at(1, 0) = 0xFFFF0000;
    const auto eight = platform::encodeBitmap(p.view(), 8);
    ASSERT_EQ(eight.size(), 54u + 1024 + 12);
    EXPECT_EQ(eight[54 + 1024], 0xFF);
    const uint8_t redIndex = eight[54 + 1024 + 1];
    EXPECT_EQ(u32(eight, 54 + 4 * redIndex), 0x00FF0000u);

    const auto four = platform::encodeBitmap(p.view(), 4);
    ASSERT_EQ(four.size(), 54u + 64 + 8);
    EXPECT_EQ(four[54 + 64], 0xF9);  // white (15), red (9)
}

TEST(BitmapFile, EmptyPictureGivesAHeaderOnlyFile) {
    const auto b = platform::encodeBitmap({nullptr, 0, 0, 0}, 32);
    EXPECT_EQ(b.size(), 54u);
    EXPECT_EQ(u32(b, 18), 0u);
    const auto negative = platform::encodeBitmap({nullptr, -5, 10, 0}, 24);
    EXPECT_EQ(negative.size(), 54u);
}

TEST(BitmapFile, WritingOverwritesAndFailsSafely) {
    const auto dir = std::filesystem::temp_directory_path() / ("bmp_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Vantrel.bmp").string();
    Picture big(10, 10), small(2, 2);
    ASSERT_TRUE(platform::writeBitmapFile(path, big.view(), 32));
    ASSERT_TRUE(platform::writeBitmapFile(path, small.view(), 32));
    EXPECT_EQ(std::filesystem::file_size(path), 54u + 16);
    EXPECT_FALSE(platform::writeBitmapFile("", small.view(), 32));
    EXPECT_FALSE(platform::writeBitmapFile(dir.string(), small.view(), 32));  // a folder
    EXPECT_FALSE(platform::writeBitmapFile((dir / "missing" / "Vantrel.bmp").string(), small.view(), 32));

    // A link planted at the name is replaced, its target never touched; no
    // temporary file is left behind.
    const auto victim = dir / "victim.txt";
    std::ofstream(victim) << "keep me";
    std::filesystem::remove(path);
    std::filesystem::create_symlink(victim, path);
    ASSERT_TRUE(platform::writeBitmapFile(path, small.view(), 32));
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    EXPECT_EQ(std::filesystem::file_size(path), 54u + 16);
    EXPECT_EQ(std::filesystem::file_size(victim), 7u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
