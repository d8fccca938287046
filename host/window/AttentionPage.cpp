#include "AttentionPage.h"

#include "HostSession.h"

#include "records/EQBatch.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "core/Clock.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

enum Role { KindRole = Qt::UserRole, SubjectRole, TextRole, DateRole };

QString count(data::Table &table)
{
    const qint64 n = table.count();
    return n < 0 ? u"-"_s : QLocale().toString(n);
}

} // namespace

AttentionPage::AttentionPage(HostSession &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    m_heading = new QLabel(this);
    m_heading->setTextFormat(Qt::RichText);
    layout->addWidget(m_heading);

    const data::Session &signedOn = session.session();
    if (signedOn.equipmentReadOnly || signedOn.usageLogsReadOnly) {
        const QString what = signedOn.equipmentReadOnly && signedOn.usageLogsReadOnly
                                 ? u"equipment and usage logs"_s
                             : signedOn.equipmentReadOnly ? u"equipment"_s
                                                          : u"usage logs"_s;
        auto *notice = new QLabel(
            u"You are signed on as %1 with read-only access to %2: you can open and look at "
            "everything listed here, but not change it."_s.arg(signedOn.userId, what),
            this);
        notice->setWordWrap(true);
        notice->setObjectName(u"readOnlyNotice"_s);
        notice->setFrameShape(QFrame::StyledPanel);
        notice->setMargin(6);
        notice->setStyleSheet(u"QLabel { background: #fff4ce; color: #3d3000; }"_s);
        layout->addWidget(notice);
    }

    m_tree = new QTreeWidget(this);
    m_tree->setColumnCount(3);
    m_tree->setHeaderLabels({u"Equipment / Batch"_s, u"What needs doing"_s, u"Date"_s});
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setAlternatingRowColors(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_tree->setToolTip(u"Enter or a double click opens the screen where a line is dealt with."_s);
    layout->addWidget(m_tree, 1);
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *line) {
        if (itemOf(line))
            openCurrent();
        else
            line->setExpanded(!line->isExpanded());
    });

    auto *bottom = new QHBoxLayout;
    m_summary = new QLabel(this);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(m_summary, 1);
    m_open = new QPushButton(u"&Open"_s, this);
    m_open->setToolTip(u"Opens the screen where the highlighted line is dealt with."_s);
    connect(m_open, &QPushButton::clicked, this, &AttentionPage::openCurrent);
    auto *reread = new QPushButton(u"&Refresh"_s, this);
    reread->setToolTip(u"Reads the list again, with what other stations changed."_s);
    connect(reread, &QPushButton::clicked, this, &AttentionPage::refresh);
    bottom->addWidget(m_open);
    bottom->addWidget(reread);
    layout->addLayout(bottom);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *line) { m_open->setEnabled(line && itemOf(line)); });

    refresh();
    m_tree->setFocus();
}

std::optional<AttentionItem> AttentionPage::itemOf(const QTreeWidgetItem *line)
{
    if (!line || !line->data(0, KindRole).isValid())
        return std::nullopt;
    AttentionItem item;
    item.kind = AttentionItem::Kind(line->data(0, KindRole).toInt());
    item.subject = line->data(0, SubjectRole).toString();
    item.text = line->data(0, TextRole).toString();
    item.date = line->data(0, DateRole).toInt();
    return item;
}

void AttentionPage::refresh()
{
    data::Company &company = m_session.company();
    const QDate today = m_session.clock().today();
    m_heading->setText(u"<h2 style='margin-bottom:2px'>%1</h2>"
                       "<p>What needs attention on %2.</p>"_s.arg(
                           company.name().toHtmlEscaped(),
                           QLocale().toString(today, QLocale::LongFormat).toHtmlEscaped()));

    const std::optional<AttentionItem> current = itemOf(m_tree->currentItem());
    const QList<AttentionItem> items =
        AttentionList(m_session.session(), m_session.prompter(), m_session.clock()).items();
    m_tree->clear();
    QList<QTreeWidgetItem *> groups(AttentionItem::KindCount, nullptr);
    QTreeWidgetItem *restored = nullptr;
    for (const AttentionItem &item : items) {
        QTreeWidgetItem *&group = groups[int(item.kind)];
        if (!group) {
            group = new QTreeWidgetItem(m_tree);
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setFirstColumnSpanned(true);
            group->setExpanded(true);
        }
        auto *line = new QTreeWidgetItem(group);
        line->setText(0, item.subject);
        line->setText(1, item.text);
        line->setToolTip(1, item.text);
        if (item.date != 0)
            line->setText(2,
                          QLocale().toString(SuiteDate::toQDate(item.date), QLocale::ShortFormat));
        line->setData(0, KindRole, int(item.kind));
        line->setData(0, SubjectRole, item.subject);
        line->setData(0, TextRole, item.text);
        line->setData(0, DateRole, item.date);
        if (current && current->kind == item.kind && current->subject == item.subject &&
            current->text == item.text)
            restored = line;
    }
    for (int kind = 0; kind < AttentionItem::KindCount; ++kind)
        if (QTreeWidgetItem *group = groups.at(kind))
            group->setText(0, u"%1 (%2)"_s.arg(AttentionItem::heading(AttentionItem::Kind(kind)))
                                  .arg(group->childCount()));
    if (items.isEmpty()) {
        auto *none = new QTreeWidgetItem(m_tree, {u"Nothing needs attention today."_s});
        none->setFirstColumnSpanned(true);
        none->setFlags(Qt::ItemIsEnabled);
    }
    m_tree->setCurrentItem(restored ? restored : m_tree->topLevelItem(0));
    m_open->setEnabled(itemOf(m_tree->currentItem()).has_value());

    m_summary->setText(
        u"%1 pieces of equipment, %2 usage-log batches, %3 unposted usage logs."_s.arg(
            count(company.file<EQHeader>()), count(company.file<EQBatch>()),
            count(company.file<EQLogB>())));
}

void AttentionPage::openCurrent()
{
    if (const std::optional<AttentionItem> item = itemOf(m_tree->currentItem()))
        Q_EMIT openRequested(*item);
}

} // namespace qaveq::host
