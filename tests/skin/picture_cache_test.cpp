// Pictures are decoded once per version of their file; the file system tells
// the cache of new versions, so unchanged files are not looked at on disk.
#include "skin/picture_cache.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
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

// Lets the event loop bring the file system's news until `path` shows `pixel`
// (0: nothing); what a running program does between two paints.
bool shows(const QString& path, QRgb pixel) {
    QElapsedTimer clock;
    clock.start();
    while (firstPixel(path) != pixel && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return firstPixel(path) == pixel;
}

TEST_F(PictureCacheTest, DecodesAnUnchangedFileOnceAndDoesNotLookAtItAgain) {
    auto& cache = skin::PictureCache::instance();
    writeStrip("ImageRes/a.png", 4, 4, {0xFFFF0000});
    const size_t decodes = cache.decodeCount();
    ASSERT_EQ(firstPixel("ImageRes/a.png"), 0xFFFF0000u);
    const size_t checks = cache.checkCount();
    for (int i = 0; i < 50; ++i) ASSERT_EQ(firstPixel("ImageRes/a.png"), 0xFFFF0000u);
    QCoreApplication::processEvents();
    EXPECT_EQ(firstPixel("ImageRes/a.png"), 0xFFFF0000u);
    EXPECT_EQ(cache.decodeCount() - decodes, 1u);
    EXPECT_EQ(cache.checkCount(), checks) << "no file-system call for an unchanged picture";
    EXPECT_EQ(cache.size(), 1u);
}

TEST_F(PictureCacheTest, AReplacedOrRewrittenFileShowsOnceTheEventLoopRan) {
    writeStrip("ImageRes/a.png", 4, 4, {0xFFFF0000});
    EXPECT_EQ(firstPixel("ImageRes/a.png"), 0xFFFF0000u);

    // Replaced by renaming a new file over it, as installers and editors do.
    writeStrip("ImageRes/new.png", 4, 4, {0xFF00FF00});
    fs::rename("ImageRes/new.png", "ImageRes/a.png");
    EXPECT_TRUE(shows("ImageRes/a.png", 0xFF00FF00u));

    // Rewritten in place with another size, twice (the watch survives the first).
    writeStrip("ImageRes/a.png", 8, 4, {0xFF0000FF});
    EXPECT_TRUE(shows("ImageRes/a.png", 0xFF0000FFu));
    writeStrip("ImageRes/a.png", 8, 4, {0xFF00FFFF});
    EXPECT_TRUE(shows("ImageRes/a.png", 0xFF00FFFFu));
    EXPECT_EQ(skin::PictureCache::instance().get("ImageRes/a.png")->width(), 8);
}

TEST_F(PictureCacheTest, MissingDamagedAndOddPathsGiveNothing) {
    auto& cache = skin::PictureCache::instance();
    writeStrip("ImageRes/a.png", 4, 4, {0xFFFF0000});
    ASSERT_NE(cache.get("ImageRes/a.png"), nullptr);
    fs::remove("ImageRes/a.png");
    EXPECT_TRUE(shows("ImageRes/a.png", 0));
    EXPECT_EQ(cache.size(), 0u) << "a vanished picture is forgotten";

    std::ofstream("ImageRes/broken.png") << "\x89PNG\r\n\x1a\nthis is not a picture";
    EXPECT_EQ(cache.get("ImageRes/broken.png"), nullptr);
    std::ofstream("ImageRes/empty.png");
    EXPECT_EQ(cache.get("ImageRes/empty.png"), nullptr);
    EXPECT_EQ(cache.get("ImageRes"), nullptr);
    EXPECT_EQ(cache.get(""), nullptr);

    writeStrip("ImageRes/a.png", 4, 4, {0xFF00FF00});
    EXPECT_TRUE(shows("ImageRes/a.png", 0xFF00FF00u)) << "a picture that comes back is drawn again";
    writeStrip("ImageRes/broken.png", 4, 4, {0xFF0000FF});
    EXPECT_TRUE(shows("ImageRes/broken.png", 0xFF0000FFu)) << "a damaged picture mended is drawn";
}

TEST_F(PictureCacheTest, AFolderThatDoesNotExistYetIsHeardWhenItComes) {
    EXPECT_EQ(firstPixel("Later/deeper/a.png"), 0u);
    fs::create_directories("Later/deeper");
    QCoreApplication::processEvents();
    EXPECT_EQ(firstPixel("Later/deeper/a.png"), 0u);
    writeStrip("Later/deeper/a.png", 4, 4, {0xFFFF0000});
    EXPECT_TRUE(shows("Later/deeper/a.png", 0xFFFF0000u));

    // The whole folder goes, then comes back with another picture.
    fs::remove_all("Later");
    EXPECT_TRUE(shows("Later/deeper/a.png", 0));
    writeStrip("Later/deeper/a.png", 4, 4, {0xFF00FF00});
    EXPECT_TRUE(shows("Later/deeper/a.png", 0xFF00FF00u));
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
