#pragma once
// The image codec of the receipt: 8-bit RGB pixels to a JPEG file, through libjpeg at its
// default quality. Encoding happens in memory; the file is written in one atomic step, so a
// failure leaves no file, never half of one. No widgets.
#include <cstddef>
#include <string>

namespace pw {

// Pixels top row first, three bytes (R, G, B) per pixel; rows stride bytes apart.
struct RgbImage {
    const unsigned char* data = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
};

// The JPEG stream of the image in out. False, with the reason in error, when the image is
// empty, too large for JPEG or libjpeg reports a fault.
bool EncodeJpeg(const RgbImage& image, std::string& out, std::string& error);

// Encodes the image and replaces the file at path with it. False, with the reason in error,
// when encoding or writing fails; no file is left behind then.
bool WriteJpegFile(const std::string& path, const RgbImage& image, std::string& error);

}  // namespace pw
