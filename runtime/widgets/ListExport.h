#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qaveq {

class KeyedListModel;

// Sending a list to a file: every row of the list (its range and filters, not
// only the rows read so far), each column as the list shows it, under a line
// of the column headers.
namespace ListExport {

enum class Format { Csv, Tab };

// Returns the reason when the file cannot be written; empty when all is well.
QString write(const KeyedListModel &model, const QString &path, Format format);
// A list the screen computed itself: its headers and rows as shown.
QString write(const QStringList &headers, const QList<QStringList> &rows, const QString &path,
              Format format);

// The folder a screen sends its lists to by default: `subfolder` (as
// "Korvalis/Equipment Maintenance Categories") in the application-data folder.
QString defaultFolder(const QString &subfolder);

} // namespace ListExport

} // namespace qaveq
