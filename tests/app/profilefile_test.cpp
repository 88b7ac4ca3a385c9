#include "app/profilefile.h"

#include "panel/commandrules.h"
#include "panel/parampanel.h"
#include "protocol/profile.h"
#include "tests/support/filetargets.h"
#include "tests/support/tempdir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fstream>

using namespace rovi;

namespace {

FieldBytes BytesOf(std::string_view profile)
{
    FieldBytes bytes{};
    const auto parsed = ParseProfile(profile);
    for (const FieldValue &v : std::get<std::vector<FieldValue>>(parsed))
        bytes[static_cast<std::size_t>(v.field)] = v.byte;
    return bytes;
}

FieldBytes PanelFields(const panel::ParamPanel &panel)
{
    return panel::SetAllFields(panel.Snapshot());
}

constexpr char kSite[] = "ctrl=1A\nid=17\nwiegand=34\nformat=hex\nbaud=9600\npower=software:12\nreread=3s,leave\nsend=0.5s\n";
constexpr char kOther[] = "ctrl=05\nid=200\nwiegand=dip\nformat=dec\nbaud=115200\npower=external\nreread=2m\nsend=4s\n";

} // namespace

// 保存参数 then 载入参数 over other settings: the same fields, and the
// controls just as a report of them leaves them.
TEST(ProfileFile, ThePanelsFieldsGoToAFileAndComeBack)
{
    test::TempDir dir;
    panel::ParamPanel panel(nullptr);
    panel.ApplyReport(ComposeSetAll(BytesOf(kSite)));
    const panel::PanelSnapshot reported = panel.Snapshot();
    ASSERT_EQ(PanelFields(panel), BytesOf(kSite));
    QString why;
    ASSERT_TRUE(SaveProfileTo(panel, "site.rovi", &why)) << why.toStdString();

    panel.ApplyReport(ComposeSetAll(BytesOf(kOther)));
    ASSERT_NE(panel.Snapshot(), reported);
    ASSERT_TRUE(LoadProfileFrom(panel, "site.rovi", &why)) << why.toStdString();
    EXPECT_EQ(PanelFields(panel), BytesOf(kSite));
    EXPECT_EQ(panel.Snapshot(), reported);

    // A profile of two fields: those set, the others' mirrors emptied (left
    // unchanged by 全部设置), their controls as they were.
    std::ofstream("two.rovi") << "# gate\nwiegand=26\nbaud=19200\n";
    ASSERT_TRUE(LoadProfileFrom(panel, "two.rovi", &why)) << why.toStdString();
    EXPECT_EQ(PanelFields(panel), BytesOf("wiegand=26\nbaud=19200"));
    EXPECT_EQ(panel.Snapshot().id_text, reported.id_text);
    EXPECT_EQ(panel.Snapshot().mirrors[static_cast<std::size_t>(Field::id_addr)], "");
}

#ifndef _WIN32
// 保存参数 to a name that is not a plain file: refused with what is there,
// and nothing written anywhere.
TEST(ProfileFile, SavingRefusesWhatIsNotAPlainFile)
{
    test::TempDir dir;
    panel::ParamPanel panel(nullptr);
    panel.ApplyReport(ComposeSetAll(BytesOf(kSite)));
    const std::filesystem::path other = dir.Path() / "someone-elses";
    std::ofstream(other) << "theirs\n";
    for (const test::NotAPlainFile &target : test::NotPlainFiles()) {
        SCOPED_TRACE(target.name);
        const std::filesystem::path path = dir.Path() / (std::string(target.name) + ".rovi");
        if (!target.make(path, other))
            continue; // not here (a device node needs root)
        QString why;
        EXPECT_FALSE(SaveProfileTo(panel, QString::fromStdString(path.string()), &why));
        EXPECT_TRUE(why.contains(QString::fromUtf8(target.words))) << why.toStdString();
    }
    std::ifstream in(other);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "theirs");
}
#endif

TEST(ProfileFile, ARefusedProfileLeavesThePanelAsItWas)
{
    test::TempDir dir;
    panel::ParamPanel panel(nullptr);
    panel.ApplyReport(ComposeSetAll(BytesOf(kSite)));
    const panel::PanelSnapshot before = panel.Snapshot();
    const struct {
        const char *file;
        const char *content; // nullptr: no such file
        const char *why_has;
    } rows[] = {
        {"unknown.rovi", "id=17\ncolour=red\n", "第 2 行：'colour=red' is not FIELD=VALUE"},
        {"range.rovi", "baud=9601\n", "第 1 行：field baud: '9601' is not allowed"},
        {"twice.rovi", "id=3\n\nid=4\n", "第 3 行：field id is given twice (first on line 1)"},
        {"empty.rovi", "# nothing\n", "no FIELD=VALUE line"},
        {"missing.rovi", nullptr, "无法读取 missing.rovi"},
    };
    for (const auto &row : rows) {
        if (row.content)
            std::ofstream(row.file) << row.content;
        QString why;
        EXPECT_FALSE(LoadProfileFrom(panel, row.file, &why)) << row.file;
        EXPECT_TRUE(why.contains(QString::fromUtf8(row.why_has))) << why.toStdString();
        EXPECT_EQ(panel.Snapshot(), before) << row.file;
    }
}

TEST(ProfileFile, AFieldWithoutWordsIsNotSaved)
{
    test::TempDir dir;
    panel::ParamPanel panel(nullptr);
    FieldBytes fields = BytesOf(kSite);
    fields[static_cast<std::size_t>(Field::ctrl)] = 0x80; // the factory-reset code: no profile may hold it
    panel.ApplyReport(ComposeSetAll(fields));
    QString why;
    EXPECT_FALSE(SaveProfileTo(panel, "site.rovi", &why));
    EXPECT_TRUE(why.contains("ctrl: the byte 0x80")) << why.toStdString();
    EXPECT_FALSE(QFile::exists("site.rovi"));
}
