#pragma once

#include "runtime/report/PageImage.h"
#include "runtime/report/PageSetup.h"

#include <QByteArray>
#include <QColor>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace qaveq::writer {

class Catalogue;

// The parts of a designed report, printed in this order around the data.
enum class BandKind {
    ReportHeader,
    PageHeader,
    GroupHeader,
    Detail,
    GroupFooter,
    PageFooter,
    ReportFooter
};

enum class ObjectKind { Text, Field, Expression, Line, Rectangle, Image };

// What a field object in a footer shows: the value itself, or the total or
// count over the records of its group.
enum class Total { None, Sum, Count };

// One object of a band. Positions and sizes are decipoints from the band's
// top left corner, as everywhere in the report engine.
struct ReportObject
{
    ObjectKind kind = ObjectKind::Text;
    QRectF rect{0, 0, 1200, 180};
    QString text;    // a text object's text; an expression's template
    QString field;   // a field object's field ("EQL:Units", "CompanyName")
    QString picture; // the field's picture; blank: the catalogue's
    Total total = Total::None;
    report::TextStyle font;
    int alignment = 0x0001; // Qt::AlignLeft, AlignRight (0x2) or AlignHCenter (0x4)
    bool frame = false;     // a border round a text, field or expression
    qreal lineWidth = 5;    // lines, rectangles and frames
    QColor fill;            // rectangles; invalid: not filled
    QByteArray image;       // PNG or JPEG bytes
};

// A horizontal strip of the report. Group bands and details name the
// catalogue file they belong to: a group header and footer of the primary
// file break on a field of it (`groupBy`); those of a file of every related
// record (level 4) stand before and after that file's records.
struct ReportBand
{
    BandKind kind = BandKind::Detail;
    QString file;
    QString groupBy;
    qreal height = 300;
    std::vector<ReportObject> objects;
};

// The printer settings kept with a report: used instead of asking when the
// caller says so.
struct PrinterSettings
{
    bool askBeforeRun = false; // the printer dialog comes before the report runs
    QString printerName;       // blank: the default printer
    int copies = 1;
    bool duplex = false;
};

// A report file: its type (the procedure it belongs to), its name, the page,
// the printer settings and the bands.
struct ReportDocument
{
    // The format this version writes; files of a later format are refused.
    static constexpr int FormatVersion = 1;
    // Limits a file must keep, so that a damaged or hostile file cannot make
    // a run or the designer take the machine's memory.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
    static constexpr int MaxBands = 64;
    static constexpr int MaxObjectsPerBand = 500;
    static constexpr int MaxImageBytes = 4 * 1024 * 1024;

    QString type; // up to 32 characters
    QString name;
    report::PageSetup page;
    PrinterSettings printer;
    std::vector<ReportBand> bands;

    // The band of a kind for a file (group bands: of a group field too); null
    // when the report has none.
    const ReportBand *band(BandKind kind, const QString &file = {},
                           const QString &groupBy = {}) const;
    // The groups on the primary file, outermost first: the fields they break on.
    QStringList primaryGroups(const QString &primaryFile) const;

    QByteArray toJson() const;
    // The report from a file's bytes; the fault in words when the bytes are
    // not a report this version can read.
    static std::optional<ReportDocument> fromJson(const QByteArray &bytes, QString *error);
    // Reads and writes a report file; the fault in words, naming the file.
    static std::optional<ReportDocument> load(const QString &path, QString *error);
    bool save(const QString &path, QString *error) const;

    // Checks every band and object against the catalogue of the report's
    // type: files, fields, group fields and expression names must all be in
    // it. Empty when the report can run; else what is wrong and where.
    QString check(const Catalogue &catalogue) const;

    // A new report of a type: the name, a page header with the report's
    // name and a page footer with its page number.
    static ReportDocument blank(const QString &type, const QString &name,
                                const QString &primaryFile);
};

// How a band kind is named in the file and in the designer.
QString bandKindName(BandKind kind);
// A band as the designer names it, in the catalogue's words: "Group Header on
// Class Code", "Detail (Equipment)".
QString bandCaption(const ReportBand &band, const Catalogue &catalogue);

} // namespace qaveq::writer
