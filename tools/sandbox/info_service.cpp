#include "info_service.h"

#include <jpeglib.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace sandbox {
namespace {

struct Rgb {
    unsigned char r, g, b;
};

std::string EncodeJpeg(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            row[x * 3] = c.r;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

// A 5 x 7 font for the letters the banners carry; each row is five bits, left bit first.
const std::array<unsigned char, 7>* Glyph(char c) {
    static const std::pair<char, std::array<unsigned char, 7>> kFont[] = {
        {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
        {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
        {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
        {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
        {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
        {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
        {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
        {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
        {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
        {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
        {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
        {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
        {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
        {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
        {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    };
    for (const auto& [ch, rows] : kFont)
        if (ch == c) return &rows;
    return nullptr;
}

// True where the text, drawn with 4-pixel dots from (left, top), covers (x, y).
bool TextCovers(const std::string& text, int left, int top, int x, int y) {
    constexpr int kDot = 4;
    const int col = (x - left) / kDot, row = (y - top) / kDot;
    if (x < left || y < top || row >= 7) return false;
    const size_t index = static_cast<size_t>(col / 6);
    if (index >= text.size() || col % 6 == 5) return false;
    const auto* glyph = Glyph(text[index]);
    return glyph && ((*glyph)[row] >> (4 - col % 6)) & 1;
}

std::string BannerImage(int n) {
    static const Rgb kColours[] = {{0x1f, 0x5f, 0xa8}, {0x2e, 0x8b, 0x57}, {0xb0, 0x5a, 0x1a}};
    const Rgb base = kColours[(n - 1) % 3];
    const std::string text = "PURSEWARD AD " + std::to_string(n);
    return EncodeJpeg(468, 60, [&](int x, int y) {
        if (TextCovers(text, 24, 16, x, y)) return Rgb{0xff, 0xff, 0xff};
        const int shade = x * 60 / 468;
        return Rgb{static_cast<unsigned char>(std::min(255, base.r + shade)),
                   static_cast<unsigned char>(std::min(255, base.g + shade)),
                   static_cast<unsigned char>(std::min(255, base.b + shade))};
    });
}

std::string BackImage() {
    return EncodeJpeg(614, 72, [](int x, int y) {
        const unsigned char v = static_cast<unsigned char>(225 + ((x / 8 + y / 8) % 2) * 15);
        return Rgb{v, v, static_cast<unsigned char>(std::min(255, v + 10))};
    });
}

const char* const kTitles[] = {"Purseward sandbox: first offer",
                               "Purseward sandbox: second offer",
                               "Purseward sandbox: third offer"};

// The page is windows-1251 text.
std::string InfoPage(const std::string& host, const std::string& clientAddress) {
    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=windows-1251\"><title>Purseward</title></head><body>\r\n";
    page += "\xC2\xE0\xF8 IP-\xE0\xE4\xF0\xE5\xF1 : " + clientAddress + "<br>\r\n";
    page += std::string("Last version : ") + kSiteVersion + "<br>\r\n";
    for (int n = 1; n <= 3; ++n) {
        page += "http://" + host + "/ads/" + std::to_string(n) + ".html~" + kTitles[n - 1] +
                "~http://" + host + "/banners/" + std::to_string(n) + ".jpg<br>\r\n";
    }
    return page + "</body></html>\r\n";
}

int NumberOf(const httplib::Request& req) {
    const std::string n = req.matches[1];
    return n.size() == 1 && n[0] >= '1' && n[0] <= '3' ? n[0] - '0' : 0;
}

}  // namespace

void RegisterInfoSite(httplib::Server& server) {
    server.Get("/Info.php", [](const httplib::Request& req, httplib::Response& res) {
        if (req.get_header_value("User-Agent").rfind("Purseward ", 0) != 0) {
            res.status = 403;
            res.set_content("forbidden\n", "text/plain");
            return;
        }
        const std::string host = req.get_header_value("Host");
        if (host.empty()) {
            res.status = 400;
            res.set_content("no host\n", "text/plain");
            return;
        }
        res.set_content(InfoPage(host, req.remote_addr), "text/html; charset=windows-1251");
    });
    server.Get("/BackImage.jpg", [](const httplib::Request&, httplib::Response& res) {
        static const std::string image = BackImage();
        res.set_content(image, "image/jpeg");
    });
    server.Get(R"(/banners/(\d+)\.jpg)", [](const httplib::Request& req, httplib::Response& res) {
        static const std::array<std::string, 3> images = {BannerImage(1), BannerImage(2),
                                                          BannerImage(3)};
        const int n = NumberOf(req);
        if (n == 0) {
            res.status = 404;
            return;
        }
        res.set_content(images[n - 1], "image/jpeg");
    });
    server.Get(R"(/ads/(\d+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
        const int n = NumberOf(req);
        if (n == 0) {
            res.status = 404;
            return;
        }
        res.set_content(std::string("<html><head><title>Purseward sandbox</title></head><body><p>") +
                            kTitles[n - 1] + "</p></body></html>\n",
                        "text/html");
    });
}

}  // namespace sandbox
