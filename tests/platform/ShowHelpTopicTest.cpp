// The help file path, topic addresses and the call that showHelpTopic makes.
#include "platform/ShowHelpTopic.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingHelp : public HelpService {
public:
    void displayTopic(const std::string& address) override { calls.push_back("topic " + address); }
    void displayContents(const std::string& helpFile) override { calls.push_back("contents " + helpFile); }
    void closeAll() override { calls.push_back("close"); }
    std::vector<std::string> calls;
};

TEST(ShowHelpTopic, AddressIsHelpFileBesideProgramThenTopic)
{
    std::string helpFile = helpFileBesideProgram("/opt/tools");
    EXPECT_EQ(helpFile, "/opt/tools/ztp.chm");
    EXPECT_EQ(helpFileBesideProgram("/opt/tools/"), "/opt/tools/ztp.chm");
    EXPECT_EQ(helpTopicAddress(helpFile, "HTML/Saving.htm"), "/opt/tools/ztp.chm::/HTML/Saving.htm");
}

TEST(ShowHelpTopic, PassesTheAddressToTheDisplayTopicCommand)
{
    RecordingHelp help;
    showHelpTopic(help, "/usr/lib/zentrap/ztp.chm", "HTML/Setting the preferences.htm");
    ASSERT_EQ(help.calls.size(), 1u);
    EXPECT_EQ(help.calls[0], "topic /usr/lib/zentrap/ztp.chm::/HTML/Setting the preferences.htm");
}

TEST(ShowHelpTopic, ParsesAddressesBackIntoFileAndTopic)
{
    auto parsed = parseHelpAddress("/opt/tools/ztp.chm::/HTML/Saving.htm");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->helpFile, "/opt/tools/ztp.chm");
    EXPECT_EQ(parsed->topic, "HTML/Saving.htm");

    // A folder whose name holds the separator: the one after ".chm" splits.
    parsed = parseHelpAddress("/tmp/a::/b/ZTP.CHM::/HTML/Hotkeys.htm");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->helpFile, "/tmp/a::/b/ZTP.CHM");
    EXPECT_EQ(parsed->topic, "HTML/Hotkeys.htm");

    parsed = parseHelpAddress("/opt/tools/ztp.chm::/");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->topic, "");

    EXPECT_FALSE(parseHelpAddress("/opt/tools/ztp.chm"));
    EXPECT_FALSE(parseHelpAddress("::/HTML/Saving.htm"));
    EXPECT_FALSE(parseHelpAddress(""));
}

} // namespace
