#include "platform/RegFileFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::optional<RegValue> zentrapValue(const RegContents& c, std::string_view name)
{
    return c.value("SOFTWARE\\Morvane\\Zentrap", name);
}

} // namespace

TEST(RegFileFormat, ReadsDwordsStringsAndEscapesCaseInsensitively)
{
    RegContents c = parseRegFile("REGEDIT4\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\r\n"
                                 "\"Left\"=dword:0000000a\r\n"
                                 "\"Top\"=dword:FFFFFFFF\r\n"
                                 "\"Skin\"=\"C:\\\\Skins\\\\a \\\"b\\\".bmp\"\r\n"
                                 "@=\"default\"\r\n");
    EXPECT_EQ(c.value("software\\MORVANE\\zentrap", "left"), RegValue(10u));
    EXPECT_EQ(zentrapValue(c, "TOP"), RegValue(0xFFFFFFFFu));
    EXPECT_EQ(zentrapValue(c, "Skin"), RegValue(std::string("C:\\Skins\\a \"b\".bmp")));
    EXPECT_EQ(zentrapValue(c, ""), RegValue(std::string("default")));
    EXPECT_FALSE(zentrapValue(c, "Missing"));
    EXPECT_TRUE(c.keyExists("SOFTWARE\\Morvane"));
    EXPECT_TRUE(c.keyExists("SOFTWARE\\Morvane\\Zentrap\\"));
    EXPECT_FALSE(c.keyExists("SOFTWARE\\Morv"));
}

TEST(RegFileFormat, SkipsBadValuesAndReadsTheRest)
{
    RegContents c = parseRegFile("REGEDIT4\n"
                                 "\"Orphan\"=dword:00000001\n" // before any section
                                 "[HKEY_CURRENT_USER\\K]\n"
                                 "\"TooLong\"=dword:123456789\n"
                                 "\"NotHex\"=dword:0000000g\n"
                                 "\"Empty\"=dword:\n"
                                 "\"Open\"=\"no end\n"
                                 "\"Trailing\"=\"x\" junk\n"
                                 "\"NoEquals\" \"x\"\n"
                                 "\"Deleted\"=-\n"
                                 "garbage line ]]]\n"
                                 "; a comment\n"
                                 "\"Good\"=dword:7fffffff\n"
                                 "\"Text\"=\"fine\"\n"
                                 "[no root]\n"
                                 "\"Lost\"=dword:00000001\n"
                                 "[-HKEY_CURRENT_USER\\Gone]\n"
                                 "\"AlsoLost\"=dword:00000001\n"
                                 "[HKEY_CURRENT_USER\\K]\n"
                                 "\"Late\"=dword:00000002");
    ASSERT_EQ(c.keyCount(), 1u);
    EXPECT_EQ(c.value("K", "Good"), RegValue(0x7fffffffu));
    EXPECT_EQ(c.value("K", "Text"), RegValue(std::string("fine")));
    EXPECT_EQ(c.value("K", "Late"), RegValue(2u)) << "a last line without a line break counts";
    for (const char* bad : {"Orphan", "TooLong", "NotHex", "Empty", "Open", "Trailing", "NoEquals", "Deleted"}) {
        EXPECT_FALSE(c.value("K", bad)) << bad;
    }
    EXPECT_FALSE(c.keyExists("Gone"));
}

TEST(RegFileFormat, KeepsValuesOfOtherKindsIncludingContinuedLines)
{
    RegContents c = parseRegFile("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n"
                                 "\"Bin\"=hex:01,02,\\\n  03,04\n"
                                 "\"Exp\"=hex(2):41,00\n"
                                 "\"After\"=dword:00000001\n"
                                 "\"BadDigit\"=hex:0g\n"
                                 "\"HalfByte\"=hex:1\n"
                                 "\"Unknown\"=s):\"x\"\n"
                                 "\"Open\"=hex:01,\\\n");
    EXPECT_EQ(c.value("K", "Bin"), RegValue(RegOtherValue{"hex:01,02,03,04"}));
    EXPECT_EQ(c.value("K", "Exp"), RegValue(RegOtherValue{"hex(2):41,00"}));
    EXPECT_EQ(c.value("K", "After"), RegValue(1u));
    for (const char* bad : {"BadDigit", "HalfByte", "Unknown", "Open"}) {
        EXPECT_FALSE(c.value("K", bad)) << bad;
    }
    EXPECT_NE(formatRegFile(c, "HKEY_CURRENT_USER").find("\"Bin\"=hex:01,02,03,04\n"), std::string::npos);
}

TEST(RegFileFormat, ReadsUtf16ExportsAndToleratesBrokenBytes)
{
    std::string utf8Text =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"N\"=\"\xC3\xA9\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (unsigned char ch :
         std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"N\"=\"")) {
        utf16 += static_cast<char>(ch);
        utf16 += '\0';
    }
    utf16 += "\xE9";
    utf16 += '\0';
    utf16 += std::string("\"\0\r\0\n\0", 6);
    EXPECT_EQ(parseRegFile(utf16).value("K", "N"), RegValue(std::string("\xC3\xA9")));
    EXPECT_EQ(parseRegFile("\xEF\xBB\xBF" + utf8Text).value("K", "N"), RegValue(std::string("\xC3\xA9")));

    // Bytes that are not UTF-8 are kept as they are.
    RegContents raw = parseRegFile("REGEDIT4\n[HKEY_CURRENT_USER\\K\xFF]\n\"\xFE\"=\"\x80\x81\"\n");
    EXPECT_EQ(raw.value("K\xFF", "\xFE"), RegValue(std::string("\x80\x81")));
    // A truncated file reads what is complete.
    RegContents cut = parseRegFile("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000001\n\"B\"=dwo");
    EXPECT_EQ(cut.value("K", "A"), RegValue(1u));
    EXPECT_FALSE(cut.value("K", "B"));
    EXPECT_EQ(parseRegFile("").keyCount(), 0u);
}

TEST(RegFileFormat, WritesWhatItReadsBackInOrder)
{
    RegContents c;
    c.createKey("SOFTWARE\\Morvane\\Zentrap");
    c.setValue("SOFTWARE\\Morvane\\Zentrap", "FCursor", 1u);
    c.setValue("SOFTWARE\\Morvane\\Zentrap", "Skin", std::string("/a\\b \"c\"\nd\r"));
    c.setValue("SOFTWARE\\Morvane\\Zentrap", "Left", 0xFFFFFFF6u);
    c.setValue("software\\morvane\\zentrap", "fcursor", 0u); // same value, same place
    c.createKey("Control Panel\\Desktop");

    std::string text = formatRegFile(c, "HKEY_CURRENT_USER");
    EXPECT_EQ(text, "REGEDIT4\n\n"
                    "[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                    "\"FCursor\"=dword:00000000\n"
                    "\"Skin\"=\"/a\\\\b \\\"c\\\"\\nd\\r\"\n"
                    "\"Left\"=dword:fffffff6\n\n"
                    "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n\n");
    RegContents back = parseRegFile(text);
    EXPECT_EQ(back.value("SOFTWARE\\Morvane\\Zentrap", "Skin"), RegValue(std::string("/a\\b \"c\"\nd\r")));
    EXPECT_EQ(formatRegFile(back, "HKEY_CURRENT_USER"), text);
}
