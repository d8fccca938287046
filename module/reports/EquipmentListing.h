#pragma once

#include "output/ReportPass.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
#include "reports/ReportSelection.h"

#include "runtime/report/Band.h"

#include <QByteArray>
#include <QSize>

#include <optional>

namespace qaveq {

namespace data {
class Company;
}

namespace EquipmentListing {

// The largest side of a data sheet's photo, in thousandths of an inch.
constexpr int PhotoLimit = 3000;

// A photo's size (thousandths of an inch) made to fit a square of the limit,
// keeping its proportions; a photo that fits keeps its size.
QSize fitPhoto(const QSize &size);

} // namespace EquipmentListing

// Where the data sheets find their photos: the company's image store, and
// the picture shown for a photo whose file is gone (PNG bytes).
struct ListingPictures
{
    QString imageFolder;
    QByteArray noPhoto;
};

// The equipment listing of a saved definition: the master block of each
// equipment ("Master"), with its cost categories, notes and user-defined
// fields ("Complete"), one page each with its photo ("Data Sheet"), or one
// line per equipment cost category ("Summary").
class EquipmentListingReport final : public ReportPass
{
public:
    enum class Format { Master, Summary, Complete, DataSheet };
    // The definition's format: 'S', 'C', 'D', else the master listing.
    static Format formatOf(const EQLimits &definition);

    EquipmentListingReport(data::Company &company, EQLimits definition, Format format,
                           ListingPictures pictures);

    QStringList limitsLines() const override;
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_next; }

    // A data sheet's photo: its picture and printed size in thousandths of an
    // inch. None when the equipment has no photo; the "no photo" picture when
    // the photo's file cannot be read.
    struct Photo
    {
        QByteArray encoded;
        QSize size;
    };
    std::optional<Photo> photoOf(const QString &equipmentId) const;

private:
    bool print(ReportRun &run, const report::Band &band);
    bool printMaster(ReportRun &run, const EQHeader &equipment);
    bool printComplete(ReportRun &run, const EQHeader &equipment);
    bool printDataSheet(ReportRun &run, const EQHeader &equipment);
    bool printSummary(ReportRun &run, const EQHeader &equipment);
    bool printNotesAndUserDefined(ReportRun &run, const EQHeader &equipment);
    QString employeeName(qint32 employeeId) const;
    // The prompt of user-defined field `field` (0 to 14).
    QString promptOf(int field) const;

    data::Company &m_company;
    ReportSelection m_selection;
    Format m_format;
    ListingPictures m_pictures;
    QList<SelectedEquipment> m_equipment;
    QStringList m_prompts; // the fifteen user-defined prompts
    qsizetype m_next = 0;
    bool m_printing = false;
};

} // namespace qaveq
