#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace qaveq::writer {

// One field a report may print: its label in the designer's tree, the name a
// report file refers to it by ("EQL:Units", or "CompanyName" for a data item)
// and the picture it is shown with by default.
struct CatalogueField
{
    QString label;
    QString name;
    QString picture;
};

// One data file of the catalogue with the fields it offers. The level tells
// how the file is read: 2 the primary file, 3 one related record per record
// of the file above it, 4 every related record.
struct CatalogueFile
{
    QString name;
    int level = 2;
    int parent = -1;
    QList<CatalogueField> fields;
};

// The catalogue handed to the report writer: which files and fields a report
// type may use. It is one text of items separated by "|", each item five
// values: label, kind or level, level or parent, name, picture.
class Catalogue
{
public:
    // The text of a catalogue; its own fault in words when it is not one.
    static std::optional<Catalogue> parse(const QString &text, QString *error);

    QString reportType() const { return m_type; }
    const QList<CatalogueFile> &files() const { return m_files; }
    // The data items below the files ("Company Name").
    const QList<CatalogueField> &dataItems() const { return m_data; }

    const CatalogueFile *file(QStringView name) const;
    const CatalogueFile *primary() const { return m_files.isEmpty() ? nullptr : &m_files.first(); }
    // The words a user reads for the report type or a file ("Equipment
    // Listing", "Equipment"); a name without words is shown as it is.
    QString title(const QString &name) const { return m_titles.value(name, name); }
    void setTitles(QMap<QString, QString> titles) { m_titles = std::move(titles); }
    // A field of any file or a data item, by name in any letter case.
    const CatalogueField *field(QStringView name) const;
    // The file a field belongs to; null for a data item or an unknown name.
    const CatalogueFile *fileOf(QStringView fieldName) const;

private:
    QString m_type;
    QList<CatalogueFile> m_files;
    QList<CatalogueField> m_data;
    QMap<QString, QString> m_titles;
};

// The label of a field from its name without prefix: separate words at each
// change from a lower-case letter or digit to a capital
// ("CumulativeNonProductiveUnits" gives "Cumulative Non Productive Units").
QString fieldLabel(QStringView name);

// Writes a catalogue's text: the report type, the files with their fields,
// then the data item "Company Name".
QString catalogueText(const QString &reportType, const QList<CatalogueFile> &files);

} // namespace qaveq::writer
