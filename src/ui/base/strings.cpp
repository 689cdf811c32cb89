#include "ui/base/strings.h"

#include <map>
#include <mutex>

namespace pw {
namespace {

const std::map<int, std::string>& BuiltIn() {
    static const std::map<int, std::string> table = {
        {101, "&About Purseward..."},
        {102, "2.9.3"},
        {103, "Enter minutes in interval from 1 to 1000"},
        {104, "New version is available ..."},
        {105, "Your version :"},
        {106, "Version on site :"},
        {107, "Current IP :"},
        {108, "Send/Received (KB) :"},
        {109, "Close Program ?"},
        {110, "You are don't entered Liberty Reserve number"},
        {111, "You are don't entered API-Name"},
        {112, "You are don't entered password for API"},
        {113, "Balance is changed"},
        {114, "You are don't checked any option for filter"},
        {115, "Count of operation for select must be less than 50"},
        {116, "You are checked option for select on LR-number, but don't entered it"},
        {117, "You are checked option for select on Batch, but don't entered it"},
        {118, "AutoRefresh every"},
        {119, "min"},
        {120, "Export complete"},
        {121, "File"},
        {122, "created"},
        {123, "Add Record"},
        {124, "Edit Record"},
        {125, "You are don't have enough money for make this payment"},
        {126, "Summ of payment can't be negative"},
        {127, "You are don't entered correspond account"},
        {128, "You are don't entered payment summ"},
        {129, "You are entered wrong summ"},
        {130, "Reference: Correspond Account LR"},
        {131, "Reference: Memo for LR-payments"},
        {132, "You are don't entered AccountID"},
        {133, "You are checked option for select on PM-number, but don't entered it"},
        {134, "Make Payment"},
        {135, "Reference: Correspond Account PM"},
        {136, "Reference: Memo for PM-payments"},
        {137, "You are don't entered account number"},
        {138, "Reference: Correspond Account VM"},
        {139, "Reference: Memo for VM-payments"},
        {140, "You are don't entered PIN-number"},
        {141, "Date-Time GMT"},
        {142, "Default"},
        {143, "You need restart program for changes take effect"},
        {144, "Income"},
        {145, "Outcome"},
        {146, "Difference"},
        {147, "Get history for account"},
        {148, "Reference: Correspond Account EG"},
        {149, "Reference: Memo for EG-payments"},
        {150, "New Master-Key was created and saved to "},
        {151, "Wrong Password or Setting's file is corrupted."},
    };
    return table;
}

std::mutex& OverrideMutex() {
    static std::mutex m;
    return m;
}
std::map<int, std::string>& Overrides() {
    static std::map<int, std::string> m;
    return m;
}

}  // namespace

std::string Str(int id) {
    {
        std::lock_guard<std::mutex> lock(OverrideMutex());
        auto it = Overrides().find(id);
        if (it != Overrides().end()) return it->second;
    }
    auto it = BuiltIn().find(id);
    return it == BuiltIn().end() ? std::string() : it->second;
}

std::vector<int> StrIds() {
    std::vector<int> ids;
    for (const auto& entry : BuiltIn()) ids.push_back(entry.first);
    return ids;
}

std::string BuiltInStr(int id) {
    auto it = BuiltIn().find(id);
    return it == BuiltIn().end() ? std::string() : it->second;
}

void SetStr(int id, const std::string& text) {
    std::lock_guard<std::mutex> lock(OverrideMutex());
    if (text.empty())
        Overrides().erase(id);
    else
        Overrides()[id] = text;
}

}  // namespace pw
