#include "RecordLoader.h"

#include "FileSchema.h"
#include "Record.h"
#include "RecordText.h"
#include "Table.h"
#include "Transaction.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

constexpr std::chrono::milliseconds LoadWait{5000};

// The first member name that the object on `line` gives twice, or nothing.
// The line is valid JSON already; a JSON reader would quietly keep the last
// of the two values.
std::optional<QString> repeatedMember(const QByteArray &line)
{
    QSet<QString> names;
    int depth = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (c == '"') {
            const qsizetype start = i;
            for (++i; i < line.size() && line[i] != '"'; ++i)
                if (line[i] == '\\')
                    ++i;
            if (depth != 1)
                continue;
            qsizetype next = i + 1;
            while (next < line.size() && QChar::isSpace(uchar(line[next])))
                ++next;
            if (next >= line.size() || line[next] != ':')
                continue; // a value, not a member name
            // Decoded, so that "\u0041" and "A" are the same name.
            const QString name = QJsonDocument::fromJson('[' + line.mid(start, i - start + 1) + ']')
                                     .array()
                                     .at(0)
                                     .toString();
            if (names.contains(name))
                return name;
            names.insert(name);
        }
    }
    return std::nullopt;
}

} // namespace

LoadResult RecordLoader::load(QIODevice &input)
{
    const FileSchema &schema = m_table.schema();
    LoadResult result;
    const auto fail = [&result](int line, QString reason) {
        result.done = false;
        result.line = line;
        result.problem = std::move(reason);
        result.inserted = result.updated = 0;
        return result;
    };

    Transaction transaction(m_table.database(), {schema.table}, LoadWait);
    if (!transaction.isActive()) {
        fail(0, transaction.notBegunText().replace(u'|', u' '));
        result.busy = transaction.error().code == FileErrorCode::FileLocked;
        return result;
    }

    const KeyDef *matchKey = schema.firstUniqueKey();
    QHash<QString, int> keysGiven; // key text -> the line that gave it
    int lineNumber = 0;
    while (!input.atEnd()) {
        QByteArray line = input.readLine();
        ++lineNumber;
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(line);
        if (utf8.hasError())
            return fail(lineNumber, u"not valid UTF-8"_s);
        if (text.contains(QChar(0)))
            return fail(lineNumber, u"holds a NUL character"_s);
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
        if (!document.isObject())
            return fail(lineNumber, parseError.error != QJsonParseError::NoError
                                        ? u"not valid JSON: %1"_s.arg(parseError.errorString())
                                        : u"not a JSON object"_s);
        if (const std::optional<QString> repeated = repeatedMember(line))
            return fail(lineNumber, u"the field \"%1\" is given twice"_s.arg(*repeated));

        std::unique_ptr<Record> incoming = schema.create();
        QStringList present;
        if (QString problem = RecordText::fromJson(document.object(), *incoming, &present);
            !problem.isEmpty())
            return fail(lineNumber, problem);

        bool keyGiven = matchKey != nullptr;
        if (matchKey)
            for (const QString &f : matchKey->fields)
                keyGiven = keyGiven && present.contains(schema.field(f)->name);
        if (keyGiven) {
            // A second line with the same key would quietly overwrite the
            // first: say so instead.
            QStringList parts;
            for (const QString &f : matchKey->fields)
                parts.append(
                    RecordText::fieldText(*schema.field(f), schema.field(f)->get(*incoming)));
            const QString key = parts.join(u'\x1f');
            if (const auto earlier = keysGiven.constFind(key); earlier != keysGiven.cend())
                return fail(lineNumber, u"%1 %2 was already given on line %3"_s
                                            .arg(matchKey->fields.join(u'+'), parts.join(u' '))
                                            .arg(*earlier));
            keysGiven.insert(key, lineNumber);
        }

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

        Record &kept = exists ? *stored : *incoming;
        if (exists) {
            for (const QString &name : std::as_const(present)) {
                const FieldDef *field = schema.field(name);
                field->set(*stored, field->get(*incoming));
            }
        }
        for (const FieldDef &field : schema.fields)
            if (field.required && std::get<QString>(field.get(kept)).trimmed().isEmpty())
                return fail(lineNumber, u"%1 is required and blank"_s.arg(schema.qualified(field)));

        FileStatus status;
        if (exists) {
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
    result.done = true;
    return result;
}

} // namespace qaveq::data
