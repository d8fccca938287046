#include "HeaderSorter.h"

#include "data/Session.h"

#include <QDir>
#include <QHeaderView>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace qaveq {

HeaderSorter::HeaderSorter(QHeaderView *header, QList<ColumnSorter::Column> columns,
                           SortMemory memory, QObject *parent)
    : QObject(parent)
    , m_header(header)
    , m_viewport(header->viewport())
    , m_sorter(std::move(columns))
    , m_memory(std::move(memory))
{
    m_sorter.restore(m_memory.load(1));
    m_header->setSectionsClickable(true);
    m_header->setSortIndicatorShown(false);
    m_header->viewport()->installEventFilter(this);
    connect(m_header, &QHeaderView::sectionClicked, this,
            [this](int column) { press(column, m_modifiers); });
    showHeadings();
}

SortMemory HeaderSorter::memoryFor(const data::Session &session, const QString &list)
{
    // A new workstation's settings folder.
    QDir().mkpath(session.suiteIniFolder());
    return SortMemory(QDir(session.suiteIniFolder()).filePath(u"Lists.ini"_s),
                      session.userId.trimmed().toUpper() + u' ' + list);
}

bool HeaderSorter::eventFilter(QObject *watched, QEvent *event)
{
    // The click's own keys, not the keys held when the signal arrives.
    if (watched == m_viewport &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease))
        m_modifiers = static_cast<QMouseEvent *>(event)->modifiers();
    return QObject::eventFilter(watched, event);
}

void HeaderSorter::press(int column, Qt::KeyboardModifiers modifiers)
{
    const ColumnSorter::Press kind = modifiers & Qt::ShiftModifier ? ColumnSorter::Press::Shift
                                     : modifiers & Qt::ControlModifier
                                         ? ColumnSorter::Press::Control
                                         : ColumnSorter::Press::Plain;
    m_sorter.press(column + 1, kind);
    changed();
}

void HeaderSorter::reset()
{
    m_sorter.press(1, ColumnSorter::Press::Shift);
    changed();
}

void HeaderSorter::changed()
{
    m_memory.save(1, m_sorter.savedValue());
    showHeadings();
    Q_EMIT sortChanged();
}

void HeaderSorter::showHeadings()
{
    QAbstractItemModel *model = m_header->model();
    const QStringList headings = m_sorter.headers();
    for (int c = 0; c < headings.size() && model && c < model->columnCount(); ++c)
        model->setHeaderData(c, Qt::Horizontal, headings.at(c));
}

} // namespace qaveq
