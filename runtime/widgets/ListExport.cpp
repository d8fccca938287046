#include "ListExport.h"

#include "FileDialogFolder.h"

#include "KeyedListModel.h"

#include "data/RecordText.h"
#include "data/Table.h"

#include "core/OutputFile.h"

#include <QDir>
#include <QTextStream>

#include <functional>

using namespace Qt::StringLiterals;

namespace qaveq::ListExport {

namespace {

QString line(const QStringList &values, Format format)
{
    if (format == Format::Tab) {
        QStringList cleaned = values;
        for (QString &value : cleaned)
            value = data::RecordText::spreadsheetCell(value.replace(u'\t', u' '));
        return cleaned.join(u'\t');
    }
    QStringList quoted;
    for (const QString &value : values)
        quoted.append(data::RecordText::csvQuote(value));
    return quoted.join(u',');
}

// Writes the file whole or not at all: what `fill` writes takes the name
// only once all of it is on the disk; a failure (its reason returned by
// `fill`, or a full disk) leaves no half file behind.
QString writeFile(const QString &path, const std::function<QString(QTextStream &)> &fill)
{
    if (QString refused = OutputFile::refusal(path); !refused.isEmpty())
        return refused;
    OutputFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return u"%1 cannot be written: %2"_s.arg(path, file.errorString());
    QTextStream out(&file);
    if (QString problem = fill(out); !problem.isEmpty())
        return problem;
    out.flush();
    return file.finish();
}

} // namespace

QString write(const QStringList &headers, const QList<QStringList> &rows, const QString &path,
              Format format)
{
    return writeFile(path, [&](QTextStream &out) {
        out << line(headers, format) << '\n';
        for (const QStringList &row : rows)
            out << line(row, format) << '\n';
        return QString();
    });
}

QString write(const KeyedListModel &model, const QString &path, Format format)
{
    return writeFile(path, [&](QTextStream &out) {
        QStringList headers;
        for (const KeyedListModel::Column &column : model.columns())
            headers.append(column.header);
        out << line(headers, format) << '\n';

        data::KeyCursor cursor = model.table().scan(model.key(), model.rangeOptions());
        std::unique_ptr<data::Record> record = model.table().schema().create();
        while (cursor.next(*record)) {
            QStringList values;
            for (int c = 0; c < model.columns().size(); ++c)
                values.append(model.text(*record, c).trimmed());
            out << line(values, format) << '\n';
        }
        return cursor.error() ? cursor.error()->text() : QString();
    });
}

QString defaultFolder(const QString &subfolder)
{
    return QDir(FileDialogFolder::documents()).filePath(subfolder);
}

} // namespace qaveq::ListExport
