#include "ListExport.h"

#include "KeyedListModel.h"

#include "data/RecordText.h"
#include "data/Table.h"

#include "core/OutputFile.h"

#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace qaveq::ListExport {

QString write(const KeyedListModel &model, const QString &path, Format format)
{
    // Written whole or not at all: a failed export leaves no half file behind.
    if (QString refused = OutputFile::refusal(path); !refused.isEmpty())
        return refused;
    OutputFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return u"%1 cannot be written: %2"_s.arg(path, file.errorString());
    QTextStream out(&file);
    const auto line = [format](const QStringList &values) {
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
    };
    QStringList headers;
    for (const KeyedListModel::Column &column : model.columns())
        headers.append(column.header);
    out << line(headers) << '\n';

    data::KeyCursor cursor = model.table().scan(model.key(), model.rangeOptions());
    std::unique_ptr<data::Record> record = model.table().schema().create();
    while (cursor.next(*record)) {
        QStringList values;
        for (int c = 0; c < model.columns().size(); ++c)
            values.append(model.text(*record, c).trimmed());
        out << line(values) << '\n';
    }
    if (cursor.error())
        return cursor.error()->text();
    out.flush();
    return file.finish();
}

QString defaultFolder(const QString &subfolder)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(subfolder);
}

} // namespace qaveq::ListExport
