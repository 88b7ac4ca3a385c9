#include "app/cmdline.h"

#include <gtest/gtest.h>

using namespace rovi;

TEST(ToolCommandLine, VersionAndHelpPrintWithoutAWindow)
{
    EXPECT_EQ(ParseToolArguments({"rovi-tool", "--version"}).print, std::string("rovi-tool ") + ROVI_VERSION + "\n");
    const ToolStart help = ParseToolArguments({"rovi-tool", "-h"});
    ASSERT_TRUE(help.print);
    EXPECT_NE(help.print->find("--in-data-folder"), std::string::npos);
    const ToolStart plain = ParseToolArguments({"rovi-tool", "-platform", "offscreen"}); // Qt's, left to Qt
    EXPECT_FALSE(plain.print);
    EXPECT_FALSE(plain.in_data_folder);
    EXPECT_TRUE(ParseToolArguments({"rovi-tool", "--in-data-folder"}).in_data_folder);
}

TEST(ToolCommandLine, TheDataFolderFollowsXdgDataHome)
{
    EXPECT_EQ(DataFolder("", "/home/ann"), "/home/ann/.local/share/rovi-tool");
    EXPECT_EQ(DataFolder("/srv/data", "/home/ann"), "/srv/data/rovi-tool");
    EXPECT_EQ(DataFolder("relative", "/home/ann"), "/home/ann/.local/share/rovi-tool"); // not absolute: ignored
    EXPECT_EQ(DataFolder("", ""), "");                 // HOME unset: no folder, never /.local/share
    EXPECT_EQ(DataFolder("relative", "nowhere"), "");
    EXPECT_EQ(DataFolder("/srv/data", ""), "/srv/data/rovi-tool");
}

TEST(ToolCommandLine, OneProfileFileFillsThePanelAtStart)
{
    const ToolStart one = ParseToolArguments({"rovi-tool", "--in-data-folder", "site A.rovi"});
    EXPECT_FALSE(one.error);
    EXPECT_EQ(one.profile, "site A.rovi");
    EXPECT_EQ(one.profile_index, 2u);
    EXPECT_TRUE(one.in_data_folder);
    EXPECT_EQ(ParseToolArguments({"rovi-tool", "-style", "fusion", "a.rovi"}).profile, "a.rovi") << "Qt's value is Qt's";
    const ToolStart two = ParseToolArguments({"rovi-tool", "a.rovi", "b.rovi"});
    ASSERT_TRUE(two.error);
    EXPECT_NE(two.error->find("one profile at a time"), std::string::npos);
    EXPECT_FALSE(ParseToolArguments({"rovi-tool"}).profile);
}
