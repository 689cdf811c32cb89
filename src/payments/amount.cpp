#include "payments/amount.h"

#include <cstdlib>

namespace pw {

std::string AmountWithPoint(std::string_view typed) {
    std::string out(typed);
    for (char& c : out)
        if (c == ',') c = '.';
    return out;
}

std::optional<Cents> ExactAmount(std::string_view typed) {
    constexpr std::size_t kMaxWholeDigits = 13;
    Cents whole = 0, frac = 0;
    std::size_t wholeDigits = 0, fracDigits = 0;
    bool point = false;
    for (const char c : typed) {
        if (c == '.' || c == ',') {
            if (point) return std::nullopt;
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                if (++fracDigits > 2) return std::nullopt;
                frac = frac * 10 + (c - '0');
            } else {
                if (++wholeDigits > kMaxWholeDigits) return std::nullopt;
                whole = whole * 10 + (c - '0');
            }
        } else {
            return std::nullopt;
        }
    }
    if (wholeDigits + fracDigits == 0) return std::nullopt;
    if (fracDigits == 1) frac *= 10;
    return whole * 100 + frac;
}

std::optional<Cents> ParseBalance(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.front() == ',' || text.find(',') != std::string_view::npos)
        return std::nullopt;
    const std::optional<Cents> v = ExactAmount(text);
    if (!v) return std::nullopt;
    return negative ? -*v : *v;
}

Cents PmFee(Cents amount) { return (amount * 5 + 500) / 1000; }

}  // namespace pw
