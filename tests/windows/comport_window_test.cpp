// The tool's window on the simulated reader's COM port, as an installer
// meets it: set.ini names the port with auto-connect on, then 查看参数.
#include "comport.h"

#include "app/utool.h"
#include "settings/portsettings.h"
#include "tests/support/factoryquery.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

using namespace rovi;

TEST(ComPortWindow, QueryFillsThePanelFromTheReader)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    settings::PortSettings s;
    s.com_port = test::TestComPort();
    settings::SavePortSettings(settings::kIniPath, s, true);

    TFtool window;
    window.show();
    ASSERT_TRUE(window.Comm().IsOpen());
    EXPECT_EQ(window.Comm().CommName(), test::TestComPort());
    test::QueryShowsTheFactorySet(window);
    window.close();
    EXPECT_FALSE(window.Comm().IsOpen());
    EXPECT_TRUE(recorder.messages.empty());
}
