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

}  // namespace
}  // namespace pw
