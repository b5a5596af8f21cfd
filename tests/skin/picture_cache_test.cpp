// Pictures are decoded once per version of their file.
#include "skin/picture_cache.h"

#include <gtest/gtest.h>

#include <fstream>

#include "skin_fixture.h"
#include "skin_window.h"

namespace {

using PictureCacheTest = SkinTest;
namespace fs = std::filesystem;

QRgb firstPixel(const QString& path) {
    const QImage* image = skin::PictureCache::instance().get(path);
    return image ? image->pixel(0, 0) : 0;
}

TEST_F(PictureCacheTest, DecodesAnUnchangedFileOnce) {
    auto& cache = skin::PictureCache::instance();
    writeStrip("ImageRes/a.png", 4, 4, {0xFFFF0000});
    const size_t before = cache.decodeCount();
    for (int i = 0; i < 50; ++i) ASSERT_EQ(firstPixel("ImageRes/a.png"), 0xFFFF0000u);
    EXPECT_EQ(cache.decodeCount() - before, 1u);
    EXPECT_EQ(cache.size(), 1u);
}

TEST_F(PictureCacheTest, AReplacedFileShowsAtTheNextLookup) {
    writeStrip("ImageRes/a.png", 4, 4, {0xFFFF0000});
    EXPECT_EQ(firstPixel("ImageRes/a.png"), 0xFFFF0000u);

    // Replaced by renaming a new file over it, as installers and editors do.
    writeStrip("ImageRes/new.png", 4, 4, {0xFF00FF00});
    fs::rename("ImageRes/new.png", "ImageRes/a.png");
    EXPECT_EQ(firstPixel("ImageRes/a.png"), 0xFF00FF00u);

    // Rewritten in place with another size.
    writeStrip("ImageRes/a.png", 8, 4, {0xFF0000FF});
    EXPECT_EQ(firstPixel("ImageRes/a.png"), 0xFF0000FFu);
}

TEST_F(PictureCacheTest, MissingDamagedAndOddPathsGiveNothing) {
    auto& cache = skin::PictureCache::instance();
    writeStrip("ImageRes/a.png", 4, 4, {0xFFFF0000});
    ASSERT_NE(cache.get("ImageRes/a.png"), nullptr);
    fs::remove("ImageRes/a.png");
    EXPECT_EQ(cache.get("ImageRes/a.png"), nullptr);
    EXPECT_EQ(cache.size(), 0u) << "a vanished picture is forgotten";

    std::ofstream("ImageRes/broken.png") << "\x89PNG\r\n\x1a\nthis is not a picture";
    EXPECT_EQ(cache.get("ImageRes/broken.png"), nullptr);
    std::ofstream("ImageRes/empty.png");
    EXPECT_EQ(cache.get("ImageRes/empty.png"), nullptr);
    EXPECT_EQ(cache.get("ImageRes"), nullptr);
    EXPECT_EQ(cache.get(""), nullptr);

    writeStrip("ImageRes/a.png", 4, 4, {0xFF00FF00});
    EXPECT_EQ(firstPixel("ImageRes/a.png"), 0xFF00FF00u) << "a picture that comes back is drawn again";
}

TEST_F(PictureCacheTest, DisabledCacheDecodesAtEveryLookup) {
    auto& cache = skin::PictureCache::instance();
    writeStrip("ImageRes/a.png", 4, 4, {0xFFFF0000});
    cache.setEnabled(false);
    const size_t before = cache.decodeCount();
    for (int i = 0; i < 3; ++i) ASSERT_EQ(firstPixel("ImageRes/a.png"), 0xFFFF0000u);
    cache.setEnabled(true);
    EXPECT_EQ(cache.decodeCount() - before, 3u);
}

}  // namespace
