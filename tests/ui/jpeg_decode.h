#pragma once
// Reads a JPEG file back with libjpeg for the tests: its size and colour channels, or
// ok=false when libjpeg refuses it.
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace pw::testing {

struct DecodedJpeg {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    std::vector<unsigned char> pixels;  // RGB rows
};

namespace detail {
struct DecodeError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};
inline void OnDecodeError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<DecodeError*>(cinfo->err)->jump, 1);
}
inline void Quiet(j_common_ptr) {}
inline bool Decode(const std::string& data, DecodedJpeg* out) {
    jpeg_decompress_struct cinfo;
    DecodeError err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnDecodeError;
    err.base.output_message = Quiet;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out->width = static_cast<int>(cinfo.output_width);
    out->height = static_cast<int>(cinfo.output_height);
    out->components = cinfo.output_components;
    out->pixels.resize(static_cast<std::size_t>(out->width) * 3 * out->height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->pixels.data() + cinfo.output_scanline * out->width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}
}  // namespace detail

inline DecodedJpeg DecodeJpeg(const std::string& data) {
    DecodedJpeg d;
    d.ok = detail::Decode(data, &d);
    return d;
}

}  // namespace pw::testing
