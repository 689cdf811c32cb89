#include "accounts/account_client.h"

#include <QtGlobal>

#include "settings/keys.h"
#include "settings/settings_store.h"
#include "ui/base/strings.h"

namespace pw {

std::vector<ColumnSpec> CurrencyBalanceColumns() {
    return {
        {QT_TRANSLATE_NOOP("Purseward", "Currency"), Align::Center, 60},
        {QT_TRANSLATE_NOOP("Purseward", "Value"), Align::Right, 80, "%.2f"},
        {QT_TRANSLATE_NOOP("Purseward", "UpdateDate"), Align::Center, 150},
    };
}

std::vector<ColumnSpec> ReceiptHistoryColumns(bool anonymousAndSource) {
    std::vector<ColumnSpec> columns = {
        {QT_TRANSLATE_NOOP("Purseward", "Date"), Align::Center, 110},
        {QT_TRANSLATE_NOOP("Purseward", "From/To"), Align::Left, 110},
        {QT_TRANSLATE_NOOP("Purseward", "Amount"), Align::Right, 50, "%.2f", true, true},
        {QT_TRANSLATE_NOOP("Purseward", "Fee"), Align::Right, 40, "%.2f"},
        {QT_TRANSLATE_NOOP("Purseward", "Balance"), Align::Right, 60, "%.2f"},
        {QT_TRANSLATE_NOOP("Purseward", "Currency"), Align::Center, 60},
        {QT_TRANSLATE_NOOP("Purseward", "Batch"), Align::Center, 60},
        {QT_TRANSLATE_NOOP("Purseward", "Memo"), Align::Left, 150},
    };
    if (anonymousAndSource) {
        columns.push_back({QT_TRANSLATE_NOOP("Purseward", "Anonymous"), Align::Center, 70});
        columns.push_back({QT_TRANSLATE_NOOP("Purseward", "Source"), Align::Center, 50});
    }
    return columns;
}

std::string TabMessage::Text() const { return id != 0 ? Str(id) : text; }

std::string CodeMessageReport(const TextList& errors) {
    std::string out;
    for (const std::string& e : errors) {
        const TextList f = Split(e, "~");
        out += "Code : " + f[0] + ", Message : " + (f.size() > 1 ? f[1] : std::string()) + " \n";
    }
    return out;
}

std::string ErrorLineReport(const TextList& errors) {
    std::string out;
    for (const std::string& e : errors) out += "Error : " + e + " \n";
    return out;
}

std::string SystemHost(const SettingsStore& settings, int systemIndex) {
    const keys::SystemKeys& k = keys::KeysOf(systemIndex);
    std::string host = settings.GetString(k.section, k.host, k.defaultHost);
    return host.empty() ? std::string(k.defaultHost) : host;
}

}  // namespace pw
