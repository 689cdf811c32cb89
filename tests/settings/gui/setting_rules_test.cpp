// The widget-free rules of the settings dialog: language entry, proxy text, digit field.
#include <gtest/gtest.h>

#include "settings/gui/setting_rules.h"

namespace {

using pw::ProxyParts;

TEST(LanguageEntry, SearchesFromTheSecondEntryThenTheFirst) {
    const std::vector<std::string> entries = {"Default", "Deutsch", "English", "Deutsch-CH"};
    EXPECT_EQ(pw::LanguageEntryFor(entries, ""), 0);
    EXPECT_EQ(pw::LanguageEntryFor(entries, "English"), 2);
    // Prefix, without regard to case; the first match from the second entry on wins.
    EXPECT_EQ(pw::LanguageEntryFor(entries, "eNG"), 2);
    EXPECT_EQ(pw::LanguageEntryFor(entries, "de"), 1);
    EXPECT_EQ(pw::LanguageEntryFor(entries, "Deutsch-"), 3);
    // "Default" is tried last, so it only wins when no language matches.
    EXPECT_EQ(pw::LanguageEntryFor(entries, "def"), 0);
    // No match, or a setting longer than every entry: "Default".
    EXPECT_EQ(pw::LanguageEntryFor(entries, "Russian"), 0);
    EXPECT_EQ(pw::LanguageEntryFor(entries, "EnglishUK"), 0);
    EXPECT_EQ(pw::LanguageEntryFor({"Default"}, "x"), 0);
    EXPECT_EQ(pw::LanguageEntryFor({}, "x"), 0);
}

TEST(LanguageEntry, NonAsciiNamesCompareWithoutCase) {
    const std::vector<std::string> entries = {"Default", "\xd0\xa0\xd1\x83\xd1\x81"};  // "Рус"
    EXPECT_EQ(pw::LanguageEntryFor(entries, "\xd1\x80\xd1\x83"), 1);                  // "ру"
}

TEST(LanguageSetting, NameAtIndexMinusOne) {
    const std::vector<std::string> names = {"Deutsch", "English"};
    EXPECT_EQ(pw::LanguageSettingFor(names, 0), "");
    EXPECT_EQ(pw::LanguageSettingFor(names, -1), "");  // no selection
    EXPECT_EQ(pw::LanguageSettingFor(names, 1), "Deutsch");
    EXPECT_EQ(pw::LanguageSettingFor(names, 2), "English");
    EXPECT_EQ(pw::LanguageSettingFor(names, 3), "");  // past the names
}

TEST(Proxy, SplitTakesThePortOnlyFromExactlyTwoPieces) {
    EXPECT_EQ(pw::SplitProxy(""), (ProxyParts{"", ""}));
    EXPECT_EQ(pw::SplitProxy("proxy.lan"), (ProxyParts{"proxy.lan", ""}));
    EXPECT_EQ(pw::SplitProxy("proxy.lan:3128"), (ProxyParts{"proxy.lan", "3128"}));
    EXPECT_EQ(pw::SplitProxy("proxy.lan:"), (ProxyParts{"proxy.lan", ""}));
    EXPECT_EQ(pw::SplitProxy(":3128"), (ProxyParts{"", "3128"}));
    EXPECT_EQ(pw::SplitProxy("a:b:c"), (ProxyParts{"a", ""}));
    EXPECT_EQ(pw::SplitProxy("::"), (ProxyParts{"", ""}));
}

TEST(Proxy, JoinLeavesOutWhatIsEmpty) {
    EXPECT_EQ(pw::JoinProxy("", ""), "");
    EXPECT_EQ(pw::JoinProxy("", "3128"), "");
    EXPECT_EQ(pw::JoinProxy("h", ""), "h");
    EXPECT_EQ(pw::JoinProxy("h", "3128"), "h:3128");
    // A stored text with two colons comes back as its host alone.
    const ProxyParts p = pw::SplitProxy("a:b:c");
    EXPECT_EQ(pw::JoinProxy(p.host, p.port), "a");
}

TEST(DigitField, ParsesWholeIntegersOnly) {
    EXPECT_EQ(pw::ParseFieldInt("0"), 0);
    EXPECT_EQ(pw::ParseFieldInt("5"), 5);
    EXPECT_EQ(pw::ParseFieldInt("-3"), -3);
    EXPECT_EQ(pw::ParseFieldInt("2147483647"), 2147483647);
    EXPECT_EQ(pw::ParseFieldInt(""), std::nullopt);
    EXPECT_EQ(pw::ParseFieldInt("-"), std::nullopt);
    EXPECT_EQ(pw::ParseFieldInt("3x"), std::nullopt);
    EXPECT_EQ(pw::ParseFieldInt(" 3"), std::nullopt);
    EXPECT_EQ(pw::ParseFieldInt("2147483648"), std::nullopt);  // out of range
}

TEST(DigitField, ClampKeepsZeroToFive) {
    EXPECT_EQ(pw::ClampHiddenDigits(0), 0);
    EXPECT_EQ(pw::ClampHiddenDigits(4), 4);
    EXPECT_EQ(pw::ClampHiddenDigits(5), 5);
    EXPECT_EQ(pw::ClampHiddenDigits(9), 5);
    EXPECT_EQ(pw::ClampHiddenDigits(-3), 3);
    EXPECT_EQ(pw::ClampHiddenDigits(-9), 5);
    EXPECT_EQ(pw::ClampHiddenDigits(-2147483647 - 1), 5);  // no overflow
}

}  // namespace
