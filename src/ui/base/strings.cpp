#include "ui/base/strings.h"

#include <QtGlobal>
#include <map>
#include <mutex>

namespace pw {
namespace {

const std::map<int, std::string>& BuiltIn() {
    // The version (102) is data, not language: it has no translation.
    static const std::map<int, std::string> table = {
        {101, QT_TRANSLATE_NOOP("Purseward", "&About Purseward...")},
        {102, "2.9.3"},
        {103, QT_TRANSLATE_NOOP("Purseward", "Enter minutes in interval from 1 to 1000")},
        {104, QT_TRANSLATE_NOOP("Purseward", "New version is available ...")},
        {105, QT_TRANSLATE_NOOP("Purseward", "Your version :")},
        {106, QT_TRANSLATE_NOOP("Purseward", "Version on site :")},
        {107, QT_TRANSLATE_NOOP("Purseward", "Current IP :")},
        {108, QT_TRANSLATE_NOOP("Purseward", "Send/Received (KB) :")},
        {109, QT_TRANSLATE_NOOP("Purseward", "Close Program ?")},
        {110, QT_TRANSLATE_NOOP("Purseward", "You are don't entered Liberty Reserve number")},
        {111, QT_TRANSLATE_NOOP("Purseward", "You are don't entered API-Name")},
        {112, QT_TRANSLATE_NOOP("Purseward", "You are don't entered password for API")},
        {113, QT_TRANSLATE_NOOP("Purseward", "Balance is changed")},
        {114, QT_TRANSLATE_NOOP("Purseward", "You are don't checked any option for filter")},
        {115, QT_TRANSLATE_NOOP("Purseward", "Count of operation for select must be less than 50")},
        {116,
         QT_TRANSLATE_NOOP("Purseward",
                           "You are checked option for select on LR-number, but don't entered it")},
        {117, QT_TRANSLATE_NOOP(
                  "Purseward", "You are checked option for select on Batch, but don't entered it")},
        {118, QT_TRANSLATE_NOOP("Purseward", "AutoRefresh every")},
        {119, QT_TRANSLATE_NOOP("Purseward", "min")},
        {120, QT_TRANSLATE_NOOP("Purseward", "Export complete")},
        {121, QT_TRANSLATE_NOOP("Purseward", "File")},
        {122, QT_TRANSLATE_NOOP("Purseward", "created")},
        {123, QT_TRANSLATE_NOOP("Purseward", "Add Record")},
        {124, QT_TRANSLATE_NOOP("Purseward", "Edit Record")},
        {125,
         QT_TRANSLATE_NOOP("Purseward", "You are don't have enough money for make this payment")},
        {126, QT_TRANSLATE_NOOP("Purseward", "Summ of payment can't be negative")},
        {127, QT_TRANSLATE_NOOP("Purseward", "You are don't entered correspond account")},
        {128, QT_TRANSLATE_NOOP("Purseward", "You are don't entered payment summ")},
        {129, QT_TRANSLATE_NOOP("Purseward", "You are entered wrong summ")},
        {130, QT_TRANSLATE_NOOP("Purseward", "Reference: Correspond Account LR")},
        {131, QT_TRANSLATE_NOOP("Purseward", "Reference: Memo for LR-payments")},
        {132, QT_TRANSLATE_NOOP("Purseward", "You are don't entered AccountID")},
        {133,
         QT_TRANSLATE_NOOP("Purseward",
                           "You are checked option for select on PM-number, but don't entered it")},
        {134, QT_TRANSLATE_NOOP("Purseward", "Make Payment")},
        {135, QT_TRANSLATE_NOOP("Purseward", "Reference: Correspond Account PM")},
        {136, QT_TRANSLATE_NOOP("Purseward", "Reference: Memo for PM-payments")},
        {137, QT_TRANSLATE_NOOP("Purseward", "You are don't entered account number")},
        {138, QT_TRANSLATE_NOOP("Purseward", "Reference: Correspond Account VM")},
        {139, QT_TRANSLATE_NOOP("Purseward", "Reference: Memo for VM-payments")},
        {140, QT_TRANSLATE_NOOP("Purseward", "You are don't entered PIN-number")},
        {141, QT_TRANSLATE_NOOP("Purseward", "Date-Time GMT")},
        {142, QT_TRANSLATE_NOOP("Purseward", "Default")},
        {143, QT_TRANSLATE_NOOP("Purseward", "You need restart program for changes take effect")},
        {144, QT_TRANSLATE_NOOP("Purseward", "Income")},
        {145, QT_TRANSLATE_NOOP("Purseward", "Outcome")},
        {146, QT_TRANSLATE_NOOP("Purseward", "Difference")},
        {147, QT_TRANSLATE_NOOP("Purseward", "Get history for account")},
        {148, QT_TRANSLATE_NOOP("Purseward", "Reference: Correspond Account EG")},
        {149, QT_TRANSLATE_NOOP("Purseward", "Reference: Memo for EG-payments")},
        {150, QT_TRANSLATE_NOOP("Purseward", "New Master-Key was created and saved to ")},
        {151, QT_TRANSLATE_NOOP("Purseward", "Wrong Password or Setting's file is corrupted.")},
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
