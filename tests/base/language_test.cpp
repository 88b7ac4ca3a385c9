#include "base/language.h"
#include "base/texts.h"

#include <gtest/gtest.h>

#include <string>

using namespace rovi;

TEST(SystemLanguage, EnglishWhereALanguageIsSetAndIsNotChinese)
{
    const struct {
        const char *locale;
        Language expected;
    } cases[] = {
        {"", Language::Chinese},           {"C", Language::Chinese},           {"POSIX", Language::Chinese},
        {"C.UTF-8", Language::Chinese},    {"zh_CN.UTF-8", Language::Chinese}, {"zh_TW.Big5", Language::Chinese},
        {"zh", Language::Chinese},         {"zh-Hans-CN", Language::Chinese},  {"zh_CN.GB18030@stroke", Language::Chinese},
        {"en_US.UTF-8", Language::English}, {"en_GB", Language::English},      {"en-US", Language::English},
        {"de_DE.UTF-8", Language::English}, {"ja_JP.UTF-8", Language::English}, {"fr", Language::English},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SystemLanguage(c.locale), c.expected) << '"' << c.locale << '"';
}

TEST(LanguageCode, StoredAsTwoLettersAndReadBackOnlyFromThem)
{
    EXPECT_STREQ(LanguageCode(Language::Chinese), "zh");
    EXPECT_STREQ(LanguageCode(Language::English), "en");
    EXPECT_EQ(LanguageOfCode("zh"), Language::Chinese);
    EXPECT_EQ(LanguageOfCode(" en "), Language::English);
    for (const char *other : {"", "EN", "english", "zh_CN", "de", "e"})
        EXPECT_EQ(LanguageOfCode(other), std::nullopt) << other;
}

TEST(Filled, PutsEachArgumentInItsPlaceOnce)
{
    EXPECT_EQ(Filled("没有权限打开 %1（属于 %2 组）：sudo usermod -aG %2 $USER", {"/dev/ttyUSB0", "dialout"}),
              "没有权限打开 /dev/ttyUSB0（属于 dialout 组）：sudo usermod -aG dialout $USER");
    EXPECT_EQ(Filled("%2 before %1", {"a", "b"}), "b before a");
    // An argument's own markers stay as they are; a marker without an argument too.
    EXPECT_EQ(Filled("%1 and %2", {"%2", "x"}), "%2 and x");
    EXPECT_EQ(Filled("%1 %3 100%", {"a"}), "a %3 100%");
    EXPECT_EQ(Filled("%", {}), "%");
}

TEST(Translated, IsTheSourceUntilATranslatorIsSet)
{
    EXPECT_EQ(Translated("Ctx", "源文"), "源文");
    SetTextTranslator([](const char *context, const char *source) { return std::string(context) + ":" + source; });
    EXPECT_EQ(Translated("Ctx", "源文"), "Ctx:源文");
    SetTextTranslator(nullptr);
    EXPECT_EQ(Translated("Ctx", "源文"), "源文");
}
