#include "NotesReport.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"
#include "records/Notes.h"

#include "core/Picture.h"
#include "core/Text.h"

#include "data/Company.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// Columns across a portrait page (5,400 decipoints).
constexpr qreal DateWidth = 800;
constexpr qreal HeadingLeft = DateWidth;
constexpr qreal HeadingWidth = 1500;
constexpr qreal NoteLeft = HeadingLeft + HeadingWidth;
constexpr qreal NoteWidth = 5400 - NoteLeft;
constexpr qreal LineHeight = 170;
// Characters of a note's text on one line of its column at 9 point.
constexpr int NoteCharacters = 72;

report::Band columnHeadings()
{
    const report::TextStyle bold = ReportBands::font(9, true);
    report::Band band;
    band.height = LineHeight + 60;
    band.text(QRectF(0, 0, DateWidth, LineHeight), u"Date"_s, bold)
        .text(QRectF(HeadingLeft, 0, HeadingWidth, LineHeight), u"Heading"_s, bold)
        .text(QRectF(NoteLeft, 0, NoteWidth, LineHeight), u"Note"_s, bold)
        .line(QPointF(0, LineHeight + 20), QPointF(5400, LineHeight + 20), 5);
    return band;
}

} // namespace

NotesReport::NotesReport(data::Company &company, Owner owner, QList<qint32> noteIds)
    : ReportPass({.title = owner.word + u" Notes"_s,
                  .pdfFileName = owner.word + u" Notes.pdf"_s,
                  .primaryFile = &company.file<Notes>()})
    , m_company(company)
    , m_owner(std::move(owner))
    , m_noteIds(std::move(noteIds))
{}

report::Band NotesReport::noteBand(const Notes &note) const
{
    const report::TextStyle plain = ReportBands::font(9);
    const QString date = Picture::parse(u"@d1b").format(qint64(note.Date));
    const QString heading = Text::clip(note.Heading);
    const QStringList lines = Text::wrap(note.Note, NoteCharacters);
    report::Band band;
    band.height = lines.size() * LineHeight + 40;
    band.text(QRectF(0, 0, DateWidth, LineHeight), date, plain)
        .text(QRectF(HeadingLeft, 0, HeadingWidth - 60, LineHeight), heading, plain);
    for (qsizetype i = 0; i < lines.size(); ++i)
        band.text(QRectF(NoteLeft, i * LineHeight, NoteWidth, LineHeight), lines.at(i), plain);
    band.exportLine(date + u'\t' + heading + u'\t' + Text::clip(note.Note));
    return band;
}

bool NotesReport::open(ReportRun &run)
{
    m_notes.clear();
    m_printed = 0;
    data::KeyCursor cursor =
        m_company.file<Notes>().scan(u"KeyEntityID", data::ScanOptions::equal({m_owner.id}));
    Notes note;
    while (cursor.next(note))
        if (Text::clip(note.EntityType) == m_owner.type && m_noteIds.contains(note.RecordID))
            m_notes.push_back(note);
    if (m_notes.empty())
        return false;
    std::ranges::sort(m_notes, [](const Notes &a, const Notes &b) {
        return std::tie(a.Date, a.RecordID) < std::tie(b.Date, b.RecordID);
    });

    report::ReportEngine &engine = run.beginPrinting([](int) { return columnHeadings(); }, 2);
    const QString owner = u"Notes for %1 (%2) %3"_s.arg(m_owner.word, Text::clip(m_owner.id),
                                                        Text::clip(m_owner.description));
    report::Band block;
    block.height = 360;
    block.text(QRectF(0, 60, 5400, 220), owner.trimmed(), ReportBands::font(11, true));
    block.exportLine(owner.trimmed());
    block.exportLine(u"Date\tHeading\tNote"_s);
    engine.print(block);
    engine.print(columnHeadings());
    return true;
}

bool NotesReport::next(ReportRun &run, int records)
{
    for (int i = 0; i < records; ++i) {
        if (m_printed >= qint64(m_notes.size()))
            return false;
        if (!run.engine()->print(noteBand(m_notes[size_t(m_printed++)])))
            return false;
    }
    return m_printed < qint64(m_notes.size());
}

int NotesReport::percentRead() const
{
    return m_notes.empty() ? 100 : int(m_printed * 100 / qint64(m_notes.size()));
}

} // namespace qaveq
