#pragma once
// The text of one history record, as the record dialog shows it and "Copy current record"
// copies it, described per payment system as data: lines with their fields, the counterpart
// field that is masked, and the field that names the receipt image. No widgets.
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// One line of the record text. Each "%s" of the format takes the next field, in order.
struct RecordLine {
    std::string format;       // "Weight : %s oz %s" (without the line break)
    std::vector<int> fields;  // 0-based positions in the "~"-separated history row
};

struct RecordDescription {
    std::string prefix;  // "LR": the receipt image is "<prefix>_<image field>.jpg"
    std::vector<RecordLine> lines;
    int counterpartField = 1;         // masked when "HideLastDigit" is set
    int imageField = 6;               // the batch number
    bool endsWithLineBreak = false;   // the lines are joined by CR LF; V-Money ends with one
};

// The descriptions of the four full tabs; nullptr for a system that has none (GDP, ECU).
const RecordDescription* RecordDescriptionOf(int systemIndex);
const RecordDescription& LibertyReserveRecord();
const RecordDescription& PerfectMoneyRecord();
const RecordDescription& VMoneyRecord();
const RecordDescription& EGoldRecord();

// "HideLastDigit" and "HideLastDigitValue" of the settings.
struct Masking {
    bool hide = false;
    int count = 0;
};

// Masks the counterpart: its first word (up to the first space) loses its last count
// characters and gets count asterisks in their place; a first word shorter than count becomes
// count asterisks. A count below 1 and an empty text leave the text as it is.
std::string MaskCounterpart(const std::string& counterpart, int hideCount);

// The record text of a history row. A field the row does not have is empty.
std::string RenderRecord(const RecordDescription& description, std::string_view row,
                         const Masking& masking);

// The proposed name of the receipt image, a bare file name: "LR_<batch>.jpg".
std::string ReceiptImageName(const RecordDescription& description, std::string_view row);

}  // namespace pw
