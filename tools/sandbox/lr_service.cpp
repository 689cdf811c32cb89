#include "lr_service.h"

namespace sandbox {

void RegisterLibertyReserve(httplib::Server&) {}

}  // namespace sandbox
