#include "OutputFile.h"

#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace qaveq::OutputFile {

QString refusal(const QString &path)
{
    const QFileInfo target(path);
    if (target.isSymLink())
        return u"%1 is a link; choose the file itself"_s.arg(path);
    if (target.exists() && !target.isFile())
        return u"%1 is not a plain file"_s.arg(path);
    return {};
}

QString write(const QString &path, const QByteArray &bytes)
{
    if (QString refused = refusal(path); !refused.isEmpty())
        return refused;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return u"%1 cannot be written: %2"_s.arg(path, file.errorString());
}

} // namespace qaveq::OutputFile
