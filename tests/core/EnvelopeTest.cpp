#include "protocol/Envelope.h"

#include <gtest/gtest.h>

using ql::Envelope;

TEST(Envelope, CipherTextLengthIsThePaddedLength) {
    struct Case { std::string plain; size_t hexDigits; };
    for (const auto& c : std::vector<Case>{{"", 16}, {"12345678", 32}, {"123456789", 32}, {"123456789012345", 32}}) {
        auto hex = Envelope::TripleDES(c.plain, Envelope::kEncrypt);
        ASSERT_TRUE(hex);
        EXPECT_EQ(hex->size(), c.hexDigits) << c.plain;
        EXPECT_EQ(hex->find_first_not_of("0123456789ABCDEF"), std::string::npos);
        EXPECT_EQ(Envelope::escape(*hex), *hex);
        EXPECT_EQ(Envelope::TripleDES(*hex, Envelope::kDecrypt), c.plain);
    }
}

TEST(Envelope, DecipherAcceptsEitherCaseAndReportsFailures) {
    auto hex = *Envelope::TripleDES(std::string("typeid=189&page=2"), Envelope::kEncrypt);
    std::string lower = hex;
    for (auto& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(Envelope::TripleDES(lower, Envelope::kDecrypt), "typeid=189&page=2");
    // Wrong length, not hex at all, bad padding (a wrong key): "" rather than absent.
    EXPECT_EQ(Envelope::TripleDES(hex.substr(0, hex.size() - 2), Envelope::kDecrypt), "");
    EXPECT_EQ(Envelope::TripleDES(std::string("<html>error</html>"), Envelope::kDecrypt), "");
    EXPECT_EQ(Envelope::TripleDES(hex, Envelope::kDecrypt, "ABCDEFGHIJKLMNOPQRSTUVWX"), "");
}

TEST(Envelope, HexHelpers) {
    EXPECT_EQ(Envelope::hexStringForData(std::string("\x00\xff\x1a", 3)), "00FF1A");
    EXPECT_EQ(Envelope::hexStringForData(std::string()), "");
    EXPECT_FALSE(Envelope::hexStringForData(std::nullopt));
    EXPECT_FALSE(Envelope::dataForHexString(std::nullopt));
    EXPECT_EQ(Envelope::dataForHexString(std::string()), "");
    EXPECT_EQ(Envelope::dataForHexString(std::string("0aFfzz7")), std::string("\x0a\xff\x00\x70", 4));
}

TEST(Envelope, EscapesLikeAWholeUrl) {
    EXPECT_EQ(Envelope::escape("a b&c=é#%+"), "a%20b&c=%C3%A9%23%25+");
    EXPECT_EQ(Envelope::escape("-_.!~*'();/?:@&=+$,"), "-_.!~*'();/?:@&=+$,");
    EXPECT_EQ(Envelope::escape("\"<>[\\]^`{|}\n"), "%22%3C%3E%5B%5C%5D%5E%60%7B%7C%7D%0A");
}

TEST(Envelope, UnescapesRunsAsGB18030) {
    EXPECT_EQ(Envelope::unescapeGB18030("%C4%E3"), "你");
    EXPECT_EQ(Envelope::unescapeGB18030("a+b"), "a+b");
    EXPECT_EQ(Envelope::unescapeGB18030("100%"), "100%");
    EXPECT_EQ(Envelope::unescapeGB18030("%zz%4"), "%zz%4");
    EXPECT_EQ(Envelope::unescapeGB18030("{\"t\":\"%B9%FA%BF%BC%41\"}"), "{\"t\":\"国考A\"}");
    EXPECT_FALSE(Envelope::unescapeGB18030("%C4"));        // half a character
    EXPECT_FALSE(Envelope::unescapeGB18030("%FF%FF%FF"));  // not GB18030
}

TEST(Envelope, SealOrdersAndOpen) {
    // Escape-then-encipher carries escapes inside; encipher-then-escape carries raw UTF-8.
    EXPECT_EQ(Envelope::TripleDES(Envelope::seal("keyword=申论"), Envelope::kDecrypt), "keyword=%E7%94%B3%E8%AE%BA");
    EXPECT_EQ(Envelope::TripleDES(Envelope::sealRaw("username=张 三"), Envelope::kDecrypt), "username=张 三");
    EXPECT_EQ(Envelope::seal("typeid=189"), Envelope::seal("typeid=189"));

    auto body = *Envelope::TripleDES(std::string("{\"title\":\"%C4%E3\"}"), Envelope::kEncrypt);
    bool utf8 = false;
    EXPECT_EQ(Envelope::open(body, &utf8), "{\"title\":\"你\"}");
    EXPECT_TRUE(utf8);
    EXPECT_EQ(Envelope::open("not an answer"), "");
    EXPECT_EQ(Envelope::open(std::string("\xff\xfe", 2), &utf8), "");
    EXPECT_FALSE(utf8);
    // Deciphers to bytes that are not UTF-8: cannot be opened.
    EXPECT_FALSE(Envelope::open(*Envelope::TripleDES(std::string("\xff\xfe", 2), Envelope::kEncrypt)));
}
