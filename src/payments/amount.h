#pragma once
// Money of a payment in whole cents: typed amounts, the "%.2f" texts of the program and the
// Perfect Money fee, all exact.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "accounts/tab_logic.h"

namespace pw {

using Cents = std::int64_t;

// The typed amount with every "," replaced by ".".
std::string AmountWithPoint(std::string_view typed);

// A plain decimal number of at most two decimals ("12", "12.5", "12,50", ".5", "7.") in
// whole cents; nullopt for anything else: blanks, a sign, an exponent, letters, a third
// decimal, more than 13 whole digits, no digit at all.
std::optional<Cents> ExactAmount(std::string_view typed);

// A balance text as the tab shows it ("%.2f", possibly negative) in whole cents; nullopt
// when it is not such a number.
std::optional<Cents> ParseBalance(std::string_view text);

// "%.2f" of an exact amount (10050 -> "100.50") is FormatCents of accounts/tab_logic.h.

// The Perfect Money fee: half a percent of the amount, rounded half up to the cent
// (100.00 -> 0.50, 0.99 -> 0.00, 1.00 -> 0.01).
Cents PmFee(Cents amount);

}  // namespace pw
