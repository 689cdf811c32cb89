#pragma once
// Reads the size of a JPEG stream back with libjpeg for the tests; 0 by 0 when libjpeg
// refuses the stream.
#include <csetjmp>
#include <cstdio>
#include <string>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace pw::testing {

struct JpegSize {
    int width = 0, height = 0, components = 0;
};

namespace detail {
struct DecodeError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};
inline void OnDecodeError(j_common_ptr c) {
    std::longjmp(reinterpret_cast<DecodeError*>(c->err)->jump, 1);
}
inline void ReadHeader(const std::string& data, JpegSize* out) {
    jpeg_decompress_struct cinfo;
    DecodeError err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnDecodeError;
    if (setjmp(err.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.data()),
                     static_cast<unsigned long>(data.size()));
        jpeg_read_header(&cinfo, TRUE);
        *out = JpegSize{static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height),
                        cinfo.num_components};
    }
    jpeg_destroy_decompress(&cinfo);
}
}  // namespace detail

inline JpegSize DecodeJpegSize(const std::string& data) {
    JpegSize s;
    detail::ReadHeader(data, &s);
    return s;
}

}  // namespace pw::testing
