#include "accounts/record_text.h"

#include "store/text_list.h"

namespace pw {

namespace {

std::string FieldOf(const TextList& fields, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < fields.size()
               ? fields[static_cast<std::size_t>(i)]
               : std::string();
}

// Replaces each "%s" of the format by the next value; a format with more "%s" than values
// gets empty texts. Values are inserted as they are, never read as formats.
std::string Fill(const std::string& format, const std::vector<std::string>& values) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (next < values.size()) out += values[next];
            ++next;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

RecordDescription Make(const char* prefix, std::vector<RecordLine> lines, int counterpart,
                       int image, bool endsWithLineBreak) {
    RecordDescription d;
    d.prefix = prefix;
    d.lines = std::move(lines);
    d.counterpartField = counterpart;
    d.imageField = image;
    d.endsWithLineBreak = endsWithLineBreak;
    return d;
}

}  // namespace

// Field positions below count from 0; the history columns of each system decide them.
const RecordDescription& LibertyReserveRecord() {
    static const RecordDescription d = Make("LR",
                                            {{"Date : %s", {0}},
                                             {"From/To Account : %s", {1}},
                                             {"Amount : %s", {2}},
                                             {"Currency : %s", {5}},
                                             {"Batch : %s", {6}},
                                             {"Memo : %s", {7}}},
                                            1, 6, false);
    return d;
}

const RecordDescription& PerfectMoneyRecord() {
    static const RecordDescription d = Make("PM",
                                            {{"Date : %s", {0}},
                                             {"From/To Account : %s", {1}},
                                             {"Amount : %s", {2}},
                                             {"Currency : %s", {4}},
                                             {"Batch : %s", {5}},
                                             {"Memo : %s", {6}},
                                             {"Payment ID : %s", {7}}},
                                            1, 5, false);
    return d;
}

const RecordDescription& VMoneyRecord() {
    static const RecordDescription d = Make("VM",
                                            {{"Date : %s", {0}},
                                             {"TransType : %s", {1}},
                                             {"From/To Account : %s", {2}},
                                             {"Amount : %s", {3}},
                                             {"Batch : %s", {4}},
                                             {"Memo : %s", {5}}},
                                            2, 4, true);
    return d;
}

const RecordDescription& EGoldRecord() {
    static const RecordDescription d = Make("EG",
                                            {{"Date : %s", {0}},
                                             {"Payment Type : %s", {1}},
                                             {"From/To Account : %s", {5}},
                                             {"Weight : %s oz %s", {3, 2}},
                                             {"Amount : %s", {4}},
                                             {"Currency : %s", {6}},
                                             {"Batch : %s", {8}},
                                             {"Memo : %s", {9}}},
                                            5, 8, false);
    return d;
}

const RecordDescription* RecordDescriptionOf(int systemIndex) {
    switch (systemIndex) {
        case 0: return &LibertyReserveRecord();
        case 1: return &PerfectMoneyRecord();
        case 2: return &VMoneyRecord();
        case 3: return &EGoldRecord();
        default: return nullptr;
    }
}

std::string MaskCounterpart(const std::string& counterpart, int hideCount) {
    if (hideCount < 1 || counterpart.empty()) return counterpart;
    const std::size_t space = counterpart.find(' ');
    const std::string first = counterpart.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : counterpart.substr(space);
    const auto n = static_cast<std::size_t>(hideCount);
    const std::string kept = first.size() > n ? first.substr(0, first.size() - n) : std::string();
    return kept + std::string(n, '*') + rest;
}

std::string RenderRecord(const RecordDescription& description, std::string_view row,
                         const Masking& masking) {
    const TextList fields = Split(row, "~");
    std::string text;
    for (std::size_t i = 0; i < description.lines.size(); ++i) {
        const RecordLine& line = description.lines[i];
        std::vector<std::string> values;
        for (int f : line.fields) {
            std::string v = FieldOf(fields, f);
            if (f == description.counterpartField && masking.hide)
                v = MaskCounterpart(v, masking.count);
            values.push_back(std::move(v));
        }
        if (i > 0) text += "\r\n";
        text += Fill(line.format, values);
    }
    if (description.endsWithLineBreak) text += "\r\n";
    return text;
}

std::string ReceiptImageName(const RecordDescription& description, std::string_view row) {
    // The batch comes from the server: it may not lead the name into another folder.
    std::string batch = FieldOf(Split(row, "~"), description.imageField);
    for (char& c : batch)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
    return description.prefix + "_" + batch + ".jpg";
}

}  // namespace pw
