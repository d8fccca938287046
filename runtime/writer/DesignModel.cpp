#include "DesignModel.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

namespace {

// Undo goes back this many steps; older ones are let go.
constexpr qsizetype MaxSteps = 200;

} // namespace

DesignModel::DesignModel(Catalogue catalogue, ReportDocument document)
    : m_catalogue(std::move(catalogue))
    , m_document(std::move(document))
{
    m_history.append(m_document.toJson());
    m_saved = m_history.first();
}

qreal DesignModel::snap(qreal value)
{
    return std::round(value / Grid) * Grid;
}

void DesignModel::select(Selection selection)
{
    const bool bandOk = selection.band >= 0 && selection.band < int(m_document.bands.size());
    if (!bandOk)
        selection = {};
    else if (selection.object >= int(m_document.bands[std::size_t(selection.band)].objects.size()))
        selection.object = -1;
    m_selection = selection;
}

const ReportBand *DesignModel::selectedBand() const
{
    return m_selection.band >= 0 ? &m_document.bands[std::size_t(m_selection.band)] : nullptr;
}

const ReportObject *DesignModel::selectedObject() const
{
    const ReportBand *band = selectedBand();
    return band && m_selection.object >= 0 ? &band->objects[std::size_t(m_selection.object)]
                                           : nullptr;
}

bool DesignModel::commit(ReportDocument changed, Selection selection)
{
    QByteArray json = changed.toJson();
    if (json == m_history.at(m_step))
        return false;
    m_history.resize(m_step + 1);
    m_history.append(std::move(json));
    if (m_history.size() > MaxSteps) {
        m_history.removeFirst();
        // The saved state may have fallen off the list: then the report
        // stays modified, as it should.
    }
    m_step = m_history.size() - 1;
    m_document = std::move(changed);
    select(selection);
    return true;
}

void DesignModel::restore()
{
    QString error;
    if (std::optional<ReportDocument> document =
            ReportDocument::fromJson(m_history.at(m_step), &error))
        m_document = std::move(*document);
    select(m_selection);
}

void DesignModel::undo()
{
    if (!canUndo())
        return;
    --m_step;
    restore();
}

void DesignModel::redo()
{
    if (!canRedo())
        return;
    ++m_step;
    restore();
}

bool DesignModel::addObject(int band, ReportObject object)
{
    if (band < 0 || band >= int(m_document.bands.size()))
        return false;
    ReportDocument changed = m_document;
    ReportBand &target = changed.bands[std::size_t(band)];
    if (target.objects.size() >= std::size_t(ReportDocument::MaxObjectsPerBand))
        return false;
    // Placed on the grid and inside its band, wherever it was let go: no
    // lower than the last grid line it fits below.
    const qreal lowest =
        std::floor(std::max<qreal>(0, target.height - object.rect.height()) / Grid) * Grid;
    object.rect.moveTo(snap(std::max<qreal>(0, object.rect.x())),
                       std::clamp(snap(object.rect.y()), qreal(0), lowest));
    target.objects.push_back(std::move(object));
    return commit(std::move(changed), {band, int(target.objects.size()) - 1});
}

bool DesignModel::dropField(int band, const QString &fieldName, QPointF at)
{
    const CatalogueField *field = m_catalogue.field(fieldName);
    if (!field)
        return false;
    ReportObject object;
    object.kind = ObjectKind::Field;
    object.field = field->name;
    const bool number = field->picture.startsWith(u"@n", Qt::CaseInsensitive);
    object.alignment = number ? 0x0002 : 0x0001;
    // Wide enough for the picture's characters at the report's font.
    qsizetype digits = 0;
    while (digits < field->picture.size() && !field->picture.at(digits).isDigit())
        ++digits;
    const int width = field->picture.mid(digits).section(u'.', 0, 0).toInt();
    object.rect = QRectF(at, QSizeF(snap(std::clamp(width, 6, 40) * 60.0), 180));
    return addObject(band, object);
}

bool DesignModel::setSelectedRect(const QRectF &rect)
{
    if (!m_selection.isObject())
        return false;
    ReportDocument changed = m_document;
    ReportObject &object =
        changed.bands[std::size_t(m_selection.band)].objects[std::size_t(m_selection.object)];
    // What changes goes onto the grid; what stays keeps its place, so that
    // moving an object never resizes it.
    const auto placed = [](qreal wanted, qreal current) {
        return qFuzzyCompare(1 + wanted, 1 + current) ? current : snap(wanted);
    };
    const QSizeF page = changed.page.printable().size();
    const qreal w = std::clamp(placed(rect.width(), object.rect.width()), qreal(0), page.width());
    const qreal h =
        std::clamp(placed(rect.height(), object.rect.height()), qreal(0), page.height());
    const qreal x = std::clamp(placed(rect.x(), object.rect.x()), qreal(0),
                               std::max<qreal>(0, page.width() - w));
    const qreal y = std::max<qreal>(0, placed(rect.y(), object.rect.y()));
    object.rect = QRectF(x, y, w, h);
    return commit(std::move(changed), m_selection);
}

bool DesignModel::moveSelected(qreal dx, qreal dy)
{
    const ReportObject *object = selectedObject();
    return object && setSelectedRect(object->rect.translated(dx, dy));
}

bool DesignModel::resizeSelected(qreal dw, qreal dh)
{
    const ReportObject *object = selectedObject();
    return object && setSelectedRect(object->rect.adjusted(0, 0, dw, dh));
}

bool DesignModel::changeSelected(const ReportObject &object)
{
    if (!m_selection.isObject())
        return false;
    ReportDocument changed = m_document;
    changed.bands[std::size_t(m_selection.band)].objects[std::size_t(m_selection.object)] = object;
    return commit(std::move(changed), m_selection);
}

bool DesignModel::removeSelected()
{
    if (!m_selection.isObject())
        return false;
    ReportDocument changed = m_document;
    auto &objects = changed.bands[std::size_t(m_selection.band)].objects;
    objects.erase(objects.begin() + m_selection.object);
    return commit(std::move(changed), {m_selection.band, -1});
}

bool DesignModel::addBand(ReportBand band)
{
    if (m_document.bands.size() >= std::size_t(ReportDocument::MaxBands))
        return false;
    ReportDocument changed = m_document;
    changed.bands.push_back(std::move(band));
    return commit(std::move(changed), {int(changed.bands.size()) - 1, -1});
}

bool DesignModel::changeBand(int band, const ReportBand &replacement)
{
    if (band < 0 || band >= int(m_document.bands.size()))
        return false;
    ReportDocument changed = m_document;
    ReportBand &target = changed.bands[std::size_t(band)];
    // A group's header and footer break on the same field: they change together.
    if (!target.groupBy.isEmpty() && target.groupBy != replacement.groupBy) {
        for (ReportBand &partner : changed.bands)
            if (&partner != &target && partner.file == target.file &&
                partner.groupBy == target.groupBy)
                partner.groupBy = replacement.groupBy;
    }
    target.kind = replacement.kind;
    target.file = replacement.file;
    target.groupBy = replacement.groupBy;
    target.height = std::clamp(snap(replacement.height), Grid, changed.page.printable().height());
    return commit(std::move(changed), {band, -1});
}

bool DesignModel::removeBand(int band)
{
    if (band < 0 || band >= int(m_document.bands.size()))
        return false;
    ReportDocument changed = m_document;
    changed.bands.erase(changed.bands.begin() + band);
    return commit(std::move(changed), {});
}

bool DesignModel::setPage(const report::PageSetup &page)
{
    ReportDocument changed = m_document;
    changed.page = page;
    return commit(std::move(changed), m_selection);
}

bool DesignModel::setName(const QString &name)
{
    ReportDocument changed = m_document;
    changed.name = name.left(80);
    return commit(std::move(changed), m_selection);
}

bool DesignModel::setPrinter(const PrinterSettings &printer)
{
    ReportDocument changed = m_document;
    changed.printer = printer;
    return commit(std::move(changed), m_selection);
}

QList<int> DesignModel::bandOrder() const
{
    const CatalogueFile *primary = m_catalogue.primary();
    const QString primaryName = primary ? primary->name : QString();
    const QStringList groups = m_document.primaryGroups(primaryName);
    const auto rank = [&](const ReportBand &band) {
        const bool ofPrimary = band.file.compare(primaryName, Qt::CaseInsensitive) == 0;
        const int group = int(groups.indexOf(band.groupBy));
        int file = 0;
        while (file < m_catalogue.files().size() &&
               m_catalogue.files().at(file).name.compare(band.file, Qt::CaseInsensitive) != 0)
            ++file;
        switch (band.kind) {
        case BandKind::ReportHeader:
            return 0;
        case BandKind::PageHeader:
            return 1;
        case BandKind::GroupHeader:
            return ofPrimary ? 10 + group : 200 + file * 3;
        case BandKind::Detail:
            return ofPrimary ? 100 : 201 + file * 3;
        case BandKind::GroupFooter:
            return ofPrimary ? 900 - group : 202 + file * 3;
        case BandKind::PageFooter:
            return 1000;
        case BandKind::ReportFooter:
            return 1001;
        }
        return 500;
    };
    QList<int> order;
    for (int i = 0; i < int(m_document.bands.size()); ++i)
        order.append(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return rank(m_document.bands[std::size_t(a)]) < rank(m_document.bands[std::size_t(b)]);
    });
    return order;
}

} // namespace qaveq::writer
