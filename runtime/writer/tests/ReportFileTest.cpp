#include "runtime/writer/Catalogue.h"
#include "runtime/writer/DesignModel.h"
#include "runtime/writer/Expression.h"
#include "runtime/writer/ReportDocument.h"

#include "core/OutputFile.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::writer;

namespace {

const QString SmallCatalogue =
    u"@ProcessedFiles|1|0|PrintThingsFM||'Thing'|2|-1|Thing||Thing ID|5|2|THG:ThingID|@s10|"
    "Amount|5|2|THG:Amount|@n-15.2|'Part'|4|-2|Part||Part ID|5|4|PRT:PartID|@s10|"
    "'Kind'|3|-3|Kind||Kind Name|5|3|KND:Name|@s20|@Others|1|0| ||@Data|2|-1| ||"
    "Company Name|5|2|CompanyName|@s50|"_s;

Catalogue catalogue()
{
    QString error;
    std::optional<Catalogue> parsed = Catalogue::parse(SmallCatalogue, &error);
    EXPECT_TRUE(parsed.has_value()) << error.toStdString();
    return parsed.value_or(Catalogue());
}

TEST(CatalogueTest, ParsesIntoFilesAndFieldsAndWritesTheSameText)
{
    const Catalogue parsed = catalogue();
    EXPECT_EQ(parsed.reportType(), u"PrintThingsFM");
    ASSERT_EQ(parsed.files().size(), 3);
    EXPECT_EQ(parsed.primary()->name, u"Thing");
    EXPECT_EQ(parsed.files().at(1).level, 4);
    EXPECT_EQ(parsed.files().at(2).parent, -3);
    EXPECT_EQ(parsed.fileOf(u"prt:partid")->name, u"Part");
    EXPECT_EQ(parsed.field(u"CompanyName")->picture, u"@s50");
    EXPECT_EQ(catalogueText(parsed.reportType(), parsed.files()), SmallCatalogue);

    QString error;
    EXPECT_FALSE(Catalogue::parse(u"Thing|2|-1|Thing|"_s, &error));
    EXPECT_FALSE(Catalogue::parse(u"@ProcessedFiles|1|0|T||Field|5|2|F:X|@s1|"_s, &error));
    EXPECT_FALSE(Catalogue::parse(u"@ProcessedFiles|1|0|T||'F'|x|-1|F||"_s, &error));
}

TEST(CatalogueTest, LabelsBreakAtEachNewWord)
{
    EXPECT_EQ(fieldLabel(u"CumulativeNonProductiveUnits"), u"Cumulative Non Productive Units");
    EXPECT_EQ(fieldLabel(u"DepreciationYears"), u"Depreciation Years");
    EXPECT_EQ(fieldLabel(u"VIN"), u"VIN");
    EXPECT_EQ(fieldLabel(u"UD1Value"), u"UD1 Value");
}

TEST(ExpressionTest, NamesLiteralsAndBraces)
{
    QString error;
    const std::optional<Expression> expression =
        Expression::parse(u"Page {Page} of {{all}} {THG:ThingID}"_s, &error);
    ASSERT_TRUE(expression);
    ASSERT_EQ(expression->parts.size(), 4);
    EXPECT_EQ(expression->parts.at(1).text, u"Page");
    EXPECT_TRUE(expression->parts.at(1).name);
    EXPECT_EQ(expression->parts.at(2).text, u" of {all} ");
    EXPECT_TRUE(expression->unknownName(catalogue()).isEmpty());
    EXPECT_EQ(Expression::parse(u"{THG:Nope}"_s, &error)->unknownName(catalogue()), u"THG:Nope");
    EXPECT_FALSE(Expression::parse(u"{Page"_s, &error));
    EXPECT_FALSE(Expression::parse(u"Page}"_s, &error));
    EXPECT_FALSE(Expression::parse(u"{ }"_s, &error));
}

ReportDocument fullReport()
{
    ReportDocument document = ReportDocument::blank(u"PrintThingsFM"_s, u"Things"_s, u"Thing"_s);
    document.page.paper = QPageSize::A4;
    document.page.landscape = true;
    document.page.margins = QMarginsF(300, 360, 420, 480);
    document.printer = {true, u"Office Laser"_s, 3, true};
    ReportObject amount;
    amount.kind = ObjectKind::Field;
    amount.field = u"THG:Amount"_s;
    amount.picture = u"@n-12.2"_s;
    amount.total = Total::Sum;
    amount.alignment = 0x0002;
    amount.frame = true;
    amount.font.bold = true;
    amount.font.size = 100;
    ReportObject box;
    box.kind = ObjectKind::Rectangle;
    box.fill = QColor(0xDC, 0xE3, 0xEC);
    ReportObject line;
    line.kind = ObjectKind::Line;
    line.rect = QRectF(0, 20, 3000, 0);
    line.lineWidth = 8;
    ReportObject image;
    image.kind = ObjectKind::Image;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QBuffer buffer(&image.image);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    document.bands.push_back({BandKind::GroupHeader, u"Thing"_s, u"THG:ThingID"_s, 300, {image}});
    document.bands.push_back(
        {BandKind::GroupFooter, u"Thing"_s, u"THG:ThingID"_s, 300, {amount, box, line}});
    document.bands.push_back({BandKind::Detail, u"Part"_s, {}, 200, {}});
    return document;
}

TEST(ReportDocumentTest, SaveAndLoadGiveTheSameReport)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"things.qvr"_s);
    const ReportDocument document = fullReport();
    QString error;
    ASSERT_TRUE(document.save(path, &error)) << error.toStdString();
    const std::optional<ReportDocument> loaded = ReportDocument::load(path, &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    EXPECT_EQ(loaded->toJson(), document.toJson());
    EXPECT_EQ(loaded->printer.printerName, u"Office Laser");
    EXPECT_EQ(loaded->bands.at(4).objects.at(0).total, Total::Sum);
    EXPECT_EQ(loaded->bands.at(4).objects.at(1).fill, QColor(0xDC, 0xE3, 0xEC));
    EXPECT_FALSE(loaded->bands.at(3).objects.at(0).image.isEmpty());
    EXPECT_TRUE(loaded->check(catalogue()).isEmpty()) << loaded->check(catalogue()).toStdString();
    EXPECT_EQ(loaded->primaryGroups(u"Thing"_s), QStringList{u"THG:ThingID"_s});
}

std::optional<ReportDocument> withChange(const std::function<void(QJsonObject &)> &change,
                                         QString *error)
{
    QJsonObject root = QJsonDocument::fromJson(fullReport().toJson()).object();
    change(root);
    return ReportDocument::fromJson(QJsonDocument(root).toJson(), error);
}

TEST(ReportDocumentTest, DamagedOrHostileFilesAreRefusedWithTheirFault)
{
    QString error;
    EXPECT_FALSE(ReportDocument::fromJson("[1,2]", &error));
    EXPECT_FALSE(ReportDocument::fromJson("{\"format\":\"qaveq-report\"}", &error));
    EXPECT_TRUE(error.contains(u"version"_s));

    EXPECT_FALSE(withChange([](QJsonObject &root) { root[u"version"_s] = 2; }, &error));
    EXPECT_TRUE(error.contains(u"later version"_s)) << error.toStdString();

    const auto bandObject = [](QJsonObject &root, const QString &key, const QJsonValue &value) {
        QJsonArray bands = root[u"bands"_s].toArray();
        QJsonObject band = bands[4].toObject();
        QJsonArray objects = band[u"objects"_s].toArray();
        QJsonObject object = objects[0].toObject();
        object[key] = value;
        objects[0] = object;
        band[u"objects"_s] = objects;
        bands[4] = band;
        root[u"bands"_s] = bands;
    };
    const struct
    {
        QString key;
        QJsonValue value;
        QString fault;
    } faults[] = {
        {u"field"_s, u"THG:Amount) OR 1=1 --"_s, u"is not a field name"_s},
        {u"x"_s, 1e12, u"\"x\" must be a number"_s},
        {u"width"_s, -5, u"\"width\" must be a number"_s},
        {u"type"_s, u"script"_s, u"is not a known type"_s},
        {u"total"_s, u"average"_s, u"is not a known total"_s},
        {u"fill"_s, u"red"_s, u"#RRGGBB"_s},
        {u"picture"_s, QString(30, u'n'), u"longer than"_s},
    };
    for (const auto &fault : faults) {
        EXPECT_FALSE(withChange(
            [&](QJsonObject &root) { bandObject(root, fault.key, fault.value); }, &error))
            << fault.key.toStdString();
        EXPECT_TRUE(error.contains(u"Band 5, object 1"_s)) << error.toStdString();
        EXPECT_TRUE(error.contains(fault.fault)) << error.toStdString();
    }
    EXPECT_FALSE(withChange(
        [](QJsonObject &root) {
            QJsonArray bands = root[u"bands"_s].toArray();
            QJsonObject band = bands[3].toObject();
            QJsonArray objects = band[u"objects"_s].toArray();
            QJsonObject image = objects[0].toObject();
            image[u"data"_s] = QString::fromLatin1(QByteArray("not a picture").toBase64());
            objects[0] = image;
            band[u"objects"_s] = objects;
            bands[3] = band;
            root[u"bands"_s] = bands;
        },
        &error));
    EXPECT_TRUE(error.contains(u"PNG or JPEG"_s));
    EXPECT_FALSE(withChange(
        [](QJsonObject &root) {
            QJsonArray bands;
            for (int i = 0; i <= ReportDocument::MaxBands; ++i)
                bands.append(QJsonObject{{u"kind"_s, u"detail"_s}});
            root[u"bands"_s] = bands;
        },
        &error));
    EXPECT_FALSE(withChange(
        [](QJsonObject &root) {
            root[u"page"_s] = QJsonObject{{u"margins"_s, QJsonArray{2800, 0, 2800, 0}}};
        },
        &error));
    EXPECT_TRUE(error.contains(u"less than an inch"_s)) << error.toStdString();

    QTemporaryDir folder;
    EXPECT_FALSE(ReportDocument::load(folder.filePath(u"none.qvr"_s), &error));
    EXPECT_TRUE(error.contains(u"does not exist"_s));
    EXPECT_FALSE(ReportDocument::load(folder.path(), &error));
}

TEST(ReportDocumentTest, CheckAgainstTheCatalogue)
{
    const Catalogue things = catalogue();
    const auto fault = [&things](const std::function<void(ReportDocument &)> &change) {
        ReportDocument document = fullReport();
        change(document);
        return document.check(things);
    };
    EXPECT_TRUE(fault([](ReportDocument &) {}).isEmpty());
    EXPECT_TRUE(fault([](ReportDocument &d) {
                    d.bands[4].objects[0].field = u"THG:Weight"_s;
                }).contains(u"\"THG:Weight\" is not in the catalogue of PrintThingsFM"_s));
    EXPECT_TRUE(fault([](ReportDocument &d) {
                    d.bands[5].file = u"Kind"_s;
                }).contains(u"read with the file above it"_s));
    EXPECT_TRUE(fault([](ReportDocument &d) {
                    d.bands[3].groupBy.clear();
                }).contains(u"needs the field it breaks on"_s));
    EXPECT_TRUE(fault([](ReportDocument &d) {
                    d.bands[3].groupBy = u"PRT:PartID"_s;
                }).contains(u"breaks on a field of Thing"_s));
    EXPECT_TRUE(fault([](ReportDocument &d) {
                    d.bands.push_back(d.bands[0]);
                }).contains(u"one band of this kind"_s));
    EXPECT_TRUE(fault([](ReportDocument &d) {
                    d.bands[0].objects[0].text = u"{Pages}"_s;
                }).contains(u"\"{Pages}\" is neither"_s));
    EXPECT_TRUE(fault([](ReportDocument &d) {
                    d.bands[1].objects.push_back(d.bands[4].objects[0]);
                }).contains(u"totals go in group and report footers"_s));
}

TEST(DesignModelTest, DropMoveResizeUndoRedo)
{
    DesignModel model(catalogue(),
                      ReportDocument::blank(u"PrintThingsFM"_s, u"New report"_s, u"Thing"_s));
    const int detail = int(model.bandOrder().at(1));
    ASSERT_EQ(model.document().bands[std::size_t(detail)].kind, BandKind::Detail);
    EXPECT_FALSE(model.isModified());

    // Dropped off the grid, a field lands on it, numbers to the right.
    ASSERT_TRUE(model.dropField(detail, u"thg:amount"_s, QPointF(130, 25)));
    const ReportObject *dropped = model.selectedObject();
    ASSERT_TRUE(dropped);
    EXPECT_EQ(dropped->field, u"THG:Amount");
    EXPECT_EQ(dropped->rect.topLeft(), QPointF(120, 0));
    EXPECT_EQ(dropped->alignment, 0x0002);
    EXPECT_FALSE(model.dropField(detail, u"THG:Nothing"_s, QPointF()));
    // Let go low in the band, it still stands inside it.
    ASSERT_TRUE(model.dropField(detail, u"THG:ThingID"_s, QPointF(0, 230)));
    EXPECT_LE(model.selectedObject()->rect.bottom(),
              model.document().bands[std::size_t(detail)].height);
    model.undo();
    model.select({detail, 0});

    EXPECT_TRUE(model.moveSelected(DesignModel::Grid, DesignModel::Grid));
    EXPECT_EQ(model.selectedObject()->rect.topLeft(), QPointF(180, 60));
    EXPECT_TRUE(model.resizeSelected(DesignModel::Grid, 0));
    EXPECT_FALSE(model.moveSelected(-1000, 0) && model.selectedObject()->rect.x() < 0);
    EXPECT_EQ(model.selectedObject()->rect.x(), 0);
    // Not past the printable width either.
    model.setSelectedRect(QRectF(100000, 0, 600, 180));
    EXPECT_LE(model.selectedObject()->rect.right(), model.document().page.printable().width());

    while (model.canUndo())
        model.undo();
    EXPECT_TRUE(model.document().bands[std::size_t(detail)].objects.empty());
    EXPECT_FALSE(model.isModified());
    model.redo();
    EXPECT_EQ(model.document().bands[std::size_t(detail)].objects.size(), 1u);
    EXPECT_EQ(model.document().bands[std::size_t(detail)].objects[0].rect.topLeft(),
              QPointF(120, 0));
    EXPECT_TRUE(model.isModified());
    model.markSaved();
    EXPECT_FALSE(model.isModified());

    // A new step drops the steps that were undone.
    model.undo();
    model.select({detail, -1});
    ASSERT_TRUE(model.dropField(detail, u"CompanyName"_s, QPointF(0, 0)));
    EXPECT_FALSE(model.canRedo());
    EXPECT_TRUE(model.removeSelected());
    EXPECT_TRUE(model.document().bands[std::size_t(detail)].objects.empty());
}

TEST(DesignModelTest, BandsShowInTheOrderTheyPrint)
{
    ReportDocument document = fullReport();
    DesignModel model(catalogue(), document);
    // A group moved to another field takes its footer with it.
    ReportBand header = document.bands[3];
    header.groupBy = u"THG:Amount"_s;
    ASSERT_TRUE(model.changeBand(3, header));
    EXPECT_EQ(model.document().bands[4].groupBy, u"THG:Amount");
    EXPECT_TRUE(model.document().check(catalogue()).isEmpty());
    model.undo();
    QStringList captions;
    for (int band : model.bandOrder())
        captions.append(bandCaption(model.document().bands[std::size_t(band)], model.catalogue()));
    EXPECT_EQ(captions,
              (QStringList{u"Page Header"_s, u"Group Header on Thing ID"_s, u"Detail (Thing)"_s,
                           u"Detail (Part)"_s, u"Group Footer on Thing ID"_s, u"Page Footer"_s}));
}

} // namespace
