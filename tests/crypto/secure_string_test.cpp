#include "crypto/secure_string.h"

#include <gtest/gtest.h>

#include <string>

namespace pw {
namespace {

bool AllZero(const SecureString& s) {
    for (std::size_t i = 0; i < s.capacity(); ++i)
        if (s.data()[i] != '\0') return false;
    return true;
}

TEST(SecureString, WipeAndMoveLeaveNothingBehindInTheObject) {
    for (const std::string& text : {std::string("short"), std::string(300, 'k')}) {
        SecureString s(text);
        ASSERT_EQ(s.View(), text);
        s.Wipe();
        EXPECT_TRUE(s.empty());
        EXPECT_TRUE(AllZero(s)) << text.size();

        SecureString from(text);
        SecureString to(std::move(from));
        EXPECT_EQ(to.View(), text);
        EXPECT_TRUE(AllZero(from)) << "moved-from, " << text.size();

        SecureString assigned("x");
        SecureString source(text);
        assigned = std::move(source);
        EXPECT_EQ(assigned.View(), text);
        EXPECT_TRUE(AllZero(source)) << "move-assigned from, " << text.size();
        SecureString copy;
        copy = assigned;
        EXPECT_EQ(copy, assigned);
    }
}

TEST(SecureString, JoinedAndSumsOfTheBaseTypeLeaveNoPlainTemporary) {
    for (const std::string& text : {std::string("pw"), std::string(300, 'k')}) {
        const SecureString joined = Joined({"a=", text, std::string("&b="), SecureString(text)});
        EXPECT_EQ(joined, "a=" + text + "&b=" + text);
        EXPECT_GE(joined.capacity(), joined.size());
        // operator+ of the base type gives a base-type text: taken over, its storage wiped.
        std::basic_string<char, std::char_traits<char>, WipingAllocator<char>> sum =
            SecureString(text) + "!";
        const SecureString taken(std::move(sum));
        EXPECT_EQ(taken, text + "!");
        EXPECT_TRUE(sum.empty());
        for (std::size_t i = 0; i < sum.capacity(); ++i) EXPECT_EQ(sum.data()[i], '\0') << i;
    }
    EXPECT_EQ(Joined({}), "");
    EXPECT_FALSE(SecureString("a") == std::string("b"));
    EXPECT_TRUE(std::string("b") == SecureString("b"));
}

}  // namespace
}  // namespace pw
