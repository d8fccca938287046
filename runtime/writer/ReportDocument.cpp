#include "ReportDocument.h"

#include "Catalogue.h"
#include "Expression.h"

#include "core/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

namespace {

constexpr auto FormatName = u"qaveq-report";
// Geometry within reason for any paper: 50 inches.
constexpr qreal MaxUnits = 36000;
constexpr int MaxTextLength = 2000;
constexpr int MaxNameLength = 80;
constexpr int MaxTypeLength = 32;

struct Named
{
    const char16_t *name;
    int value;
};

const Named BandKinds[] = {
    {u"reportHeader", int(BandKind::ReportHeader)}, {u"pageHeader", int(BandKind::PageHeader)},
    {u"groupHeader", int(BandKind::GroupHeader)},   {u"detail", int(BandKind::Detail)},
    {u"groupFooter", int(BandKind::GroupFooter)},   {u"pageFooter", int(BandKind::PageFooter)},
    {u"reportFooter", int(BandKind::ReportFooter)}};
const Named ObjectKinds[] = {{u"text", int(ObjectKind::Text)},
                             {u"field", int(ObjectKind::Field)},
                             {u"expression", int(ObjectKind::Expression)},
                             {u"line", int(ObjectKind::Line)},
                             {u"rectangle", int(ObjectKind::Rectangle)},
                             {u"image", int(ObjectKind::Image)}};
const Named Totals[] = {
    {u"", int(Total::None)}, {u"sum", int(Total::Sum)}, {u"count", int(Total::Count)}};
const Named Alignments[] = {{u"left", 0x0001}, {u"right", 0x0002}, {u"center", 0x0004}};
const Named Papers[] = {{u"Letter", QPageSize::Letter},   {u"Legal", QPageSize::Legal},
                        {u"A4", QPageSize::A4},           {u"A3", QPageSize::A3},
                        {u"Tabloid", QPageSize::Tabloid}, {u"Executive", QPageSize::Executive}};

template <std::size_t N> QString nameOf(const Named (&table)[N], int value)
{
    for (const Named &entry : table)
        if (entry.value == value)
            return QString::fromUtf16(entry.name);
    return QString::fromUtf16(table[0].name);
}

template <std::size_t N> std::optional<int> valueOf(const Named (&table)[N], const QString &name)
{
    for (const Named &entry : table)
        if (name == QStringView(entry.name))
            return entry.value;
    return std::nullopt;
}

// A field reference as a report file may hold it: a prefix and a name, or a
// data item's name. Checked before the catalogue is at hand, so that a file
// never carries anything but a plain name into a run.
bool plainFieldName(const QString &name)
{
    static const QRegularExpression pattern(u"^([A-Za-z]{1,8}:)?[A-Za-z][A-Za-z0-9_]{0,39}$"_s);
    return pattern.match(name).hasMatch();
}

// Reads the members of one JSON object, collecting the first fault with the
// place it was found.
class Reader
{
public:
    explicit Reader(QString *error)
        : m_error(error)
    {}

    bool failed() const { return !m_error->isEmpty(); }
    void fail(const QString &where, const QString &what)
    {
        if (!failed())
            *m_error = where.isEmpty() ? what : where + u": "_s + what;
    }

    QString text(const QJsonObject &object, const QString &key, const QString &where,
                 int maxLength = MaxTextLength)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value.isNull())
            return {};
        if (!value.isString()) {
            fail(where, u"\"%1\" is not a text."_s.arg(key));
            return {};
        }
        if (value.toString().size() > maxLength) {
            fail(where, u"\"%1\" is longer than %2 characters."_s.arg(key).arg(maxLength));
            return {};
        }
        return value.toString();
    }
    qreal number(const QJsonObject &object, const QString &key, const QString &where, qreal low,
                 qreal high, qreal fallback)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined())
            return fallback;
        if (!value.isDouble() || value.toDouble() < low || value.toDouble() > high) {
            fail(where, u"\"%1\" must be a number from %2 to %3."_s.arg(key).arg(low).arg(high));
            return fallback;
        }
        return value.toDouble();
    }
    bool flag(const QJsonObject &object, const QString &key, const QString &where)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined())
            return false;
        if (!value.isBool())
            fail(where, u"\"%1\" must be true or false."_s.arg(key));
        return value.toBool();
    }
    template <std::size_t N>
    int choice(const QJsonObject &object, const QString &key, const QString &where,
               const Named (&table)[N])
    {
        const QString name = text(object, key, where, 40);
        if (object.value(key).isUndefined())
            return table[0].value;
        if (const std::optional<int> value = valueOf(table, name))
            return *value;
        fail(where, u"\"%1\" is not a known %2."_s.arg(name, key));
        return table[0].value;
    }
    QRectF rect(const QJsonObject &object, const QString &where)
    {
        const qreal x = number(object, u"x"_s, where, 0, MaxUnits, 0);
        const qreal y = number(object, u"y"_s, where, 0, MaxUnits, 0);
        const qreal w = number(object, u"width"_s, where, 0, MaxUnits, 0);
        const qreal h = number(object, u"height"_s, where, 0, MaxUnits, 0);
        return QRectF(x, y, w, h);
    }
    QColor color(const QJsonObject &object, const QString &key, const QString &where)
    {
        const QString name = text(object, key, where, 9);
        if (name.isEmpty())
            return {};
        static const QRegularExpression hex(u"^#[0-9A-Fa-f]{6}$"_s);
        if (!hex.match(name).hasMatch()) {
            fail(where, u"\"%1\" must be a colour written #RRGGBB."_s.arg(key));
            return {};
        }
        return QColor(name);
    }

private:
    QString *m_error;
};

ReportObject readObject(Reader &read, const QJsonObject &json, const QString &where)
{
    ReportObject object;
    object.kind = ObjectKind(read.choice(json, u"type"_s, where, ObjectKinds));
    object.rect = read.rect(json, where);
    object.text = read.text(json, u"text"_s, where);
    object.field = read.text(json, u"field"_s, where, 60);
    object.picture = read.text(json, u"picture"_s, where, 20);
    object.total = Total(read.choice(json, u"total"_s, where, Totals));
    object.alignment = read.choice(json, u"align"_s, where, Alignments);
    object.frame = read.flag(json, u"frame"_s, where);
    object.lineWidth = read.number(json, u"lineWidth"_s, where, 0, 200, 5);
    object.fill = read.color(json, u"fill"_s, where);
    const QJsonObject font = json.value(u"font"_s).toObject();
    if (!font.isEmpty()) {
        object.font.family = read.text(font, u"family"_s, where, 60);
        if (object.font.family.isEmpty())
            object.font.family = report::TextStyle().family;
        object.font.size = int(read.number(font, u"size"_s, where, 40, 1440, 80));
        object.font.bold = read.flag(font, u"bold"_s, where);
        object.font.italic = read.flag(font, u"italic"_s, where);
    }
    if (object.kind == ObjectKind::Field && !plainFieldName(object.field))
        read.fail(where, u"\"%1\" is not a field name."_s.arg(object.field));
    if (object.kind == ObjectKind::Expression) {
        QString fault;
        if (!Expression::parse(object.text, &fault))
            read.fail(where, fault);
    }
    if (object.kind == ObjectKind::Image) {
        const QString data =
            read.text(json, u"data"_s, where, ReportDocument::MaxImageBytes * 4 / 3 + 4);
        object.image = QByteArray::fromBase64(data.toLatin1());
        if (!read.failed() && QImage::fromData(object.image).isNull())
            read.fail(where, u"the image is not a PNG or JPEG picture."_s);
    }
    return object;
}

QJsonObject writeObject(const ReportObject &object)
{
    QJsonObject json{{u"type"_s, nameOf(ObjectKinds, int(object.kind))},
                     {u"x"_s, object.rect.x()},
                     {u"y"_s, object.rect.y()},
                     {u"width"_s, object.rect.width()},
                     {u"height"_s, object.rect.height()}};
    switch (object.kind) {
    case ObjectKind::Field:
        json.insert(u"field"_s, object.field);
        if (!object.picture.isEmpty())
            json.insert(u"picture"_s, object.picture);
        if (object.total != Total::None)
            json.insert(u"total"_s, nameOf(Totals, int(object.total)));
        [[fallthrough]];
    case ObjectKind::Text:
    case ObjectKind::Expression:
        if (object.kind != ObjectKind::Field)
            json.insert(u"text"_s, object.text);
        json.insert(u"font"_s, QJsonObject{{u"family"_s, object.font.family},
                                           {u"size"_s, object.font.size},
                                           {u"bold"_s, object.font.bold},
                                           {u"italic"_s, object.font.italic}});
        json.insert(u"align"_s, nameOf(Alignments, object.alignment));
        if (object.frame) {
            json.insert(u"frame"_s, true);
            json.insert(u"lineWidth"_s, object.lineWidth);
        }
        break;
    case ObjectKind::Rectangle:
        if (object.fill.isValid())
            json.insert(u"fill"_s, object.fill.name());
        [[fallthrough]];
    case ObjectKind::Line:
        json.insert(u"lineWidth"_s, object.lineWidth);
        break;
    case ObjectKind::Image:
        json.insert(u"data"_s, QString::fromLatin1(object.image.toBase64()));
        break;
    }
    return json;
}

} // namespace

QString bandKindName(BandKind kind)
{
    switch (kind) {
    case BandKind::ReportHeader:
        return u"Report Header"_s;
    case BandKind::PageHeader:
        return u"Page Header"_s;
    case BandKind::GroupHeader:
        return u"Group Header"_s;
    case BandKind::Detail:
        return u"Detail"_s;
    case BandKind::GroupFooter:
        return u"Group Footer"_s;
    case BandKind::PageFooter:
        return u"Page Footer"_s;
    case BandKind::ReportFooter:
        return u"Report Footer"_s;
    }
    return {};
}

QString bandCaption(const ReportBand &band, const Catalogue &catalogue)
{
    QString caption = bandKindName(band.kind);
    if (!band.groupBy.isEmpty()) {
        const CatalogueField *field = catalogue.field(band.groupBy);
        caption += u" on "_s + (field ? field->label : band.groupBy);
    } else if (!band.file.isEmpty()) {
        caption += u" ("_s + catalogue.title(band.file) + u')';
    }
    return caption;
}

const ReportBand *ReportDocument::band(BandKind kind, const QString &file,
                                       const QString &groupBy) const
{
    for (const ReportBand &band : bands)
        if (band.kind == kind && band.file.compare(file, Qt::CaseInsensitive) == 0 &&
            band.groupBy.compare(groupBy, Qt::CaseInsensitive) == 0)
            return &band;
    return nullptr;
}

QStringList ReportDocument::primaryGroups(const QString &primaryFile) const
{
    QStringList groups;
    for (const ReportBand &band : bands)
        if ((band.kind == BandKind::GroupHeader || band.kind == BandKind::GroupFooter) &&
            band.file.compare(primaryFile, Qt::CaseInsensitive) == 0 && !band.groupBy.isEmpty() &&
            !groups.contains(band.groupBy, Qt::CaseInsensitive))
            groups.append(band.groupBy);
    return groups;
}

QByteArray ReportDocument::toJson() const
{
    QJsonArray bandList;
    for (const ReportBand &band : bands) {
        QJsonArray objects;
        for (const ReportObject &object : band.objects)
            objects.append(writeObject(object));
        QJsonObject json{{u"kind"_s, nameOf(BandKinds, int(band.kind))},
                         {u"height"_s, band.height},
                         {u"objects"_s, objects}};
        if (!band.file.isEmpty())
            json.insert(u"file"_s, band.file);
        if (!band.groupBy.isEmpty())
            json.insert(u"groupBy"_s, band.groupBy);
        bandList.append(json);
    }
    const QJsonObject root{
        {u"format"_s, QString::fromUtf16(FormatName)},
        {u"version"_s, FormatVersion},
        {u"type"_s, type},
        {u"name"_s, name},
        {u"page"_s,
         QJsonObject{{u"paper"_s, nameOf(Papers, page.paper)},
                     {u"orientation"_s, page.landscape ? u"landscape"_s : u"portrait"_s},
                     {u"margins"_s, QJsonArray{page.margins.left(), page.margins.top(),
                                               page.margins.right(), page.margins.bottom()}}}},
        {u"printer"_s, QJsonObject{{u"askBeforeRun"_s, printer.askBeforeRun},
                                   {u"printerName"_s, printer.printerName},
                                   {u"copies"_s, printer.copies},
                                   {u"duplex"_s, printer.duplex}}},
        {u"bands"_s, bandList}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<ReportDocument> ReportDocument::fromJson(const QByteArray &bytes, QString *error)
{
    error->clear();
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    const QJsonObject root = json.object();
    if (json.isNull() || !json.isObject() || root.value(u"format"_s).toString() != FormatName) {
        *error = u"It is not a report file of the report writer."_s;
        return std::nullopt;
    }
    const QJsonValue version = root.value(u"version"_s);
    if (!version.isDouble() || version.toDouble() < 1) {
        *error = u"It carries no format version."_s;
        return std::nullopt;
    }
    if (version.toDouble() > FormatVersion) {
        *error = u"It was written in report format %1 by a later version of QAVEQ; this "
                 "version reads format %2 and earlier.|Open it with the later version, or "
                 "ask for the report to be saved again in format %2."_s.arg(version.toDouble())
                     .arg(FormatVersion);
        return std::nullopt;
    }

    Reader read(error);
    ReportDocument document;
    document.type = read.text(root, u"type"_s, u"The report"_s, MaxTypeLength);
    document.name = read.text(root, u"name"_s, u"The report"_s, MaxNameLength);
    const QJsonObject page = root.value(u"page"_s).toObject();
    document.page.paper = QPageSize::PageSizeId(read.choice(page, u"paper"_s, u"Page"_s, Papers));
    const QString orientation = read.text(page, u"orientation"_s, u"Page"_s, 20);
    if (!orientation.isEmpty() && orientation != u"portrait" && orientation != u"landscape")
        read.fail(u"Page"_s, u"\"orientation\" must be portrait or landscape."_s);
    document.page.landscape = orientation == u"landscape";
    const QJsonArray margins = page.value(u"margins"_s).toArray();
    if (!margins.isEmpty()) {
        qreal m[4] = {};
        for (int i = 0; i < 4; ++i) {
            m[i] = margins.at(i).toDouble(-1);
            if (margins.size() != 4 || m[i] < 0 || m[i] > 2880)
                read.fail(u"Page"_s, u"\"margins\" must be four numbers from 0 to 2880."_s);
        }
        document.page.margins = QMarginsF(m[0], m[1], m[2], m[3]);
    }
    const QSizeF paper = document.page.pageSize();
    if (document.page.printable().width() < 720 || document.page.printable().height() < 720)
        read.fail(u"Page"_s, u"the margins leave less than an inch to print on."_s);
    const QJsonObject printer = root.value(u"printer"_s).toObject();
    document.printer.askBeforeRun = read.flag(printer, u"askBeforeRun"_s, u"Printer"_s);
    document.printer.printerName = read.text(printer, u"printerName"_s, u"Printer"_s, 200);
    document.printer.copies = int(read.number(printer, u"copies"_s, u"Printer"_s, 1, 999, 1));
    document.printer.duplex = read.flag(printer, u"duplex"_s, u"Printer"_s);

    const QJsonArray bands = root.value(u"bands"_s).toArray();
    if (bands.size() > MaxBands)
        read.fail(u"The report"_s, u"it has more than %1 bands."_s.arg(MaxBands));
    for (qsizetype b = 0; b < bands.size() && !read.failed(); ++b) {
        const QJsonObject json = bands.at(b).toObject();
        const QString where = u"Band %1"_s.arg(b + 1);
        ReportBand band;
        band.kind = BandKind(read.choice(json, u"kind"_s, where, BandKinds));
        band.file = read.text(json, u"file"_s, where, 40);
        band.groupBy = read.text(json, u"groupBy"_s, where, 60);
        band.height = read.number(json, u"height"_s, where, 0, paper.height(), 300);
        if (!band.groupBy.isEmpty() && !plainFieldName(band.groupBy))
            read.fail(where, u"\"%1\" is not a field name."_s.arg(band.groupBy));
        const QJsonArray objects = json.value(u"objects"_s).toArray();
        if (objects.size() > MaxObjectsPerBand)
            read.fail(where, u"it has more than %1 objects."_s.arg(MaxObjectsPerBand));
        for (qsizetype o = 0; o < objects.size() && !read.failed(); ++o)
            band.objects.push_back(
                readObject(read, objects.at(o).toObject(), where + u", object %1"_s.arg(o + 1)));
        document.bands.push_back(std::move(band));
    }
    if (read.failed())
        return std::nullopt;
    return document;
}

std::optional<ReportDocument> ReportDocument::load(const QString &path, QString *error)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        *error = u"The report file %1 does not exist."_s.arg(path);
        return std::nullopt;
    }
    if (info.size() > MaxFileBytes) {
        *error = u"The report file %1 is larger than a report file can be."_s.arg(path);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"The report file %1 cannot be read: %2"_s.arg(path, file.errorString());
        return std::nullopt;
    }
    QString fault;
    std::optional<ReportDocument> document = fromJson(file.read(MaxFileBytes), &fault);
    if (!document)
        *error = u"The report file %1 cannot be used.|%2"_s.arg(path, fault);
    return document;
}

bool ReportDocument::save(const QString &path, QString *error) const
{
    if (const QString refused = OutputFile::refusal(path); !refused.isEmpty()) {
        *error = refused;
        return false;
    }
    *error = OutputFile::write(path, toJson());
    return error->isEmpty();
}

QString ReportDocument::check(const Catalogue &catalogue) const
{
    const CatalogueFile *primary = catalogue.primary();
    if (!primary)
        return u"The catalogue names no file."_s;
    int headers[3] = {};
    for (std::size_t b = 0; b < bands.size(); ++b) {
        const ReportBand &band = bands[b];
        const QString where = u"Band %1 (%2): "_s.arg(b + 1).arg(bandCaption(band, catalogue));
        const bool grouped = band.kind == BandKind::GroupHeader ||
                             band.kind == BandKind::GroupFooter || band.kind == BandKind::Detail;
        if (band.kind == BandKind::ReportHeader || band.kind == BandKind::PageHeader ||
            band.kind == BandKind::ReportFooter) {
            const int index = band.kind == BandKind::ReportHeader ? 0
                              : band.kind == BandKind::PageHeader ? 1
                                                                  : 2;
            if (++headers[index] > 1)
                return where + u"a report has one band of this kind."_s;
        }
        const CatalogueFile *file = catalogue.file(band.file);
        if (grouped) {
            if (!file)
                return where + u"the file \"%1\" is not in the catalogue of %2."_s.arg(
                                   band.file, catalogue.reportType());
            if (file->level == 3)
                return where + u"%1 is read with the file above it; its fields go in that "
                               "file's bands."_s.arg(file->name);
            if (file == primary && band.kind != BandKind::Detail && band.groupBy.isEmpty())
                return where + u"a group of %1 needs the field it breaks on."_s.arg(file->name);
            if (!band.groupBy.isEmpty() && catalogue.fileOf(band.groupBy) != primary)
                return where + u"a group breaks on a field of %1."_s.arg(primary->name);
            if (this->band(band.kind, band.file, band.groupBy) != &band)
                return where + u"the report has this band twice."_s;
        } else if (!band.file.isEmpty() || !band.groupBy.isEmpty()) {
            return where + u"this band belongs to no file."_s;
        }
        for (std::size_t o = 0; o < band.objects.size(); ++o) {
            const ReportObject &object = band.objects[o];
            const QString at = where + u"object %1: "_s.arg(o + 1);
            if (object.kind == ObjectKind::Field && !catalogue.field(object.field))
                return at + u"the field \"%1\" is not in the catalogue of %2."_s.arg(
                                object.field, catalogue.reportType());
            if (object.total != Total::None && band.kind != BandKind::GroupFooter &&
                band.kind != BandKind::ReportFooter)
                return at + u"totals go in group and report footers."_s;
            if (object.kind == ObjectKind::Expression) {
                QString fault;
                const std::optional<Expression> expression = Expression::parse(object.text, &fault);
                if (!expression)
                    return at + fault;
                if (const QString unknown = expression->unknownName(catalogue); !unknown.isEmpty())
                    return at + u"\"{%1}\" is neither a field of %2 nor one of %3."_s.arg(
                                    unknown, catalogue.reportType(),
                                    Expression::variables().join(u", "_s));
            }
        }
    }
    return {};
}

ReportDocument ReportDocument::blank(const QString &type, const QString &name,
                                     const QString &primaryFile)
{
    ReportDocument document;
    document.type = type;
    document.name = name;
    const qreal width = document.page.printable().width();
    ReportObject title;
    title.kind = ObjectKind::Expression;
    title.text = u"{ReportName}"_s;
    title.rect = QRectF(0, 0, width, 260);
    title.font.size = 140;
    title.font.bold = true;
    ReportObject page;
    page.kind = ObjectKind::Expression;
    page.text = u"Page {Page}"_s;
    page.rect = QRectF(width - 1500, 60, 1500, 180);
    page.alignment = 0x0002;
    document.bands.push_back({BandKind::PageHeader, {}, {}, 400, {title}});
    document.bands.push_back({BandKind::Detail, primaryFile, {}, 240, {}});
    document.bands.push_back({BandKind::PageFooter, {}, {}, 300, {page}});
    return document;
}

} // namespace qaveq::writer
