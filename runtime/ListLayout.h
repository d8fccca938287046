#pragma once

#include "data/FileError.h"

#include <QList>
#include <QString>

#include <optional>

namespace qaveq {

namespace data {
class Company;
}

// A list's column layout kept per user and procedure in the list-format file
// LBFmt, as the column widths in order: "120,80,300".
namespace ListLayout {

QString format(const QList<int> &widths);
QList<int> widths(const QString &format);

std::optional<QString> load(data::Company &company, const QString &userId,
                            const QString &procedure);
// A new record when the user has none for the procedure, else an update.
data::FileStatus save(data::Company &company, const QString &userId, const QString &procedure,
                      const QString &format);

} // namespace ListLayout

} // namespace qaveq
