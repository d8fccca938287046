#include "EquipmentListing.h"

#include "LimitsLines.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/Images.h"
#include "records/Notes.h"
#include "records/UserDef.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"

#include "runtime/report/ReportColumns.h"

#include "data/Company.h"
#include "data/suite/PayrollFiles.h"

#include "core/Picture.h"
#include "core/Text.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace EquipmentListing {

QSize fitPhoto(const QSize &size)
{
    qint64 width = size.width();
    qint64 height = size.height();
    if (width > PhotoLimit) {
        height = (height * PhotoLimit + width / 2) / width;
        width = PhotoLimit;
    }
    if (height > PhotoLimit) {
        width = (width * PhotoLimit + height / 2) / height;
        height = PhotoLimit;
    }
    return QSize(int(width), int(height));
}

} // namespace EquipmentListing

namespace {

constexpr int Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int Right = Qt::AlignRight | Qt::AlignVCenter;

// The listing's columns on a portrait page (decipoints); a landscape page
// spreads them over its width.
struct Column
{
    qreal left, width;
};
constexpr Column IdColumn{0, 480}, DescriptionColumn{480, 1320}, ClassColumn{1800, 500},
    RateColumn{2300, 750}, MeterColumn{3050, 600}, VehicleColumn{3650, 650},
    LocationColumn{4300, 450}, ControlColumn{4750, 650};
constexpr qreal PortraitWidth = 5400;
constexpr qreal Row = 130;

const QString ListingExportHeading = u"ID\tDescription\tClass Code\t\tBilling Rate\tCurrent "
                                     "Meter\tVehicle\t\t\t\tLocation\tControl Accounts"_s;
// A data sheet's line: its fields in the sheet's order, then the
// user-defined fields that have a value and the physical description.
const QString DataSheetExportHeading =
    u"ID\tDescription\tLicense Plate\tLicense Code\tClass Code\tVIN\tActive\tPurchase "
    "Date\tPurchase Value\tUser Defined and Physical Description"_s;

report::TextStyle plain()
{
    return ReportBands::font(7);
}

report::TextStyle bold()
{
    return ReportBands::font(7, true);
}

QString formatted(QStringView picture, const Decimal &value)
{
    return Picture::parse(picture).format(value);
}

QString formatted(QStringView picture, qint64 value)
{
    return Picture::parse(picture).format(value);
}

QString formatted(QStringView picture, const QString &value)
{
    return Picture::parse(picture).format(value);
}

// A rectangle of a column on a row of a band, on a page `scale` times as
// wide as a portrait one; a little short of the next column, so that a
// right-aligned figure never runs into the text beside it.
QRectF cell(const Column &column, qreal scale, qreal top)
{
    constexpr qreal Gap = 80;
    return QRectF(column.left * scale, top, column.width * scale - Gap, Row);
}

QList<QString> userDefinedValues(const EQHeader &e)
{
    return {e.UD1, e.UD2,  e.UD3,  e.UD4,  e.UD5,  e.UD6,  e.UD7, e.UD8,
            e.UD9, e.UD10, e.UD11, e.UD12, e.UD13, e.UD14, e.UD15};
}

// The columns of a cost category line, under the heading "Cost", "Category",
// "Unit", "Debit", "Credit".
const report::ColumnTable &categoryColumns()
{
    static const report::ColumnTable table({{.heading = {u"Cost"_s}, .picture = u"@s10"_s},
                                            {.heading = {u"Category"_s}, .picture = u"@s30"_s},
                                            {.heading = {u"Unit"_s}, .picture = u"@s5"_s},
                                            {.heading = {u"Debit"_s}, .picture = u"@s12"_s},
                                            {.heading = {u"Credit"_s}, .picture = u"@s12"_s}},
                                           plain());
    return table;
}

// The summary's columns: the equipment on its first line, then its category.
const report::ColumnTable &summaryColumns()
{
    static const report::ColumnTable table(
        {{.heading = {u"ID"_s}, .picture = u"@s10"_s},
         {.heading = {u"Description"_s}, .picture = u"@s40"_s},
         {.heading = {u"Category"_s}, .picture = u"@s10"_s},
         {.heading = {u"Category Description"_s}, .picture = u"@s30"_s},
         {.heading = {u"Unit"_s}, .picture = u"@s5"_s},
         {.heading = {u"Debit"_s}, .picture = u"@s12"_s},
         {.heading = {u"Credit"_s}, .picture = u"@s12"_s}},
        ReportBands::font(8));
    return table;
}

// The band moved right by `dx`.
report::Band shifted(report::Band band, qreal dx)
{
    for (report::Element &element : band.elements)
        report::translate(element, QPointF(dx, 0));
    return band;
}

// An empty line on the page, and in the text copy, so that the copy keeps
// the printed grouping.
report::Band spacer()
{
    report::Band band;
    band.height = 60;
    band.exportLine(QString());
    return band;
}

report::Band columnHeadings(qreal scale)
{
    const struct
    {
        Column column;
        const char16_t *text;
    } headings[] = {{IdColumn, u"ID"},
                    {DescriptionColumn, u"Description"},
                    {ClassColumn, u"Class Code"},
                    {RateColumn, u"Billing Rate"},
                    {MeterColumn, u"Current Meter"},
                    {VehicleColumn, u"Vehicle"},
                    {LocationColumn, u"Location"},
                    {ControlColumn, u"Control Accounts"}};
    report::Band band;
    band.height = Row + 60;
    for (const auto &heading : headings)
        band.text(cell(heading.column, scale, 0), QString::fromUtf16(heading.text), bold(),
                  heading.column.left == MeterColumn.left ? Right : Left);
    band.line(QPointF(0, Row + 20), QPointF(PortraitWidth * scale, Row + 20), 5);
    return band;
}

// The equipment's block: its identity, rates, meter, vehicle, location and
// control accounts, each under its column heading.
report::Band masterBlock(const EQHeader &e, qreal scale)
{
    const qreal top = 50;
    report::Band band;
    band.height = top + 3 * Row + 30;
    const QString id = formatted(u"@s10", e.EquipmentID);
    const QString description = formatted(u"@s40", e.Description);
    const QString physical = formatted(u"@s100", e.PhysicalDescription);
    const QString classCode = formatted(u"@s10", e.ClassCode);
    const QString internalRate = formatted(u"@n8.2", e.InternalBillingRate);
    const QString rentalRate = formatted(u"@n8.2", e.RentalBillingRate);
    const QString meter = formatted(u"@n14.2", e.CurrentMeter);
    const QString license = formatted(u"@s10", e.VehicleLicense);
    const QString licenseCode = formatted(u"@s5", e.LicenseCode);
    const QString vin = formatted(u"@s30", e.VIN);
    const QString location = formatted(u"@s10", e.Location);
    const QString internalControl = formatted(u"@s10", e.InternalIncomeControl);
    const QString rentalControl = formatted(u"@s10", e.RentalIncomeControl);

    const auto labelled = [&](const Column &column, qreal y, const QString &label,
                              const QString &value) {
        band.text(cell(column, scale, y), label, plain(), Left)
            .text(cell(column, scale, y), value.trimmed(), plain(), Right);
    };
    band.text(cell(IdColumn, scale, top), id, bold())
        .text(cell(DescriptionColumn, scale, top), description, bold())
        .text(cell(ClassColumn, scale, top), classCode, plain())
        .text(cell(MeterColumn, scale, top), meter.trimmed(), plain(), Right)
        .text(cell(LocationColumn, scale, top), location, plain());
    labelled(RateColumn, top, u"Internal:"_s, internalRate);
    labelled(RateColumn, top + Row, u"Rental:"_s, rentalRate);
    labelled(VehicleColumn, top, u"License:"_s, license);
    labelled(VehicleColumn, top + Row, u"Code:"_s, licenseCode);
    labelled(ControlColumn, top, u"Internal:"_s, internalControl);
    labelled(ControlColumn, top + Row, u"External:"_s, rentalControl);
    // The physical description and the VIN run on under the columns beside them.
    band.text(QRectF(DescriptionColumn.left * scale, top + 2 * Row,
                     (VehicleColumn.left - DescriptionColumn.left) * scale, Row),
              physical, plain())
        .text(QRectF(VehicleColumn.left * scale, top + 2 * Row,
                     (PortraitWidth - VehicleColumn.left) * scale, Row),
              u"VIN: "_s + vin, plain());

    band.exportLine(QStringList{
        Text::clip(id), Text::clip(description), Text::clip(classCode), Text::clip(physical),
        u"Internal: "_s + internalRate.trimmed() + u" Rental: "_s + rentalRate.trimmed(),
        meter.trimmed(), u"License: "_s + Text::clip(license),
        u"Code: "_s + Text::clip(licenseCode), u"VIN: "_s + Text::clip(vin), QString(),
        Text::clip(location),
        u"Internal: "_s + Text::clip(internalControl) + u" External: "_s +
            Text::clip(rentalControl)}
                        .join(u'\t'));
    return band;
}

// A line of text under the description column, exported as it is printed.
report::Band textLine(const QString &text, qreal scale)
{
    report::Band band;
    band.height = Row;
    band.text(QRectF(DescriptionColumn.left * scale, 0,
                     (PortraitWidth - DescriptionColumn.left) * scale, Row),
              text, plain());
    band.exportLine(text);
    return band;
}

// "Year: 2019  Make: Caterpillar  Model: D6", each part only when present.
QString yearMakeModel(const EQHeader &e)
{
    QStringList parts;
    if (e.Year != 0)
        parts.append(u"Year: "_s + formatted(u"@n_4b", qint64(e.Year)));
    if (const QString make = Text::clip(e.Make); !make.isEmpty())
        parts.append(u"Make: "_s + make);
    if (const QString model = Text::clip(e.Model); !model.isEmpty())
        parts.append(u"Model: "_s + model);
    return parts.join(u"  "_s);
}

} // namespace

EquipmentListingReport::Format EquipmentListingReport::formatOf(const EQLimits &definition)
{
    const QString format = Text::clip(definition.ReportFormat);
    if (format == u"S")
        return Format::Summary;
    if (format == u"C")
        return Format::Complete;
    if (format == u"D")
        return Format::DataSheet;
    return Format::Master;
}

EquipmentListingReport::EquipmentListingReport(data::Company &company, EQLimits definition,
                                               Format format, ListingPictures pictures)
    : ReportPass({.title = u"Equipment Listing"_s,
                  .pdfFileName = u"Equipment Listing.pdf"_s,
                  .page = ReportIdentity::paper(Text::clip(definition.Orientation) == u"L"),
                  .primaryFile = &company.file<EQHeader>()})
    , m_company(company)
    , m_selection(company, std::move(definition), 0)
    , m_format(format)
    , m_pictures(std::move(pictures))
{}

QStringList EquipmentListingReport::limitsLines() const
{
    QStringList lines{u"Equipment Costing > Reports > Equipment Listing"_s};
    lines.append(
        LimitsLines::standard(m_company, m_selection, {.categories = false, .dates = false}));
    // The footer has room for eight.
    return lines.mid(0, 8);
}

bool EquipmentListingReport::open(ReportRun &)
{
    m_equipment = m_selection.equipment();
    m_next = 0;
    m_printing = false;
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    const bool found = bool(m_company.file<UserDef>().fetch(u"KeyFile", prompts));
    m_prompts.clear();
    for (const QString &prompt : {prompts.U1, prompts.U2, prompts.U3, prompts.U4, prompts.U5,
                                  prompts.U6, prompts.U7, prompts.U8, prompts.U9, prompts.U10,
                                  prompts.U11, prompts.U12, prompts.U13, prompts.U14, prompts.U15})
        m_prompts.append(found ? Text::clip(prompt).left(20) : QString());
    return !m_equipment.isEmpty();
}

QString EquipmentListingReport::promptOf(int field) const
{
    // A value without a prompt of its own still says which field it is.
    const QString prompt = m_prompts.at(field);
    return prompt.isEmpty() ? u"User Defined %1"_s.arg(field + 1) : prompt;
}

bool EquipmentListingReport::print(ReportRun &run, const report::Band &band)
{
    // The pages start with the first band printed: a summary whose equipment
    // has no categories prints nothing at all.
    if (!m_printing) {
        m_printing = true;
        report::Band first;
        if (m_format == Format::Summary) {
            run.beginPrinting([](int) { return summaryColumns().headings(); });
            first.exportLines = summaryColumns().exportHeadings();
        } else if (m_format == Format::DataSheet) {
            // A page of its own each: no column headings over the photo.
            run.beginPrinting();
            first.exportLine(DataSheetExportHeading);
        } else {
            const qreal scale = pageSetup().printable().width() / PortraitWidth;
            run.beginPrinting([scale](int) { return columnHeadings(scale); });
            first.exportLine(ListingExportHeading);
        }
        report::Band opening = first;
        opening.append(band);
        return run.engine()->print(opening);
    }
    return run.engine()->print(band);
}

bool EquipmentListingReport::next(ReportRun &run, int records)
{
    for (int i = 0; i < records && m_next < m_equipment.size(); ++i) {
        EQHeader equipment;
        equipment.EquipmentID = m_equipment.at(m_next++).id;
        if (!m_company.file<EQHeader>().fetch(u"KeyEquipmentID", equipment))
            continue; // deleted since it was selected
        bool printed = true;
        switch (m_format) {
        case Format::Master:
            printed = printMaster(run, equipment);
            break;
        case Format::Complete:
            printed = printComplete(run, equipment);
            break;
        case Format::DataSheet:
            printed = printDataSheet(run, equipment);
            break;
        case Format::Summary:
            printed = printSummary(run, equipment);
            break;
        }
        if (!printed)
            return false;
    }
    return m_next < m_equipment.size();
}

int EquipmentListingReport::percentRead() const
{
    return m_equipment.isEmpty() ? 100 : int(m_next * 100 / m_equipment.size());
}

bool EquipmentListingReport::printMaster(ReportRun &run, const EQHeader &equipment)
{
    return print(run, masterBlock(equipment, pageSetup().printable().width() / PortraitWidth));
}

QString EquipmentListingReport::employeeName(qint32 employeeId) const
{
    PREmp employee;
    employee.EmployeeID = employeeId;
    if (employeeId == 0 || !m_company.file<PREmp>().fetch(u"KeyEmployeeID", employee))
        return {};
    return (Text::clip(employee.FirstName) + u' ' + Text::clip(employee.LastName)).trimmed();
}

bool EquipmentListingReport::printComplete(ReportRun &run, const EQHeader &equipment)
{
    const qreal scale = pageSetup().printable().width() / PortraitWidth;
    const qreal indent = DescriptionColumn.left * scale;
    // The identification block for every equipment, with or without cost
    // categories: its notes and user-defined fields never stand unnamed.
    report::Band block = masterBlock(equipment, scale);
    if (const QString line = yearMakeModel(equipment); !line.isEmpty())
        block.append(textLine(line, scale));
    if (const QString name = employeeName(equipment.OperatorEmployeeID); !name.isEmpty())
        block.append(
            textLine(u"Operator: (%1) %2"_s.arg(equipment.OperatorEmployeeID).arg(name), scale));
    block.append(spacer());
    data::KeyCursor costs = m_company.file<EQCost>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({Text::clip(equipment.EquipmentID)}));
    int count = 0;
    for (EQCost cost; costs.next(cost);) {
        if (count == 0) {
            // The heading once, over the first category line.
            block.append(shifted(categoryColumns().headings(), indent));
            block.exportLines.append(categoryColumns().exportHeadings());
            if (!print(run, block))
                return false;
        }
        ++count;
        EQCode code;
        code.CategoryID = Text::clip(cost.CostCategory);
        const QString description = m_company.file<EQCode>().fetch(u"KeyCategoryID", code)
                                        ? Text::clip(code.Description)
                                        : u"Code Not In Dictionary"_s;
        report::Band line;
        // Pairs of lines: a spacer before the first, third, fifth...
        if (count % 2 == 1)
            line.append(spacer());
        line.append(
            shifted(categoryColumns().detail(
                        {Text::clip(cost.CostCategory), description, Text::clip(cost.UnitName),
                         Text::clip(cost.ControlDebit), Text::clip(cost.ControlCredit)}),
                    indent));
        if (!print(run, line))
            return false;
    }
    if (count == 0 && !print(run, block))
        return false;
    if (!printNotesAndUserDefined(run, equipment))
        return false;
    return print(run, spacer());
}

bool EquipmentListingReport::printNotesAndUserDefined(ReportRun &run, const EQHeader &equipment)
{
    const qreal scale = pageSetup().printable().width() / PortraitWidth;
    const qreal indent = DescriptionColumn.left * scale;
    const qreal width = PortraitWidth * scale - indent;
    data::KeyCursor notes = m_company.file<Notes>().scan(
        u"KeyEntityID", data::ScanOptions::equal({Text::clip(equipment.EquipmentID)}));
    bool first = true;
    for (Notes note; notes.next(note);) {
        if (Text::clip(note.EntityType) != u"EQHeader"_s)
            continue;
        report::Band band;
        if (first) {
            first = false;
            band.height = Row + 40;
            band.text(QRectF(indent, 40, width, Row), u"Notes"_s, bold());
            band.exportLine(u"Notes"_s);
        }
        const qreal top = band.height;
        const QString date = formatted(u"@d1b", qint64(note.Date));
        const QString heading = formatted(u"@s20", note.Heading);
        // The note runs on in lines as wide as its column.
        const qreal noteLeft = indent + 1400;
        const int characters = std::max(20, int((width - 1400) / 30));
        const QStringList lines = Text::wrap(Text::clip(note.Note), characters);
        band.text(QRectF(indent, top, 500, Row), date, plain())
            .text(QRectF(indent + 500, top, 900, Row), heading, plain());
        for (int i = 0; i < lines.size(); ++i)
            band.text(QRectF(noteLeft, top + i * Row, width - 1400, Row), lines.at(i), plain());
        band.height = top + std::max<qsizetype>(1, lines.size()) * Row;
        band.exportLine(
            QStringList{date.trimmed(), Text::clip(heading), Text::clip(note.Note)}.join(u'\t'));
        if (!print(run, band))
            return false;
    }

    // The fifteen fields in two columns, down the first then the second;
    // a field with neither prompt nor value is left out.
    const QList<QString> values = userDefinedValues(equipment);
    QList<std::pair<QString, QString>> fields;
    for (int n = 0; n < 15; ++n) {
        const QString value = Text::clip(values.at(n)).left(40);
        if (!m_prompts.at(n).isEmpty() || !value.isEmpty())
            fields.append({promptOf(n), value});
    }
    report::Band block;
    block.height = Row + 40;
    block.text(QRectF(indent, 40, width, Row), u"User Defined"_s, bold());
    block.exportLine(u"User Defined"_s);
    const qsizetype rows = (fields.size() + 1) / 2;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const qreal left = indent + (i < rows ? 0 : width / 2);
        const qreal top = block.height + (i % std::max<qsizetype>(rows, 1)) * Row;
        block.text(QRectF(left, top, 800, Row), fields.at(i).first, plain())
            .text(QRectF(left + 800, top, width / 2 - 850, Row), fields.at(i).second, plain());
        block.exportLine(fields.at(i).first + u'\t' + fields.at(i).second);
    }
    block.height += rows * Row;
    return print(run, block);
}

bool EquipmentListingReport::printSummary(ReportRun &run, const EQHeader &equipment)
{
    data::KeyCursor costs = m_company.file<EQCost>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({Text::clip(equipment.EquipmentID)}));
    bool first = true;
    for (EQCost cost; costs.next(cost);) {
        EQCode code;
        code.CategoryID = Text::clip(cost.CostCategory);
        const QString description = m_company.file<EQCode>().fetch(u"KeyCategoryID", code)
                                        ? Text::clip(code.Description)
                                        : u"Code Not In Dictionary"_s;
        const report::Band line = summaryColumns().detail(
            {first ? Text::clip(equipment.EquipmentID) : QString(),
             first ? Text::clip(equipment.Description) : QString(), Text::clip(cost.CostCategory),
             description, Text::clip(cost.UnitName), Text::clip(cost.ControlDebit),
             Text::clip(cost.ControlCredit)});
        first = false;
        if (!print(run, line))
            return false;
    }
    return true;
}

std::optional<EquipmentListingReport::Photo>
EquipmentListingReport::photoOf(const QString &equipmentId) const
{
    Images record;
    data::KeyCursor photos = m_company.file<Images>().scan(
        u"KeyTypeStringID", data::ScanOptions::equal({u"Equipment"_s, Text::clip(equipmentId)}));
    if (!photos.next(record))
        return std::nullopt;
    // Only a name inside the store: a record never reads a file elsewhere.
    const QString stored = QFileInfo(Text::clip(record.FileName)).fileName();
    QByteArray bytes;
    if (!stored.isEmpty() && !m_pictures.imageFolder.isEmpty()) {
        QFile file(QDir(m_pictures.imageFolder).filePath(stored));
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    QImage image = QImage::fromData(bytes);
    if (image.isNull()) {
        if (m_pictures.noPhoto.isEmpty())
            return std::nullopt;
        return Photo{m_pictures.noPhoto, QSize(1000, 1000)};
    }
    // Its size as the picture says (96 dots an inch when it does not).
    const qreal dotsPerInch =
        image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : qreal(96);
    const QSize size(qRound(image.width() * 1000 / dotsPerInch),
                     qRound(image.height() * 1000 / dotsPerInch));
    // A large picture is made smaller for the page (300 dots an inch is
    // plenty at three inches); PNG and JPEG go in as they are.
    constexpr int LargestSide = 1200;
    const bool known = bytes.startsWith("\x89PNG") || bytes.startsWith("\xFF\xD8");
    if (known && image.width() <= LargestSide && image.height() <= LargestSide)
        return Photo{bytes, size};
    if (image.width() > LargestSide || image.height() > LargestSide)
        image =
            image.scaled(LargestSide, LargestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, image.hasAlphaChannel() ? "PNG" : "JPEG", 90);
    return Photo{encoded, size};
}

bool EquipmentListingReport::printDataSheet(ReportRun &run, const EQHeader &e)
{
    const qreal width = pageSetup().printable().width();
    const report::TextStyle label = ReportBands::font(9);
    const report::TextStyle value = ReportBands::font(9);
    constexpr qreal Line = 200;
    report::Band sheet;
    QStringList exported;

    // Thousandths of an inch to decipoints.
    qreal photoBottom = 0;
    qreal fieldsLeft = 0;
    if (const std::optional<Photo> photo = photoOf(e.EquipmentID)) {
        const QSizeF size = QSizeF(EquipmentListing::fitPhoto(photo->size)) * 0.72;
        sheet.image(QRectF(QPointF(0, 0), size), photo->encoded);
        photoBottom = size.height();
        fieldsLeft = EquipmentListing::PhotoLimit * 0.72 + 200;
    }
    const QString id = Text::clip(e.EquipmentID);
    const QString description = Text::clip(e.Description);
    sheet.text(QRectF(fieldsLeft, 0, width - fieldsLeft, 280), id, ReportBands::font(14, true))
        .text(QRectF(fieldsLeft, 280, width - fieldsLeft, 240), description,
              ReportBands::font(11, true));
    exported << id << description;
    const struct
    {
        const char16_t *label;
        QString value;
    } fields[] = {
        {u"License Plate:", Text::clip(e.VehicleLicense)},
        {u"License Code:", Text::clip(e.LicenseCode)},
        {u"Class Code:", formatted(u"@s30", e.ClassCode)},
        {u"VIN:", Text::clip(e.VIN)},
        {u"Purchase Date:", formatted(u"@d1b", qint64(e.PurchaseDate)).trimmed()},
        {u"Purchase Value:", formatted(u"@n-19.2b", e.PurchaseValue).trimmed()},
    };
    qreal y = 600;
    const qreal labelWidth = 1200;
    for (const auto &field : fields) {
        const QString text = QString::fromUtf16(field.label);
        sheet.text(QRectF(fieldsLeft, y, labelWidth, Line), text, label, Right)
            .text(QRectF(fieldsLeft + labelWidth + 100, y, width - fieldsLeft - labelWidth - 100,
                         Line),
                  Text::clip(field.value), value);
        exported << text + u' ' + Text::clip(field.value);
        y += Line;
        if (text == u"VIN:") {
            // The check box of an active equipment, after its vehicle data.
            const QRectF box(fieldsLeft + labelWidth + 100, y + 40, 120, 120);
            sheet.box(box, QColor(), Qt::black, 8)
                .text(QRectF(fieldsLeft, y, labelWidth, Line), u"Active"_s, label, Right);
            if (e.Active == 1)
                sheet.line(box.topLeft() + QPointF(20, 60), box.topLeft() + QPointF(50, 100), 12)
                    .line(box.topLeft() + QPointF(50, 100), box.topLeft() + QPointF(105, 15), 12);
            exported << (e.Active == 1 ? u"Active: Yes"_s : u"Active: No"_s);
            y += Line;
        }
    }

    // The user-defined fields that have a value, each after its prompt.
    y = std::max(y, photoBottom) + 250;
    const QList<QString> values = userDefinedValues(e);
    for (int n = 0; n < 15; ++n) {
        const QString filled = Text::clip(values.at(n)).left(40);
        if (filled.isEmpty())
            continue;
        const QString prompt = promptOf(n) + u':';
        sheet.text(QRectF(0, y, 1800, Line), prompt, label, Right)
            .text(QRectF(1900, y, width - 1900, Line), filled, value);
        exported << prompt + u' ' + filled;
        y += Line;
    }

    const QString physical = Text::clip(e.PhysicalDescription);
    if (!physical.isEmpty()) {
        y += 150;
        const QStringList lines = Text::wrap(physical, std::max(30, int(width / 45)));
        for (const QString &line : lines) {
            sheet.text(QRectF(0, y, width, Line), line, value);
            y += Line;
        }
        exported << physical;
    }
    sheet.height = y;
    sheet.exportLine(exported.join(u'\t'));
    return print(run, sheet) && run.engine()->endPage();
}

} // namespace qaveq
