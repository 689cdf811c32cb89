#include "info/site_view.h"

namespace pw {

void CSiteView::LoadSite() {
    if (loadedOnce_ || site_.empty()) return;
    loadedOnce_ = true;
    load_(site_);
}

}  // namespace pw
