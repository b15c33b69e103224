// Conformance: wsprintfA's conversions and its 1024-byte limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include <string>

namespace {

TEST(Wsprintf, Conversions_FormatAsWindowsDoes) {
    char out[1100];
    auto check = [&](const char* expected, int length) {
        EXPECT_STREQ(out, expected);
        EXPECT_EQ(length, static_cast<int>(strlen(expected)));
    };
    check("3/5", wsprintfA(out, "%d/%d", 3, 5));
    check("-7/2147483647", wsprintfA(out, "%d/%i", -7, INT_MAX));
    check("-2147483648", wsprintfA(out, "%d", INT_MIN));
    check("4294967295", wsprintfA(out, "%u", 0xFFFFFFFFu));
    check("  42|42  |00042", wsprintfA(out, "%4d|%-4d|%05d", 42, 42, 42));
    check("-0042", wsprintfA(out, "%05d", -42));
    check("ff FF 0xff 0XFF", wsprintfA(out, "%x %X %#x %#X", 255, 255, 255, 255));
    check("abc|ab|x|%", wsprintfA(out, "%s|%.2s|%c|%%", "abc", "abc", 'x'));
    check("(null)", wsprintfA(out, "%s", static_cast<const char*>(nullptr)));
    check("12345678901", wsprintfA(out, "%I64d", 12345678901LL));
}

// What neither Windows' documentation nor Wine's own tests settle, and where Wine answers
// otherwise ("aqb", "end"): a conversion it does not know, and a '%' at the end, are kept.
TEST(Wsprintf, Undocumented_UnknownConversionsKeptAsWritten) {
    char out[16];
    EXPECT_EQ(wsprintfA(out, "a%qb"), 4);
    EXPECT_STREQ(out, "a%qb");
    EXPECT_EQ(wsprintfA(out, "end%"), 4);
    EXPECT_STREQ(out, "end%");
}

// The documented buffer is 1,024 bytes: 1,023 characters and the terminating null. Wine
// writes 1,024 characters.
TEST(Wsprintf, LongOutput_StopsAt1023Characters) {
    std::string long_text(2000, 'z');
    char out[1100];
    memset(out, 'G', sizeof out);
    EXPECT_EQ(wsprintfA(out, "%s", long_text.c_str()), 1023);
    EXPECT_EQ(strlen(out), 1023u);
    EXPECT_EQ(out[1024], 'G'); // nothing written past the 1024th byte
}

} // namespace
