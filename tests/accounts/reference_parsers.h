#pragma once
// The answer parsers written the plain way, straight from their descriptions: every search
// starts at the front of a text that loses each stretch it takes (std::string::find and
// erase). Slow (the square of the answer) but obviously right; the differential test holds
// the real parsers to them. Values go through the same row functions as in the parsers.
// What is taken out leaves one mark byte (kGone) behind, removed again from every value: the
// parsers take a marker only where the server sent it whole, never one made by joining the
// two sides of a stretch taken out. Answers given to these must not hold kGone.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "accounts/answer_text.h"
#include "accounts/ecu/ecu_client.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/gdp/gdp_client.h"
#include "accounts/lr/lr_parser.h"
#include "accounts/pm/pm_parser.h"
#include "accounts/pm/pm_client.h"
#include "accounts/request_text.h"
#include "accounts/tab_logic.h"
#include "accounts/vm/vm_parser.h"
#include "store/text_list.h"

namespace pw::reference {

inline constexpr char kGone = '\x01';

// Takes [pos, pos + len) out of t, leaving the mark.
inline void Erase(std::string& t, std::size_t pos, std::size_t len = std::string::npos) {
    t.replace(pos, len, 1, kGone);
}
// The text of t without the marks.
inline std::string Clean(std::string t) {
    t.erase(std::remove(t.begin(), t.end(), kGone), t.end());
    return t;
}
inline std::string XmlValue(std::string v) {
    v = Clean(v);
    return v.empty() ? std::string(" ") : RowField(DecodeXmlText(v));
}
inline std::string Blank(std::string v) {
    v = Clean(v);
    return v.empty() ? std::string(" ") : v;
}

inline std::string Stamp(std::time_t now) { return UtcText("%Y-%m-%d %H:%M:%S", now); }

// ---- Liberty Reserve: records kind by kind, each child the first one left anywhere.
class Lr {
public:
    static lr::LrAnswer Parse(std::string t) {
        lr::LrAnswer a;
        const std::string key = "Response id=\"";
        if (const std::size_t p = t.find(key); p != std::string::npos) {
            if (const std::size_t q = t.find('"', p + key.size()); q != std::string::npos) {
                a.responseId = Clean(t.substr(p + key.size(), q - p - key.size()));
                Erase(t, p, q + 1 - p);
            }
        }
        All(t, "Error", {"Code", "Text", "Description"}, a.errors, nullptr);
        All(t, "Balance", {"CurrencyId", "Value", "Date", "AccountId"}, a.balances, nullptr);
        All(t, "Pager", {"PageSize", "PageCount", "PageNumber", "TotalCount"}, a.pagers, nullptr);
        All(t, "AccountName", {"AccountToRetrieve", "Date", "Name"}, a.accountNames, nullptr);
        All(t, "Receipt",
            {"ReceiptId", "Date", "PayerName", "PayeeName", "Amount", "Fee", "ClosingBalance", "Transfer"},
            a.receipts, &a.transfers);
        return a;
    }

private:
    template <class Rows>
    static void All(std::string& t, const std::string& e, const std::vector<std::string>& cs, Rows& rows,
                    RowList* transfers) {
        while (One(t, e, cs, rows, transfers)) {
        }
    }
    // A missing closing tag drops the record and ends its kind.
    template <class Rows>
    static bool One(std::string& t, const std::string& e, const std::vector<std::string>& cs, Rows& rows,
                    RowList* transfers) {
        const std::size_t o = t.find("<" + e + ">");
        if (o == std::string::npos) return false;
        Erase(t, o, e.size() + 2);
        std::string row;
        bool first = true;
        TextList found;
        for (const std::string& c : cs) {
            const std::string open = "<" + c + ">", close = "</" + c + ">";
            const std::size_t s = t.find(open);
            if (s == std::string::npos) continue;
            const std::size_t end = t.find(close, s + open.size());
            if (end == std::string::npos) return false;
            if (c == "Transfer" && transfers) {
                std::string sub = t.substr(s, end + close.size() - s);
                All(sub, "Transfer",
                    {"TransferId", "TransferType", "Payer", "Payee", "CurrencyId", "Amount", "Memo", "Anonymous",
                     "Source"},
                    found, nullptr);
            } else {
                row += (first ? "" : "~") + XmlValue(t.substr(s + open.size(), end - s - open.size()));
                first = false;
            }
            Erase(t, s, end + close.size() - s);
        }
        rows.push_back(row);
        if (transfers)
            for (const std::string& f : found) transfers->push_back(f);
        return true;
    }
};

// ---- V-Money: four passes over a text that loses what they take.
class Vm {
public:
    static vm::VmAnswer Parse(const std::string& answer, std::time_t now) {
        vm::VmAnswer out;
        if (answer.find("<Response>") == std::string::npos) return out;
        std::string text = answer;
        while (Cut(text, "<Status>")) {
            const std::string code = TakeOrBlank(text, "Code");
            const std::string message = TakeOrBlank(text, "Message");
            if (code.find("Error") != std::string::npos || code.find("Fail") != std::string::npos ||
                code.find("Partial") != std::string::npos)
                out.errors.push_back(code + "~" + message);
        }
        while (text.find("<Balance>") != std::string::npos) {
            if (const auto value = Take(text, "Balance", true)) out.balances.push_back("USD~" + *value + "~" + Stamp(now));
        }
        while (Cut(text, "<Transaction>")) {
            TextList f;
            f.push_back(TakeOrBlank(text, "TransId"));
            f.push_back(TakeOrBlank(text, "Memo"));
            f.push_back(TakeOrBlank(text, "PaymentId"));
            const auto party = Take(text, "ToFromAccount", false);
            f.push_back(party ? Party(*party) : std::string(" "));
            f.push_back(TakeOrBlank(text, "Timestamp"));
            f.push_back(TakeOrBlank(text, "Amount"));
            f.push_back(TakeOrBlank(text, "TransType"));
            out.transactions.push_back(JoinList(f, "~"));
        }
        while (text.find("<AccountName>") != std::string::npos) {
            if (const auto name = Take(text, "AccountName", true)) out.accountNames.push_back(*name);
        }
        return out;
    }

private:
    // The first element left, cut out; an opening tag without a closing one is cut alone.
    static std::optional<std::string> Take(std::string& text, const std::string& name, bool decode) {
        const std::string open = "<" + name + ">", close = "</" + name + ">";
        const std::size_t s = text.find(open);
        if (s == std::string::npos) return std::nullopt;
        const std::size_t e = text.find(close, s + open.size());
        if (e == std::string::npos) {
            Erase(text, s, open.size());
            return std::nullopt;
        }
        std::string value = text.substr(s + open.size(), e - s - open.size());
        Erase(text, s, e + close.size() - s);
        if (!decode) return Blank(value);
        return XmlValue(value);
    }
    static std::string TakeOrBlank(std::string& text, const std::string& name) {
        return Take(text, name, true).value_or(" ");
    }
    static bool Cut(std::string& text, const std::string& marker) {
        const std::size_t p = text.find(marker);
        if (p == std::string::npos) return false;
        Erase(text, p, marker.size());
        return true;
    }
    static std::string Party(std::string t) {
        std::string out;
        while (t.find("<AccountId>") != std::string::npos) {
            const auto account = Take(t, "AccountId", true);
            if (!account) continue;
            const std::string name = TakeOrBlank(t, "Name");
            if (!out.empty()) out += ", ";
            out += *account == "Fee Account" ? *account : *account + " (" + name + ")";
        }
        return out.empty() ? std::string(" ") : out;
    }
};

// ---- The table rows of the LR and V-Money clients, field by field from split rows.
inline TextList LrHistoryRows(const RowList& receipts, const RowList& transfers) {
    const auto at = [](const TextList& f, std::size_t i) { return i < f.size() ? f[i] : std::string(); };
    TextList rows;
    for (std::size_t i = 0; i < std::min(receipts.size(), transfers.size()); ++i) {
        const TextList r = Split(receipts[i], "~"), t = Split(transfers[i], "~");
        const double amount = ParseAmount(at(r, 4));
        const std::string counterpart =
            amount > 0 ? at(t, 2) + " (" + at(r, 2) + ")" : at(t, 3) + " (" + at(r, 3) + ")";
        char buf[64];  // what does not fit shows as 0.00
        const auto m = std::to_chars(buf, buf + sizeof buf, amount, std::chars_format::fixed, 2);
        const std::string money = m.ec == std::errc() ? std::string(buf, m.ptr) : "0.00";
        rows.push_back(JoinList({at(r, 1), counterpart, money, at(r, 5), at(r, 6), at(t, 4), at(r, 0),
                                 at(t, 6), at(t, 7), at(t, 8)},
                                "~"));
    }
    return rows;
}

inline TextList VmHistoryRows(const RowList& transactions) {
    const auto at = [](const TextList& f, std::size_t i) { return i < f.size() ? f[i] : std::string(" "); };
    TextList rows;
    for (const std::string_view transaction : transactions) {
        const TextList t = Split(transaction, "~");
        std::string type = at(t, 6), amount = at(t, 5);
        for (char& c : type) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool outgoing = type.find("fee") != std::string::npos || type.find("sent") != std::string::npos ||
                              type.find("withdraw") != std::string::npos;
        if (outgoing && (amount.empty() || amount[0] != '-')) amount = "-" + amount;
        rows.push_back(JoinList({at(t, 4), at(t, 6), at(t, 3), amount, at(t, 0), at(t, 1)}, "~"));
    }
    return rows;
}

// ---- Perfect Money: "Error:" answers, input pages, the history CSV.
class Pm {
public:
    static pm::PmAnswer Parse(const std::string& answer, std::time_t now) {
        pm::PmAnswer out;
        if (answer.rfind("Error:", 0) == 0) {
            out.errors.push_back(answer.substr(6));
            return out;
        }
        if (answer.find("<input name=") != std::string::npos) {
            Inputs(answer, now, out);
            return out;
        }
        out.csv = RowList(Csv(answer));
        return out;
    }

private:
    static void Inputs(std::string text, std::time_t now, pm::PmAnswer& out) {
        Erase(text, 0, text.find("<input name="));
        const std::string err = "<input name='ERROR'", named = "<input name='";
        for (std::size_t m; (m = text.find(err)) != std::string::npos;) {
            Erase(text, m, err.size());
            const std::size_t v = text.find("value='", m);
            if (v == std::string::npos) {
                out.errors.push_back(" ");
                break;
            }
            const std::size_t e = text.find("'>", v + 7);
            if (e == std::string::npos) {
                out.errors.push_back(Blank(text.substr(v + 7)));
                break;
            }
            out.errors.push_back(Blank(text.substr(v + 7, e - v - 7)));
            Erase(text, v, e + 2 - v);
        }
        for (std::size_t m; (m = text.find(named)) != std::string::npos;) {
            const std::size_t n = m + named.size();
            const std::size_t e = text.find("' ", n);
            if (e == std::string::npos) break;
            const std::string name = text.substr(n, e - n);
            Erase(text, m, e + 2 - m);
            const std::size_t v = text.find("value='", m);
            if (v == std::string::npos) break;
            const std::size_t ve = text.find("'>", v + 7);
            if (ve == std::string::npos) break;
            const std::string value = text.substr(v + 7, ve - v - 7);
            Erase(text, v, ve + 2 - v);
            out.inputs.push_back(RowField(Blank(name)) + "~" + RowField(Blank(value)) + "~" + Stamp(now));
        }
    }
    static TextList Csv(const std::string& csv) {
        TextList records;
        if (csv.find("No Records Found") != std::string::npos) return records;
        std::size_t pos = 0;
        bool first = true, headerDropped = false;
        while (pos < csv.size() && csv.find('\n', pos) != std::string::npos) {
            std::string record;
            bool taken = false;
            for (std::size_t lf; (lf = csv.find('\n', pos)) != std::string::npos;) {
                const std::string line = csv.substr(pos, lf - pos);
                if (taken && Split(line, ",").size() >= 10) break;
                for (const char c : line + "\n") record += (c == '\r' || c == '\n') ? ' ' : c == '~' ? '-' : c;
                pos = lf + 1;
                taken = true;
            }
            TextList f = Split(record, ",");
            if (f.size() < 10) {
                if (first) headerDropped = true;
                first = false;
                continue;
            }
            first = false;
            std::string memo = f[9];
            for (std::size_t i = 10; i < f.size(); ++i) memo += "," + f[i];
            if (const std::size_t m = memo.find("Memo: "); m != std::string::npos) memo = memo.substr(m + 6);
            f.resize(9);
            f.push_back(memo);
            records.push_back(JoinList(f, "~"));
        }
        if (!headerDropped && !records.empty()) records.erase(records.begin());
        return records;
    }

public:
    // The table rows of the records: fields 0, 7, 4, 5, 3, 2, the rest joined by "-", 8.
    static TextList HistoryRows(const RowList& records) { return HistoryRows(records.ToList()); }
    static TextList HistoryRows(const TextList& records) {
        TextList rows;
        for (const std::string& record : records) {
            const TextList f = Split(record, "~");
            if (f.size() < 10) continue;
            const std::string memo = JoinList(TextList(f.begin() + 9, f.end()), "-");
            rows.push_back(JoinList({f[0], f[7], f[4], f[5], f[3], f[2], memo, f[8]}, "~"));
        }
        return rows;
    }
};

// ---- e-gold: hidden inputs or the history CSV.
class Eg {
public:
    static eg::EgAnswer Parse(const std::string& answer, const TextList& prices, std::time_t now) {
        eg::EgAnswer out;
        const std::string hidden = "<input type=hidden";
        const std::size_t at = answer.find(hidden);
        if (at == std::string::npos) {
            out.rawHistory = RowList(Csv(answer));
            return out;
        }
        std::string text = answer.substr(at);
        const std::string err = "<input type=hidden name=ERROR", name = "hidden name=";
        for (std::size_t e; (e = text.find(err)) != std::string::npos;) {
            Erase(text, e, err.size());
            bool unfinished = false;
            const auto value = Value(text, unfinished);
            out.errors.push_back(value ? Blank(*value) : std::string());
            if (unfinished) return out;
        }
        while (text.find(hidden) != std::string::npos) {
            bool cut = false;
            std::string n;
            if (const std::size_t p = text.find(name); p != std::string::npos) {
                const std::size_t blank = text.find(' ', p + name.size());
                if (blank == std::string::npos) return out;
                n = Clean(text.substr(p + name.size(), blank - p - name.size()));
                Erase(text, p, blank + 1 - p);
                cut = true;
            }
            bool unfinished = false;
            const auto value = Value(text, unfinished);
            if (unfinished) return out;
            if (!cut && !value) {
                Erase(text, 0, text.find(hidden) + hidden.size());
                continue;
            }
            n = Blank(n);
            if (n.find("_Grams") != std::string::npos) continue;
            out.balances.push_back(eg::BalanceRow(RowField(n.substr(0, n.find('_'))), RowField(Blank(value.value_or(""))), prices, now));
        }
        return out;
    }

private:
    static std::optional<std::string> Value(std::string& text, bool& unfinished) {
        unfinished = false;
        const std::size_t v = text.find("value=\"");
        if (v == std::string::npos) return std::nullopt;
        const std::size_t e = text.find("\">", v + 7);
        if (e == std::string::npos) {
            unfinished = true;
            Erase(text, v);
            return std::nullopt;
        }
        std::string value = Clean(text.substr(v + 7, e - v - 7));
        Erase(text, v, e + 2 - v);
        return value;
    }
    static TextList Csv(const std::string& text) {
        TextList rows;
        if (text.find("No Records Found") != std::string::npos) return rows;
        std::size_t pos = 0;
        for (std::size_t nl; (nl = text.find('\n', pos)) != std::string::npos; pos = nl + 1) {
            std::string line;
            for (std::size_t i = pos; i < nl; ++i)
                if (text[i] != '"') line += text[i];
            TextList fields = Split(line, ",");
            fields[0] = eg::RewriteDate(fields[0]);
            for (std::string& f : fields) f = RowField(f);
            rows.push_back(JoinList(fields, "~"));
        }
        if (!rows.empty()) rows.erase(rows.begin());
        return rows;
    }
};

// ---- GDP: errors, then the balance parts.
inline gdp::Answer Gdp(const std::string& answer, std::time_t now) {
    gdp::Answer out;
    std::string text = answer;
    // Errors, front to back; an unclosed one ends the pass.
    std::string rest;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = text.find("<error>", pos);
        if (at == std::string::npos) break;
        const std::size_t end = text.find("</error>", at + 7);
        if (end == std::string::npos) break;
        out.errors.push_back(Blank(text.substr(at + 7, end - at - 7)));
        rest += text.substr(pos, at - pos);
        pos = end + 8;
    }
    text = rest + text.substr(pos);
    const TextList currencies = {"USD", "EUR", "GBP"};
    std::vector<bool> gone(currencies.size(), false);
    for (std::size_t at = text.find("<balance>"); at != std::string::npos; at = text.find("<balance>")) {
        Erase(text, at, 9);
        bool any = false;
        for (std::size_t i = 0; i < currencies.size(); ++i) {
            if (gone[i]) continue;
            const std::string open = "<" + currencies[i] + ">", close = "</" + currencies[i] + ">";
            const std::size_t s = text.find(open);
            const std::size_t e = s == std::string::npos ? s : text.find(close, s + open.size());
            if (e == std::string::npos) {
                gone[i] = true;
                continue;
            }
            any = true;
            out.balanceRows.push_back(currencies[i] + "~" + RowField(Blank(text.substr(s + open.size(), e - s - open.size()))) +
                                      "~" + Stamp(now));
            Erase(text, s, e + close.size() - s);
        }
        if (!any) break;
    }
    return out;
}

// ---- ECUMoney: "ERROR " markers, then the "/" pieces of an answer without them.
inline ecu::Answer Ecu(const std::string& answer, ecu::AnswerKind kind, std::time_t now) {
    ecu::Answer out;
    std::string text = answer;
    for (std::size_t at; (at = text.find("ERROR ")) != std::string::npos;) {
        text.erase(at, 6);
        if (out.errors.size() < ecu::kMaxErrors) out.errors.push_back(Blank(text));
    }
    if (kind != ecu::AnswerKind::Balance || !out.errors.empty()) return out;
    const TextList pieces = Split(text, "/");
    if (pieces.size() < 2) return out;
    const TextList currencies = {"USD", "EUR"};
    for (std::size_t k = 0; k < 2; ++k) {
        const double d = std::clamp(ParseAmount(pieces[k]), -3.4028234663852886e38, 3.4028234663852886e38);
        out.balanceRows.push_back(currencies[k] + "~" + FormatMoney(static_cast<double>(static_cast<float>(d))) + "~" +
                                  Stamp(now));
    }
    return out;
}

}  // namespace pw::reference
