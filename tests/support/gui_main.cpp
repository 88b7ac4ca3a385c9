// GoogleTest entry for widget tests: a QApplication on the offscreen
// platform, with the tests' own font (see tests/CMakeLists.txt) rather than
// whatever fonts the machine has, so what is measured is the same anywhere.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef ROVI_TEST_FONTCONFIG
    qputenv("FONTCONFIG_FILE", ROVI_TEST_FONTCONFIG);
#endif
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
