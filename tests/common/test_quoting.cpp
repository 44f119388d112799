#include "common/quoting.h"

#include <gtest/gtest.h>

#include <string>

using namespace soramado;
using namespace std::string_literals;

TEST(Quoting, ControlsAndStrayBytesBecomeEscapesAndTextStays)
{
    const struct {
        std::string in;
        std::string out;
    } rows[] = {
        {"Tokyo 東京", "Tokyo 東京"},
        {"a\"b\\c", "a\\\"b\\\\c"},
        {"\x1b]0;TITLE\x07", "\\x1b]0;TITLE\\x07"},
        {"2003-05-01\0 12:00:00"s, "2003-05-01\\x00 12:00:00"},
        {"tab\tline\nreturn\r\x7f", "tab\\tline\\nreturn\\r\\x7f"},
        {"\xc2\x9b"
         "31m",
         "\\u009b31m"},                      // C1 CSI
        {"caf\xe9", "caf\\xe9"},             // Latin-1, not UTF-8
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"}, // a surrogate
        {"\xe6\x9d", "\\xe6\\x9d"},          // cut short
    };
    for (const auto& row : rows)
        EXPECT_EQ(quoteForMessage(row.in), row.out) << row.out;
}

TEST(Quoting, ALongTextKeepsItsEndsAroundAMark)
{
    const std::string fits(QuotedHead + QuotedTail, 'x');
    EXPECT_EQ(quoteForMessage(fits), fits);

    const std::string huge = "2003-05-01 12:00:00" + std::string(10'000'000, '\0') + "the end";
    const std::string quoted = quoteForMessage(huge);
    EXPECT_EQ(quoted.rfind("2003-05-01 12:00:00\\x00", 0), 0u);
    EXPECT_NE(quoted.find("\u2026"), std::string::npos);
    EXPECT_EQ(quoted.substr(quoted.size() - 11), "\\x00the end");
    EXPECT_LT(quoted.size(), 4 * (QuotedHead + QuotedTail) + 10);

    // A cut never splits a character: each end keeps only whole ones.
    std::string kanji;
    while (kanji.size() < 3 * (QuotedHead + QuotedTail))
        kanji += "空";
    const std::string cut = quoteForMessage(kanji);
    EXPECT_EQ(cut.find("\\x"), std::string::npos) << cut;
    EXPECT_LE(cut.size(), QuotedHead + QuotedTail + 3);
}
