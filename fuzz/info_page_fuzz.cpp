// The information page of the web site and the strip page read back from disk.
#include "fuzz_input.h"
#include "info/banner_strip.h"
#include "info/info_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page = pw::fuzz::Text(data, size);
    (void)pw::FindCurrentIp(page);
    (void)pw::IsNewerVersion(pw::FindLastVersion(page), "2.9.3");
    std::vector<std::string> entries = pw::SplitBannerEntries(page);
    pw::ShuffleEntries(entries, static_cast<std::uint32_t>(size));
    std::vector<pw::BannerEntry> parsed;
    for (const std::string& raw : entries) {
        pw::BannerEntry e;
        if (pw::ParseBannerEntry(raw, e)) parsed.push_back(e);
    }
    (void)pw::ParseStrip(pw::StripPage("http://site", parsed));
    (void)pw::ParseStrip(page);
    (void)pw::UnescapeHtml(page);
    return 0;
}
