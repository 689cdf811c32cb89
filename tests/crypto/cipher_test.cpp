#include "crypto/cipher.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string Unhex(const std::string& hex) {
    if (hex == "-") return std::string();
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}

std::vector<std::vector<std::string>> VectorLines() {
    std::ifstream in(PW_TEST_DATA_DIR "/cryptoapi-vectors.txt");
    std::vector<std::vector<std::string>> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::vector<std::string> fields;
        std::string w;
        while (words >> w) fields.push_back(w);
        lines.push_back(fields);
    }
    return lines;
}

TEST(CipherVectors, EveryLineOfTheVectorFileMatches) {
    const auto lines = VectorLines();
    ASSERT_GE(lines.size(), 10u);
    int checked = 0;
    for (const auto& f : lines) {
        if (f[0] == "hash") {
            ASSERT_EQ(f.size(), 3u);
            EXPECT_EQ(pw::PasswordHash(Unhex(f[1])), f[2]);
        } else if (f[0] == "masterkey") {
            ASSERT_EQ(f.size(), 4u);
            const std::string run = Unhex(f[1]), pay = Unhex(f[2]);
            const std::string text =
                "Password1:" + pw::PasswordHash(run) + "~Password2:" + pw::PasswordHash(pay);
            std::string out;
            ASSERT_TRUE(pw::Encipher(text, run, out));
            EXPECT_EQ(out, f[3]);
            std::string back;
            ASSERT_TRUE(pw::Decipher(out, run, back));
            EXPECT_EQ(back, text);
        } else {
            ASSERT_EQ(f.size(), 3u);
            const std::string key = Unhex(f[0]), plain = Unhex(f[1]);
            std::string out;
            ASSERT_TRUE(pw::Encipher(plain, key, out)) << f[0];
            EXPECT_EQ(out, f[2]) << "key " << f[0];
            std::string back;
            ASSERT_TRUE(pw::Decipher(f[2], key, back));
            EXPECT_EQ(back, plain);
        }
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(lines.size()));
}

TEST(Cipher, EmptyKeyActsAsBlankAndEmptyPlainFails) {
    std::string a, b;
    ASSERT_TRUE(pw::Encipher("Purseward", "", a));
    ASSERT_TRUE(pw::Encipher("Purseward", " ", b));
    EXPECT_EQ(a, b);
    std::string out = "junk";
    EXPECT_FALSE(pw::Encipher("", "key", out));
    EXPECT_TRUE(out.empty());
    out = "junk";
    EXPECT_FALSE(pw::Decipher("", "key", out));
    EXPECT_TRUE(out.empty());
}

TEST(Cipher, SizeLimitAt504Bytes) {
    std::string out;
    ASSERT_TRUE(pw::Encipher(std::string(504, 'x'), "k", out));
    EXPECT_EQ(out.size(), 1024u);
    std::string back;
    ASSERT_TRUE(pw::Decipher(out, "k", back));
    EXPECT_EQ(back, std::string(504, 'x'));
    EXPECT_FALSE(pw::Encipher(std::string(505, 'x'), "k", out));
    EXPECT_TRUE(out.empty());
}

TEST(Cipher, WrongKeyAndDamagedTextFailWithEmptyOutput) {
    std::string c;
    ASSERT_TRUE(pw::Encipher("U1234567~secret", "right", c));
    std::string out;
    EXPECT_FALSE(pw::Decipher(c, "wrong", out));
    EXPECT_TRUE(out.empty());
    // A trailing odd digit is ignored.
    ASSERT_TRUE(pw::Decipher(c + "7", "right", out));
    EXPECT_EQ(out, "U1234567~secret");
    // Not a whole block.
    EXPECT_FALSE(pw::Decipher(c.substr(0, c.size() - 2), "right", out));
    EXPECT_TRUE(out.empty());
    // Non-hex digits never crash; they decode by the leading-digit rule and fail the padding.
    EXPECT_FALSE(pw::Decipher(std::string(32, 'Z'), "right", out));
    // A single digit holds no byte: nothing to decrypt, nothing comes out.
    EXPECT_TRUE(pw::Decipher("G", "right", out));
    EXPECT_TRUE(out.empty());
}

TEST(Cipher, LowerCaseHexDecipheres) {
    std::string c;
    ASSERT_TRUE(pw::Encipher("abc", "k", c));
    std::string lower;
    for (char ch : c) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
    std::string out;
    ASSERT_TRUE(pw::Decipher(lower, "k", out));
    EXPECT_EQ(out, "abc");
}

TEST(Digest, Md5LowerHex) {
    EXPECT_EQ(pw::Md5HexLower(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(pw::Md5HexLower("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
