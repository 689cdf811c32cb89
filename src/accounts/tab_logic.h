#pragma once
// The logic of the account tab that needs no window: cell texts, the totals line, the
// balance-change notice, the clipboard text of a record, filter checks and the saved-account
// columns. Texts are byte strings; the tab converts them at its widgets.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "accounts/account_client.h"
#include "accounts/record_text.h"
#include "store/text_list.h"

namespace pw {

// Reads the leading number of a text as atof does (leading blanks, sign, digits, point),
// independent of the process locale; 0 when there is none.
double ParseAmount(std::string_view text);

// "%.2f" of the value as read (double precision), in the C locale whatever the process
// locale is. Only the callers that are told to go through a 32-bit float pass one.
std::string FormatMoney(double value);
// "%.2f" of an exact sum of cents.
std::string FormatCents(std::int64_t cents);
// The amount of a text in whole cents, rounded half away from zero.
std::int64_t ToCents(const std::string& text);

// The text of one cell in a column's format: "%.Nf" shows the field read as a number with N
// decimals (C locale, double precision); any other format is put before the field's text.
// A field the row does not have gives an empty cell.
std::string CellText(const TextList& fields, int column, const std::string& format);
// The same for a field that may be missing (nullopt).
std::string CellText(std::optional<std::string_view> field, const std::string& format);
// "%.2f" for money columns, otherwise a space and the field.
std::string CellText(const TextList& fields, int column, bool money);
// The number of decimals of a "%.Nf" format, or -1 for a text format.
int NumberFormatDecimals(const std::string& format);

// Income and outcome of the history rows: the amount column summed in whole cents, so the
// sums are exact. An amount above 0 is income; any other amount adds its negation to the
// outcome (0.00 adds nothing).
struct Totals {
    std::int64_t incomeCents = 0;
    std::int64_t outcomeCents = 0;
};
Totals SumHistory(const RowList& rows, int amountColumn);
// "Income : %.2f -=- Outcome : %.2f -=- Difference : %.2f" with the string table's words.
std::string TotalsLine(const Totals& totals);
// True when the amount text counts as income (drawn green).
bool IsIncome(const std::string& amountText);

// The balance-change notice: for each new row with an old row at the same position whose
// currency is equal and whose value text differs, a line "cur : old/new\r\n", preceded once
// by "Balance is changed [<prefix><<account>>]\r\n". changed tells whether any value differed.
struct ChangeNotice {
    std::string text;
    bool changed = false;
};
// fields: which fields are the currency, the compared value and the reported value.
ChangeNotice BuildChangeNotice(const RowList& oldRows, const RowList& newRows,
                               const std::string& prefix, const std::string& account,
                               const ChangeFields& fields = {});

// The text of a history row (clipboard, record view) in the system's record format; hide: the
// "HideLastDigit" setting, applied to the counterpart.
std::string RecordText(const std::string& row, const RecordDescription& description, bool hide,
                       int hideCount);
// The first word (up to the first space) of a text.
std::string FirstWord(const std::string& text);

// The first login problem (account, API name, secret missing), or an empty message.
TabMessage LoginProblem(const LoginFields& login, const SystemTraits& traits);

// An account that may become part of a file name (the schedule file is named after it):
// no "/", "\", "..", NUL or other control character. An empty account is not judged here.
bool IsSafeAccount(const std::string& account);
extern const char kUnsafeAccountMessage[];

// The corrections and stops of the history filter before a request.
struct FilterCheck {
    std::vector<TabMessage> messages;  // to show, in order; a silent correction adds none
    bool stop = false;          // 116 or 117: nothing is sent
    bool forcedGetLast = false; // 114: "Get last" was switched on
};
// hasGetLast: the tab offers the "Get last" option; only then is a filter without any option
// switched to it with 114.
FilterCheck CheckHistoryFilter(HistoryFilter& filter, const SystemTraits& traits,
                               bool hasGetLast);

// Settings dates "%d/%m/%Y"; nullopt when the text is not a valid date.
std::string FormatSettingsDate(const Date& d);
std::optional<Date> ParseSettingsDate(const std::string& text);

// Texts of the context menus.
std::string AutoRefreshItemText(int minutes);
std::string HistoryForAccountItemText(const std::string* counterpart);

// Saved accounts are stored column by column: one "~"-joined text per field position. The
// texts hold the saved passwords: every copy these functions let go of is wiped.
TextList SavedRowsFromColumns(const TextList& columns);
TextList ColumnsFromSavedRows(const TextList& rows, std::size_t columnCount);

// Overwrites every text of the list (it held a secret), then empties it.
void WipeTexts(TextList& texts);

// The "~" that joins the fields of every row; no value may hold it.
bool HoldsFieldSeparator(const std::string& text);

}  // namespace pw
