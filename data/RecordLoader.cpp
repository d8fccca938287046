#include "RecordLoader.h"

#include "FileSchema.h"
#include "Record.h"
#include "RecordText.h"
#include "Table.h"
#include "Transaction.h"

#include <QJsonDocument>
#include <QTextStream>

namespace qaveq::data {

namespace {

constexpr std::chrono::milliseconds LoadWait{5000};

} // namespace

LoadResult RecordLoader::load(QTextStream &input)
{
    const FileSchema &schema = m_table.schema();
    LoadResult result;
    const auto fail = [&result](int line, QString reason) {
        result.ok = false;
        result.line = line;
        result.reason = std::move(reason);
        result.inserted = result.updated = 0;
        return result;
    };

    Transaction transaction(m_table.database(), {schema.table}, LoadWait);
    if (!transaction.isActive())
        return fail(0, QStringLiteral("%1 is in use by another station (%2); nothing was loaded")
                           .arg(schema.name, transaction.error().text()));

    const KeyDef *matchKey = schema.firstUniqueKey();
    int lineNumber = 0;
    while (!input.atEnd()) {
        const QString line = input.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty())
            continue;
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &parseError);
        if (!document.isObject())
            return fail(lineNumber,
                        parseError.error != QJsonParseError::NoError
                            ? QStringLiteral("not valid JSON: %1").arg(parseError.errorString())
                            : QStringLiteral("not a JSON object"));

        std::unique_ptr<Record> incoming = schema.create();
        QStringList present;
        if (QString problem = RecordText::fromJson(document.object(), *incoming, &present);
            !problem.isEmpty())
            return fail(lineNumber, problem);

        bool keyGiven = matchKey != nullptr;
        if (matchKey)
            for (const QString &f : matchKey->fields)
                keyGiven = keyGiven && present.contains(schema.field(f)->name);

        std::unique_ptr<Record> stored = schema.create();
        bool exists = false;
        if (keyGiven) {
            for (const QString &f : matchKey->fields)
                schema.field(f)->set(*stored, schema.field(f)->get(*incoming));
            const FileStatus status = m_table.fetch(matchKey->name, *stored);
            exists = status.isOk();
            if (!exists && status.error().code != FileErrorCode::RecordNotFound)
                return fail(lineNumber, status.error().text());
        }

        FileStatus status;
        if (exists) {
            for (const QString &name : std::as_const(present)) {
                const FieldDef *field = schema.field(name);
                field->set(*stored, field->get(*incoming));
            }
            status = m_table.update(*stored);
            ++result.updated;
        } else {
            status = m_table.insert(*incoming);
            ++result.inserted;
        }
        if (!status)
            return fail(lineNumber, status.error().text());
    }

    if (FileStatus status = transaction.commit(); !status)
        return fail(0, status.error().text());
    result.ok = true;
    return result;
}

} // namespace qaveq::data
