#pragma once
// Answers of the six interfaces, generated: well-formed ones with values that hold what
// servers send (entities, "~", commas, line breaks in memos), and mutations of them. Used by
// the differential test, the benchmarks and the seed corpora of the fuzz targets.
#include <random>
#include <string>
#include <vector>

namespace pw::testing {

enum class System { Lr, Pm, Vm, Eg, Gdp, Ecu };
inline constexpr System kSystems[] = {System::Lr, System::Pm, System::Vm, System::Eg, System::Gdp, System::Ecu};

inline std::string Pick(std::mt19937& rng, const std::vector<std::string>& from) {
    return from[rng() % from.size()];
}

// A value: letters, digits, blanks, and now and then an entity, a "~" or a lone "&".
inline std::string Value(std::mt19937& rng, bool xml) {
    static const std::vector<std::string> plain = {"U1234567", "10.00", "-2.50", "Demo User", "Shop",
                                                   "2009-03-05 10:00:00", "order~42", "", "LRUSD", "0"};
    static const std::vector<std::string> escaped = {"Tom &amp; Jerry", "&lt;b&gt;", "&#65;&#x42;", "&foo;",
                                                     "R&D", "&quot;q&apos;", "&#126;"};
    if (xml && rng() % 4 == 0) return Pick(rng, escaped);
    return Pick(rng, plain);
}

inline std::string El(const std::string& name, const std::string& value) {
    return "<" + name + ">" + value + "</" + name + ">";
}

inline std::string Generate(System s, std::mt19937& rng, int records) {
    std::string a;
    switch (s) {
    case System::Lr: {
        a = "<HistoryResponse id=\"" + std::to_string(rng() % 1000) + "\" date=\"x\">";
        if (rng() % 3 == 0) a += "<Error>" + El("Code", "301") + El("Text", Value(rng, true)) + "</Error>";
        if (rng() % 3 == 0)
            a += "<Balance>" + El("CurrencyId", "LRUSD") + El("Value", Value(rng, true)) + El("Date", "d") +
                 El("AccountId", "U1") + "</Balance>";
        a += "<Pager>" + El("PageSize", "50") + El("PageCount", std::to_string(rng() % 4)) + El("PageNumber", "1") +
             El("TotalCount", "7") + "</Pager>";
        for (int i = 0; i < records; ++i) {
            a += "<Receipt>" + El("ReceiptId", std::to_string(i)) + El("Date", Value(rng, true)) +
                 El("PayerName", Value(rng, true)) + El("PayeeName", Value(rng, true)) +
                 El("Amount", Value(rng, true)) + El("Fee", "0.00") + El("ClosingBalance", "1.00") + "<Transfer>" +
                 El("TransferId", std::to_string(i)) + El("TransferType", "transfer") + El("Payer", "U1") +
                 El("Payee", Value(rng, true)) + El("CurrencyId", "LRUSD") + El("Amount", "1") +
                 El("Memo", Value(rng, true)) + El("Anonymous", "false") + El("Source", "API") +
                 "</Transfer></Receipt>";
        }
        if (rng() % 4 == 0)
            a += "<AccountName>" + El("AccountToRetrieve", "U2") + El("Date", "d") + El("Name", Value(rng, true)) +
                 "</AccountName>";
        return a + "</HistoryResponse>";
    }
    case System::Vm: {
        a = "<Response><Status>" + El("Code", Pick(rng, {"Success", "Error", "Failed", "Partial"})) +
            El("Message", Value(rng, true)) + "</Status>";
        if (rng() % 2 == 0) a += El("Balance", Value(rng, true));
        for (int i = 0; i < records; ++i) {
            std::string party = "<AccountId>" + Pick(rng, {"VM100002", "Fee Account", "a~b"}) + "</AccountId>" +
                                El("Name", Value(rng, true));
            if (rng() % 4 == 0) party += El("AccountId", "VM3");
            a += "<Transaction>" + El("TransId", std::to_string(i)) + El("Memo", Value(rng, true)) +
                 El("PaymentId", Value(rng, true)) + El("ToFromAccount", party) + El("Timestamp", Value(rng, true)) +
                 El("Amount", Value(rng, true)) + El("TransType", Pick(rng, {"sent", "received", "fees"})) +
                 "</Transaction>";
        }
        if (rng() % 4 == 0) a += El("AccountName", Value(rng, true));
        return a + "</Response>";
    }
    case System::Pm: {
        const int kind = static_cast<int>(rng() % 3);
        if (kind == 0) return "Error: " + Value(rng, false);
        if (kind == 1) {
            a = "<html><form>";
            if (rng() % 3 == 0) a += "<input name='ERROR' type='hidden' value='" + Value(rng, false) + "'>\n";
            for (int i = 0; i < records; ++i)
                a += "<input name='" + Pick(rng, {"U1", "E2", "G~3", ""}) + "' type='hidden' value='" +
                     Value(rng, false) + "'>\n";
            return a + "</form></html>";
        }
        a = "Time,Type,Batch,Currency,Amount,Fee,Payer Account,Payee Account,Payment ID,Memo\n";
        for (int i = 0; i < records; ++i)
            a += "03/15/2025 10:30,Income," + std::to_string(i) + ",USD," + Value(rng, false) + ",0.13,U7,U1," +
                 Value(rng, false) + "," + Pick(rng, {"first, second\r\nline", "Memo: rent, Nov", "a~b", ""}) + "\n";
        return a;
    }
    case System::Eg: {
        if (rng() % 2 == 0) {
            a = "<html><form>\n";
            if (rng() % 3 == 0) a += "<input type=hidden name=ERROR value=\"" + Value(rng, false) + "\">\n";
            for (int i = 0; i < records; ++i)
                a += "<input type=hidden name=" + Pick(rng, {"Gold_Ounces", "Silver_Ounces", "Gold_Grams", "Pl~at"}) +
                     " value=\"" + Pick(rng, {"1.5", "0.123456", "", "2~"}) + "\">\n";
            return a + "</form></html>";
        }
        a = "Date,Type,Batch,Metal,Weight,Acc,Name,USD,Cur,Rate,Memo\n";
        for (int i = 0; i < records; ++i)
            a += Pick(rng, {"1/2/2009 10:11:12", "3/4/2009", "\"5/6/2009 1:2:3\""}) + ",Payment Received," +
                 std::to_string(i) + ",Gold,0.5,7654321," + Pick(rng, {"\"Payee Shop\"", "Pay~ee", ""}) +
                 ",450.00,USD,900.00," + Value(rng, false) + (rng() % 2 ? "\r\n" : "\n");
        return a;
    }
    case System::Gdp: {
        if (rng() % 3 == 0) a += El("error", Value(rng, false));
        for (int i = 0; i < records; ++i) {
            a += "<balance>";
            for (const char* c : {"USD", "EUR", "GBP"})
                if (rng() % 4) a += El(c, Value(rng, false));
            a += "</balance>";
        }
        return a;
    }
    case System::Ecu:
        if (rng() % 3 == 0) return "ERROR " + Value(rng, false);
        return Value(rng, false) + "/" + Value(rng, false) + (rng() % 3 == 0 ? "/3" : "");
    }
    return a;
}

// Markers of all six interfaces, to be dropped into answers.
inline const std::vector<std::string>& Markers() {
    static const std::vector<std::string> m = {
        "<Receipt>", "</Receipt>", "<Transfer>", "</Transfer>", "<Memo>", "</Memo>", "<Code>", "</Code>",
        "<Error>", "<Balance>", "</Balance>", "<Status>", "<Transaction>", "<AccountId>", "</AccountId>",
        "<Name>", "<ToFromAccount>", "</ToFromAccount>", "<Response>", "Response id=\"", "<input name='ERROR'",
        "<input name='", "value='", "'>", "' ", "<input type=hidden", " name=ERROR", "hidden name=",
        "value=\"", "\">", "<balance>", "<USD>", "</USD>", "<error>", "</error>", "ERROR ", "/", ",", "\n",
        "\r\n", "~", "&amp;", "&", "No Records Found", "Error:", "Memo: ", std::string("\0", 1), "\xff\xfe"};
    return m;
}

// One mutation (never a byte 0x01): cut short, a stretch dropped, doubled or moved, a marker or random bytes
// put in, a value made huge.
inline std::string Mutate(const std::string& a, System, std::mt19937& rng) {
    if (a.empty()) return Pick(rng, Markers());
    const auto at = [&] { return static_cast<std::size_t>(rng() % (a.size() + 1)); };
    std::size_t i = at(), j = at();
    if (i > j) std::swap(i, j);
    switch (rng() % 7) {
    case 0: return a.substr(0, i);                                 // cut short
    case 1: return a.substr(0, i) + a.substr(j);                   // missing
    case 2: return a.substr(0, j) + a.substr(i, j - i) + a.substr(j);  // doubled
    case 3: {                                                      // reordered
        const std::size_t k = at();
        const std::string piece = a.substr(i, j - i), rest = a.substr(0, i) + a.substr(j);
        const std::size_t p = std::min(k, rest.size());
        return rest.substr(0, p) + piece + rest.substr(p);
    }
    case 4: return a.substr(0, i) + Pick(rng, Markers()) + a.substr(i);
    case 5: {
        std::string bytes;
        for (int n = static_cast<int>(rng() % 8); n >= 0; --n) bytes += static_cast<char>(2 + rng() % 254);
        return a.substr(0, i) + bytes + a.substr(i);
    }
    default: return a.substr(0, i) + std::string(1000 + rng() % 5000, static_cast<char>('a' + rng() % 3)) + a.substr(i);  // huge value
    }
}

}  // namespace pw::testing
