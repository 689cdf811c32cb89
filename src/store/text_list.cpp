#include "store/text_list.h"

#include <clocale>
#include <cstdlib>
#include <utility>

#include <locale.h>

namespace pw {

std::string JoinList(const TextList& list, const std::string& sep) {
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i != 0) out += sep;
        out += list[i];
    }
    return out;
}

void SplitText(std::string_view text, std::string_view sep, TextList& target) {
    std::size_t index = 0;
    auto put = [&](std::string_view part) {
        if (index < target.size())
            target[index] = part;
        else
            target.emplace_back(part);
        ++index;
    };
    if (sep.empty()) {
        put(text);
        return;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(sep, start);
        if (at == std::string::npos) {
            put(text.substr(start));
            return;
        }
        put(text.substr(start, at - start));
        start = at + sep.size();
    }
}

std::optional<std::string_view> NthField(std::string_view row, std::size_t index) {
    std::size_t from = 0;
    for (; index > 0; --index) {
        const std::size_t tilde = row.find('~', from);
        if (tilde == std::string_view::npos) return std::nullopt;
        from = tilde + 1;
    }
    return row.substr(from, row.find('~', from) - from);  // npos - from: to the end
}

TextList Split(std::string_view text, std::string_view sep) {
    TextList out;
    SplitText(text, sep, out);
    return out;
}

int FindInList(const TextList& list, const std::string& text) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == text) return static_cast<int>(i);
    return -1;
}

namespace {

// strtod in the C locale: the keys are written with a decimal point, and the process locale
// (which Qt takes from the environment) may use a comma, under which "45123.75" would read
// as 45123 and every due time of one day would compare equal.
double ReadNumber(const std::string& text) {
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (c == static_cast<locale_t>(nullptr)) return std::strtod(text.c_str(), nullptr);
    return ::strtod_l(text.c_str(), nullptr, c);
}

}  // namespace

void SortParallel(TextList& keys, TextList& companion) {
    // An exchange sort on the numeric value of each key, as strtod reads it in the C locale;
    // the keys are converted once so that equal texts compare equal however they are spelt.
    std::vector<double> values;
    values.reserve(keys.size());
    for (const std::string& k : keys) values.push_back(ReadNumber(k));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t j = i + 1; j < keys.size(); ++j) {
            if (values[j] < values[i]) {
                std::swap(values[i], values[j]);
                std::swap(keys[i], keys[j]);
                if (j < companion.size()) std::swap(companion[i], companion[j]);
            }
        }
    }
}

}  // namespace pw
