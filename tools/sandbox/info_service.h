#pragma once
// The program's own web site on the plain-HTTP listener: the information page with the
// caller's address, the newest version and the banner list, the strip's background image,
// the banner images and the pages they link to.
#include <httplib.h>

namespace sandbox {

// The version the information page announces.
inline constexpr char kSiteVersion[] = "2.9.3";

// Adds /Info.php (windows-1251; only for the program's user agent "Purseward <version>"),
// /BackImage.jpg, /banners/<1-3>.jpg and /ads/<1-3>.html.
void RegisterInfoSite(httplib::Server& server);

}  // namespace sandbox
