#include "savefile.h"

#include "base/appendfile.h"
#include "qtext.h"

#include <QSaveFile>

namespace rovi {

bool SaveWholeFile(const QString &path, std::string_view bytes, QString *why)
{
    if (const auto refusal = WhyNotAPlainFileTarget(path.toStdString())) {
        *why = ToQ(*refusal);
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit())
        return true;
    *why = file.errorString();
    return false;
}

} // namespace rovi
