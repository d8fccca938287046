#include "ReportProcessor.h"

#include "Expression.h"

#include "core/Picture.h"
#include "core/Text.h"

#include "data/Company.h"
#include "data/Record.h"
#include "data/Table.h"

#include <QLocale>

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

namespace {

QString key(const QString &file)
{
    return file.toLower();
}

QString joinedExportLine(std::vector<std::pair<qreal, QString>> cells)
{
    std::stable_sort(cells.begin(), cells.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList texts;
    for (const auto &cell : cells)
        texts.append(cell.second);
    return texts.join(u'\t');
}

} // namespace

QString formatValue(const data::FieldValue &value, const QString &picture)
{
    const std::optional<Picture> format =
        picture.isEmpty() ? std::nullopt : Picture::tryParse(picture);
    return std::visit(
        [&format](const auto &v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QString>) {
                return format ? format->format(v) : Text::clip(v);
            } else if constexpr (std::is_same_v<T, Decimal>) {
                return format && format->kind() == Picture::Kind::Number ? format->format(v)
                                                                         : v.toString();
            } else {
                return format && format->kind() != Picture::Kind::Text ? format->format(v)
                                                                       : QString::number(v);
            }
        },
        value);
}

report::Band renderBand(const ReportBand &band, const Catalogue &catalogue,
                        const ValueSource &values)
{
    report::Band printed;
    printed.height = band.height;
    std::vector<std::pair<qreal, QString>> cells;
    for (const ReportObject &object : band.objects) {
        QString text;
        switch (object.kind) {
        case ObjectKind::Text:
            text = object.text;
            break;
        case ObjectKind::Field:
            text = values.field(object);
            break;
        case ObjectKind::Expression: {
            QString fault;
            const std::optional<Expression> expression = Expression::parse(object.text, &fault);
            if (!expression)
                break;
            for (const Expression::Part &part : expression->parts) {
                if (!part.name) {
                    text += part.text;
                } else if (const CatalogueField *field = catalogue.field(part.text)) {
                    ReportObject named;
                    named.kind = ObjectKind::Field;
                    named.field = field->name;
                    text += values.field(named);
                } else {
                    text += values.variable(part.text);
                }
            }
            break;
        }
        case ObjectKind::Line:
            printed.line(object.rect.topLeft(), object.rect.bottomRight(), object.lineWidth);
            continue;
        case ObjectKind::Rectangle:
            printed.box(object.rect, object.fill, Qt::black, object.lineWidth);
            continue;
        case ObjectKind::Image:
            printed.image(object.rect, object.image);
            continue;
        }
        if (object.frame)
            printed.box(object.rect, QColor(), Qt::black, object.lineWidth);
        printed.text(object.rect, text, object.font, object.alignment | Qt::AlignVCenter);
        cells.emplace_back(object.rect.x(), text.trimmed());
    }
    if (!cells.empty())
        printed.exportLine(joinedExportLine(std::move(cells)));
    return printed;
}

// A running total of one field object of a footer.
struct Accumulator
{
    QString owner; // the file whose records it counts: the field's, or the one it is read with
    Total total = Total::None;
    Decimal sum;
    qint64 count = 0;
};

struct ReportProcessor::Group
{
    QString field;
    QString value;
    const ReportBand *header = nullptr;
    const ReportBand *footer = nullptr;
};

class ReportProcessor::Values final : public ValueSource
{
public:
    explicit Values(ReportProcessor &processor)
        : m_processor(processor)
    {}

    int page = 1;
    std::map<const ReportObject *, Accumulator> totals;

    data::FieldValue raw(const QString &name) const
    {
        const Catalogue &catalogue = m_processor.m_catalogue;
        const CatalogueFile *file = catalogue.fileOf(name);
        if (!file) {
            if (name.compare(u"CompanyName", Qt::CaseInsensitive) == 0)
                return m_processor.m_context.companyName;
            return QString();
        }
        const data::Record &record = m_processor.record(file->name);
        // A catalogue field the stored file does not hold shows as empty.
        if (!record.schema().field(name))
            return QString();
        return record.value(name);
    }

    QString field(const ReportObject &object) const override
    {
        const CatalogueField *field = m_processor.m_catalogue.field(object.field);
        const QString picture =
            !object.picture.isEmpty() ? object.picture : (field ? field->picture : QString());
        if (object.total != Total::None) {
            const auto found = totals.find(&object);
            if (found == totals.end())
                return {};
            if (object.total == Total::Count)
                return formatValue(found->second.count, u"@n-12"_s);
            return formatValue(found->second.sum, picture);
        }
        return formatValue(raw(object.field), picture);
    }

    QString variable(const QString &name) const override
    {
        const Context &context = m_processor.m_context;
        if (name.compare(u"Page", Qt::CaseInsensitive) == 0)
            return QString::number(page);
        if (name.compare(u"Date", Qt::CaseInsensitive) == 0)
            return QLocale().toString(context.run.date(), QLocale::ShortFormat);
        if (name.compare(u"Time", Qt::CaseInsensitive) == 0)
            return QLocale().toString(context.run.time(), QLocale::ShortFormat);
        if (name.compare(u"CompanyName", Qt::CaseInsensitive) == 0)
            return context.companyName;
        if (name.compare(u"ReportName", Qt::CaseInsensitive) == 0)
            return m_processor.m_document.name;
        if (name.compare(u"UserName", Qt::CaseInsensitive) == 0)
            return context.userName;
        return {};
    }

private:
    ReportProcessor &m_processor;
};

ReportProcessor::ReportProcessor(const ReportDocument &document, const Catalogue &catalogue,
                                 DataPlan plan, Context context)
    : m_document(document)
    , m_catalogue(catalogue)
    , m_plan(std::move(plan))
    , m_context(std::move(context))
    , m_values(std::make_unique<Values>(*this))
{
    // The file a record is counted with: a field of a file read one record
    // at a time with another (level 3) counts with that other file.
    const auto owner = [this](const QString &fieldName) {
        const CatalogueFile *file = m_catalogue.fileOf(fieldName);
        QString name = file ? file->name : m_plan.primary;
        for (int depth = 0; depth < 8; ++depth) {
            const auto link =
                std::find_if(m_plan.links.begin(), m_plan.links.end(), [&name](const FileLink &l) {
                    return l.file.compare(name, Qt::CaseInsensitive) == 0;
                });
            if (link == m_plan.links.end() || link->every)
                break;
            name = link->parent;
        }
        return key(name);
    };
    for (const ReportBand &band : m_document.bands) {
        if (band.kind != BandKind::GroupFooter && band.kind != BandKind::ReportFooter)
            continue;
        const bool child = band.kind == BandKind::GroupFooter && band.groupBy.isEmpty();
        for (const ReportObject &object : band.objects) {
            if (object.kind != ObjectKind::Field || object.total == Total::None)
                continue;
            m_values->totals[&object] = Accumulator{owner(object.field), object.total, {}, 0};
            if (child)
                m_childTotals[key(band.file)].push_back(&object);
        }
    }
    for (const QString &field : m_document.primaryGroups(m_plan.primary)) {
        Group group;
        group.field = field;
        group.header = m_document.band(BandKind::GroupHeader, m_plan.primary, field);
        group.footer = m_document.band(BandKind::GroupFooter, m_plan.primary, field);
        m_groups.push_back(group);
    }
}

ReportProcessor::~ReportProcessor() = default;

data::Record &ReportProcessor::record(const QString &file)
{
    std::unique_ptr<data::Record> &record = m_records[key(file)];
    if (!record)
        record = m_context.company.file(file).schema().create();
    return *record;
}

qint64 ReportProcessor::primaryCount()
{
    try {
        return m_context.company.file(m_plan.primary).count();
    } catch (const std::invalid_argument &) {
        return 0;
    }
}

bool ReportProcessor::readNext()
{
    m_pending = m_context.company.file(m_plan.primary).schema().create();
    if (m_cursor->next(*m_pending))
        return true;
    if (const auto &error = m_cursor->error())
        m_error = error->text() + u" Reading "_s + m_plan.primary;
    m_pending.reset();
    return false;
}

bool ReportProcessor::open()
{
    try {
        // Every file the plan reads, and every key, must be the company's;
        // a plan that names others is refused before any record is read.
        for (const FileLink &link : m_plan.links)
            m_context.company.file(link.file).schema().key(link.key);
        data::Table &primary = m_context.company.file(m_plan.primary);
        m_cursor.emplace(primary.scan(m_plan.primaryKey));
        m_total = m_cursor->count();
    } catch (const std::invalid_argument &error) {
        m_error = u"The report's files cannot be read: %1"_s.arg(QString::fromUtf8(error.what()));
        return false;
    }
    return readNext();
}

void ReportProcessor::fetchLookups(const QString &parent)
{
    for (const FileLink &link : m_plan.links) {
        if (link.every || link.parent.compare(parent, Qt::CaseInsensitive) != 0)
            continue;
        data::Table &table = m_context.company.file(link.file);
        const data::KeyDef &keyDef = table.schema().key(link.key);
        QList<data::FieldValue> values;
        for (qsizetype i = 0; i < link.parentFields.size() && i < keyDef.fields.size(); ++i)
            values.append(m_values->raw(link.parentFields.at(i)));
        // Records in key order mostly share their related record (the logs of
        // one equipment): it is read again only when its key changes.
        std::unique_ptr<data::Record> &found = m_records[key(link.file)];
        QList<data::FieldValue> &lookedUp = m_lookupKeys[key(link.file)];
        if (!found || lookedUp != values) {
            found = table.schema().create();
            for (qsizetype i = 0; i < values.size(); ++i)
                found->setValue(keyDef.fields.at(i), values.at(i));
            // A related record that is not there prints as blanks.
            if (!table.fetch(link.key, *found))
                found = table.schema().create();
            lookedUp = std::move(values);
        }
        fetchLookups(link.file);
    }
}

void ReportProcessor::resetTotals(const Totals &objects)
{
    for (const ReportObject *object : objects) {
        Accumulator &total = m_values->totals[object];
        total.sum = Decimal();
        total.count = 0;
    }
}

void ReportProcessor::accumulate(const QString &file)
{
    const QString owner = key(file);
    for (auto &[object, total] : m_values->totals) {
        if (total.owner != owner)
            continue;
        ++total.count;
        const data::FieldValue value = m_values->raw(object->field);
        if (const Decimal *amount = std::get_if<Decimal>(&value))
            total.sum += *amount;
        else if (const qint64 *number = std::get_if<qint64>(&value))
            total.sum += Decimal(*number);
    }
}

report::Band ReportProcessor::printed(const ReportBand &band) const
{
    report::Band result = renderBand(band, m_catalogue, *m_values);
    if (!m_context.textCopy)
        result.exportLines.clear();
    return result;
}

bool ReportProcessor::printBand(report::ReportEngine &engine, const ReportBand *band)
{
    return !band || engine.print(printed(*band));
}

bool ReportProcessor::printChildren(report::ReportEngine &engine, const QString &parent)
{
    for (const FileLink &link : m_plan.links) {
        if (!link.every || link.parent.compare(parent, Qt::CaseInsensitive) != 0)
            continue;
        const ReportBand *header = m_document.band(BandKind::GroupHeader, link.file);
        const ReportBand *detail = m_document.band(BandKind::Detail, link.file);
        const ReportBand *footer = m_document.band(BandKind::GroupFooter, link.file);
        const QString owner = key(link.file);
        const bool totalled =
            std::any_of(m_values->totals.begin(), m_values->totals.end(),
                        [&owner](const auto &entry) { return entry.second.owner == owner; });
        // A related file that nothing prints or totals is not read at all.
        if (!header && !detail && !footer && !totalled)
            continue;
        QList<data::FieldValue> values;
        for (const QString &field : link.parentFields)
            values.append(m_values->raw(field));
        data::Table &table = m_context.company.file(link.file);
        data::KeyCursor children = table.scan(link.key, data::ScanOptions::equal(values));
        bool any = false;
        for (;;) {
            std::unique_ptr<data::Record> &child = m_records[owner];
            child = table.schema().create();
            m_lookupKeys.erase(owner);
            if (!children.next(*child))
                break;
            if (!any) {
                any = true;
                resetTotals(m_childTotals[owner]);
                if (!printBand(engine, header))
                    return false;
            }
            fetchLookups(link.file);
            accumulate(link.file);
            if (!printBand(engine, detail) || !printChildren(engine, link.file))
                return false;
        }
        if (const auto &error = children.error()) {
            m_error = error->text() + u" Reading "_s + link.file;
            return false;
        }
        if (any && !printBand(engine, footer))
            return false;
    }
    return true;
}

bool ReportProcessor::closeGroups(report::ReportEngine &engine, int from)
{
    for (int g = int(m_groups.size()) - 1; g >= from; --g)
        if (!printBand(engine, m_groups[std::size_t(g)].footer))
            return false;
    return true;
}

bool ReportProcessor::next(report::ReportEngine &engine, int records)
{
    for (int i = 0; i < records; ++i) {
        if (!m_pending) {
            if (!m_error.isEmpty() || !m_started)
                return false;
            closeGroups(engine, 0);
            printBand(engine, m_document.band(BandKind::ReportFooter));
            m_started = false;
            return false;
        }
        // The groups the next record starts: from the outermost that changes.
        QStringList values;
        for (const Group &group : m_groups) {
            const CatalogueField *field = m_catalogue.field(group.field);
            const data::FieldValue value = m_pending->schema().field(group.field)
                                               ? m_pending->value(group.field)
                                               : data::FieldValue(QString());
            values.append(formatValue(value, field ? field->picture : QString()));
        }
        int changed = m_started ? -1 : 0;
        for (std::size_t g = 0; g < m_groups.size() && changed < 0; ++g)
            if (values.at(qsizetype(g)) != m_groups[g].value)
                changed = int(g);
        // The footers print with the records of the group they close.
        if (m_started && changed >= 0 && !closeGroups(engine, changed))
            return false;
        m_records[key(m_plan.primary)] = std::move(m_pending);
        fetchLookups(m_plan.primary);
        if (!m_started) {
            m_started = true;
            if (!printBand(engine, m_document.band(BandKind::ReportHeader)))
                return false;
        }
        if (changed >= 0) {
            for (std::size_t g = std::size_t(changed); g < m_groups.size(); ++g) {
                Group &group = m_groups[g];
                group.value = values.at(qsizetype(g));
                if (group.footer) {
                    Totals objects;
                    for (const ReportObject &object : group.footer->objects)
                        if (m_values->totals.count(&object))
                            objects.push_back(&object);
                    resetTotals(objects);
                }
                if (!printBand(engine, group.header))
                    return false;
            }
        }
        accumulate(m_plan.primary);
        if (!printBand(engine, m_document.band(BandKind::Detail, m_plan.primary)) ||
            !printChildren(engine, m_plan.primary))
            return false;
        ++m_read;
        if (!readNext() && !m_error.isEmpty())
            return false;
    }
    return true;
}

report::ReportEngine::PageBand ReportProcessor::pageHeader() const
{
    return [this](int page) {
        m_values->page = page;
        const ReportBand *band = m_document.band(BandKind::PageHeader);
        return band ? printed(*band) : report::Band();
    };
}

report::ReportEngine::PageBand ReportProcessor::pageFooter() const
{
    return [this](int page) {
        m_values->page = page;
        const ReportBand *band = m_document.band(BandKind::PageFooter);
        return band ? printed(*band) : report::Band();
    };
}

int ReportProcessor::percentRead() const
{
    return m_total > 0 ? int(std::min<qint64>(100, m_read * 100 / m_total)) : 100;
}

} // namespace qaveq::writer
