// The receipt codec: images libjpeg refuses and writes that fail are reported and leave no
// file. (A receipt that reads back at its size: history_view_test.)
#include <gtest/gtest.h>

#include <cerrno>
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

TEST(JpegWriter, FailuresAreReportedAndLeaveNoFile) {
    std::vector<unsigned char> px(70000 * 3, 128);
    struct Case {
        const char* name;
        RgbImage image;
        const char* file;  // below the folder
        bool failWrites;
        const char* reason;
    } cases[] = {
        {"written", RgbImage{px.data(), 9, 7, 30}, "a.jpg", false, ""},
        {"empty image", RgbImage{px.data(), 0, 0, 0}, "a.jpg", false, "Empty JPEG image"},
        {"too wide for JPEG", RgbImage{px.data(), 70000, 1, px.size()}, "a.jpg", false, "65500"},
        {"rows shorter than the width", RgbImage{px.data(), 10, 1, 12}, "a.jpg", false, "no"},
        {"folder is a file", RgbImage{px.data(), 8, 8, 24}, "plain/a.jpg", false, "written"},
        {"disk full", RgbImage{px.data(), 8, 8, 24}, "old.jpg", true, "written"},
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
        const bool ok = WriteJpegFile(dir / c.file, c.image, error);
        SetWriteFunctionForTest(WriteFunction());
        EXPECT_EQ(ok, c.reason[0] == '\0');
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(std::filesystem::exists(dir / "a.jpg"), ok);
        EXPECT_EQ(testing::DecodeJpegSize(ReadAll(dir / "a.jpg")).width, ok ? 9 : 0);
        EXPECT_EQ(ReadAll(dir / "old.jpg"), "old");
        // No temporary file is left behind.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), ok ? 3 : 2);
    }
}

}  // namespace
}  // namespace pw
