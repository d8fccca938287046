#include "Catalogue.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

namespace {

// Each item of the text is five values; kind 5 is a field, 1 a section
// ("@ProcessedFiles", "@Others"), anything else a file or data group.
constexpr int ValuesPerItem = 5;
constexpr auto FieldKind = u"5";

const CatalogueField *findField(const QList<CatalogueField> &fields, QStringView name)
{
    for (const CatalogueField &field : fields)
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    return nullptr;
}

} // namespace

std::optional<Catalogue> Catalogue::parse(const QString &text, QString *error)
{
    QStringList values = text.split(u'|');
    // The text ends with a "|", which leaves one empty value behind.
    if (!values.isEmpty() && values.last().isEmpty())
        values.removeLast();
    if (values.size() < ValuesPerItem || values.size() % ValuesPerItem != 0 ||
        values.first() != u"@ProcessedFiles") {
        *error = u"The catalogue does not start with @ProcessedFiles or is cut short."_s;
        return std::nullopt;
    }
    Catalogue catalogue;
    catalogue.m_type = values.at(3);
    bool inData = false;
    for (qsizetype i = ValuesPerItem; i < values.size(); i += ValuesPerItem) {
        const QString &label = values.at(i);
        const QString &kind = values.at(i + 1);
        bool levelOk = false, parentOk = false;
        const int level = kind.toInt(&levelOk);
        const int parent = values.at(i + 2).toInt(&parentOk);
        if (!levelOk || !parentOk) {
            *error =
                u"Catalogue item %1 (\"%2\") has no level."_s.arg(i / ValuesPerItem + 1).arg(label);
            return std::nullopt;
        }
        if (kind == FieldKind) {
            CatalogueField field{label, values.at(i + 3), values.at(i + 4)};
            if (inData)
                catalogue.m_data.append(field);
            else if (!catalogue.m_files.isEmpty())
                catalogue.m_files.last().fields.append(field);
            else {
                *error = u"The field \"%1\" comes before any file."_s.arg(label);
                return std::nullopt;
            }
        } else if (label.startsWith(u'@')) {
            inData = label == u"@Data" || label == u"@Others";
        } else {
            QString name = values.at(i + 3);
            catalogue.m_files.append(CatalogueFile{name, level, parent, {}});
            inData = false;
        }
    }
    if (catalogue.m_files.isEmpty()) {
        *error = u"The catalogue names no file."_s;
        return std::nullopt;
    }
    return catalogue;
}

const CatalogueFile *Catalogue::file(QStringView name) const
{
    for (const CatalogueFile &file : m_files)
        if (file.name.compare(name, Qt::CaseInsensitive) == 0)
            return &file;
    return nullptr;
}

const CatalogueField *Catalogue::field(QStringView name) const
{
    for (const CatalogueFile &file : m_files)
        if (const CatalogueField *field = findField(file.fields, name))
            return field;
    return findField(m_data, name);
}

const CatalogueFile *Catalogue::fileOf(QStringView fieldName) const
{
    for (const CatalogueFile &file : m_files)
        if (findField(file.fields, fieldName))
            return &file;
    return nullptr;
}

QString fieldLabel(QStringView name)
{
    QString label;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (i > 0 && c.isUpper() && (name.at(i - 1).isLower() || name.at(i - 1).isDigit()))
            label += u' ';
        label += c;
    }
    return label;
}

QString catalogueText(const QString &reportType, const QList<CatalogueFile> &files)
{
    QString text = u"@ProcessedFiles|1|0|"_s + reportType + u"||"_s;
    for (const CatalogueFile &file : files) {
        const QString level = QString::number(file.level);
        text += u'\'' + file.name + u"'|"_s + level + u'|' + QString::number(file.parent) + u'|' +
                file.name + u"||"_s;
        for (const CatalogueField &field : file.fields)
            text +=
                field.label + u"|5|"_s + level + u'|' + field.name + u'|' + field.picture + u'|';
    }
    return text + u"@Others|1|0| ||@Data|2|-1| ||Company Name|5|2|CompanyName|@s50|"_s;
}

} // namespace qaveq::writer
