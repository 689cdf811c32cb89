#include "ui/image/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <jerror.h>

#include "store/file_io.h"

namespace pw {
namespace {

// libjpeg reports a fatal fault through error_exit, which must not return: it jumps back to
// the encoder with the library's message kept here.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are not printed on the terminal.
void OnMessage(j_common_ptr) {}

// The stream goes into a string of the caller, one chunk at a time.
struct Destination {
    jpeg_destination_mgr base;
    std::string* out;
    JOCTET chunk[16384];
};

void Fail(j_compress_ptr cinfo, int code) {
    cinfo->err->msg_code = code;
    (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
}

bool Flush(Destination* d, std::size_t n) {
    try {
        d->out->append(reinterpret_cast<const char*>(d->chunk), n);
        return true;
    } catch (...) {
        return false;
    }
}

void InitDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->base.next_output_byte = d->chunk;
    d->base.free_in_buffer = sizeof d->chunk;
}

boolean EmptyDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    if (!Flush(d, sizeof d->chunk)) Fail(cinfo, JERR_OUT_OF_MEMORY);
    d->base.next_output_byte = d->chunk;
    d->base.free_in_buffer = sizeof d->chunk;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    if (!Flush(d, sizeof d->chunk - d->base.free_in_buffer)) Fail(cinfo, JERR_OUT_OF_MEMORY);
}

// Only plain C data lives in this frame, so that a jump out of libjpeg skips no destructor.
bool Compress(const RgbImage& image, std::string* out, char* message) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    Destination dest;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.output_message = OnMessage;
    err.message[0] = '\0';
    dest.base.init_destination = InitDestination;
    dest.base.empty_output_buffer = EmptyDestination;
    dest.base.term_destination = TermDestination;
    dest.out = out;
    if (setjmp(err.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_compress(&cinfo);
    cinfo.dest = &dest.base;
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.data + cinfo.next_scanline * image.stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

bool EncodeJpeg(const RgbImage& image, std::string& out, std::string& error) {
    out.clear();
    error.clear();
    // Pixels the image does not have are never read.
    if (image.width < 0 || image.height < 0 ||
        (image.width > 0 && image.height > 0 &&
         (image.data == nullptr || image.stride < static_cast<std::size_t>(image.width) * 3))) {
        error = "The image has no pixels to encode";
        return false;
    }
    char message[JMSG_LENGTH_MAX] = {};
    if (!Compress(image, &out, message)) {
        out.clear();
        error = message;
        return false;
    }
    return true;
}

bool WriteJpegFile(const std::string& path, const RgbImage& image, std::string& error) {
    std::string jpeg;
    if (!EncodeJpeg(image, jpeg, error)) return false;
    if (!WriteFileAtomic(path, jpeg)) {
        error = "The file could not be written";
        return false;
    }
    return true;
}

}  // namespace pw
