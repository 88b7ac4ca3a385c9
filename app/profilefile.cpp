#include "profilefile.h"

#include "panel/commandrules.h"
#include "panel/parampanel.h"
#include "protocol/profile.h"
#include "ui/qtext.h"
#include "ui/savefile.h"

#include <QCoreApplication>
#include <QFile>

namespace rovi {

bool SaveProfileTo(const panel::ParamPanel &panel, const QString &path, QString *why)
{
    const auto text = ProfileText(panel::SetAllFields(panel.Snapshot()));
    if (const auto *error = std::get_if<FieldError>(&text)) {
        *why = QCoreApplication::translate("ProfileFile", "参数无法写成参数文件：") + ToQ(error->message);
        return false;
    }
    QString reason;
    if (SaveWholeFile(path, std::get<std::string>(text), &reason))
        return true;
    *why = QCoreApplication::translate("ProfileFile", "无法写入 %1").arg(path) + QLatin1Char('\n') + reason;
    return false;
}

std::optional<std::vector<FieldValue>> ReadProfileFile(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QCoreApplication::translate("ProfileFile", "无法读取 %1").arg(path) + QLatin1Char('\n') + file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxProfileBytes) + 1);
    auto parsed = ParseProfile(ViewOf(bytes));
    if (const auto *error = std::get_if<ProfileError>(&parsed)) {
        *why = path + QLatin1Char('\n') +
               (error->line > 0 ? QCoreApplication::translate("ProfileFile", "第 %1 行：").arg(error->line) : QString()) + ToQ(error->reason);
        return std::nullopt;
    }
    return std::move(std::get<std::vector<FieldValue>>(parsed));
}

QString ProfileFilter()
{
    return QCoreApplication::translate("ProfileFile", "参数文件 (*.rovi);;所有文件 (*)");
}

bool LoadProfileFrom(panel::ParamPanel &panel, const QString &path, QString *why)
{
    const auto values = ReadProfileFile(path, why);
    if (!values)
        return false;
    panel.ApplyProfile(BytesOf(*values));
    return true;
}

} // namespace rovi
