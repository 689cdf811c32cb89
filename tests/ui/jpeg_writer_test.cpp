// The receipt codec: a JPEG that libjpeg reads back at the same size and colours, and
// refused images and failed writes that leave no file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "../store/temp_dir.h"
#include "jpeg_decode.h"
#include "store/file_io.h"
#include "ui/image/jpeg_writer.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;
using testing::WriteRaw;

TEST(JpegWriter, WritesAFileThatReadsBackAtTheSameSize) {
    // Two flat halves, red and blue, with padding at the end of each row.
    const int w = 37, h = 21;
    const std::size_t stride = w * 3 + 5;
    std::vector<unsigned char> px(stride * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &px[y * stride + x * 3];
            p[0] = x < w / 2 ? 200 : 10;
            p[2] = x < w / 2 ? 10 : 200;
        }
    TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteJpegFile(dir / "LR_777.jpg", RgbImage{px.data(), w, h, stride}, error))
        << error;
    const testing::DecodedJpeg d = testing::DecodeJpeg(ReadAll(dir / "LR_777.jpg"));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, w);
    EXPECT_EQ(d.height, h);
    EXPECT_EQ(d.components, 3);
    const unsigned char* left = &d.pixels[(10 * w + 3) * 3];
    const unsigned char* right = &d.pixels[(10 * w + w - 3) * 3];
    EXPECT_NEAR(left[0], 200, 12);
    EXPECT_NEAR(left[2], 10, 12);
    EXPECT_NEAR(right[0], 10, 12);
    EXPECT_NEAR(right[2], 200, 12);
}

TEST(JpegWriter, FailuresAreReportedAndLeaveNoFile) {
    std::vector<unsigned char> wide(70000 * 3, 128);
    struct Case {
        const char* name;
        RgbImage image;
        const char* file;  // below the folder
        bool failWrites;
    } cases[] = {
        {"empty image", RgbImage{wide.data(), 0, 0, 0}, "a.jpg", false},
        {"too wide for JPEG", RgbImage{wide.data(), 70000, 1, wide.size()}, "a.jpg", false},
        {"rows shorter than the width", RgbImage{wide.data(), 10, 1, 12}, "a.jpg", false},
        {"no pixels", RgbImage{nullptr, 4, 4, 12}, "a.jpg", false},
        {"folder is a file", RgbImage{wide.data(), 8, 8, 24}, "plain/a.jpg", false},
        {"disk full", RgbImage{wide.data(), 8, 8, 24}, "old.jpg", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteRaw(dir / "plain", "a file");
        WriteRaw(dir / "old.jpg", "old");
        if (c.failWrites)
            SetWriteFunctionForTest([](int, const char*, std::size_t) -> long {
                errno = ENOSPC;
                return -1;
            });
        std::string error;
        EXPECT_FALSE(WriteJpegFile(dir / c.file, c.image, error));
        SetWriteFunctionForTest(WriteFunction());
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(std::filesystem::exists(dir / "a.jpg"));
        EXPECT_EQ(ReadAll(dir / "old.jpg"), "old");
        std::size_t files = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
            (void)e;
            ++files;
        }
        EXPECT_EQ(files, 2u);  // plain and old.jpg, no temporary file
    }
    std::string out, error;
    EXPECT_FALSE(EncodeJpeg(RgbImage{wide.data(), 70000, 1, wide.size()}, out, error));
    EXPECT_NE(error.find("pixels"), std::string::npos) << error;  // libjpeg's own reason
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace pw
