#include "FormChildList.h"

#include "runtime/widgets/KeyedListModel.h"
#include "runtime/widgets/ListExport.h"
#include "runtime/widgets/QtFileChooser.h"

#include "data/Company.h"
#include "data/RequestScope.h"
#include "data/Table.h"

#include "core/Prompter.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

FormChildList::FormChildList(forms::FormModel &model, const forms::Control &control,
                             ProcedureCaller caller, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_control(control)
    , m_caller(std::move(caller))
{
    const forms::ChildList &child = control.child;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (!control.prompt.isEmpty())
        layout->addWidget(new QLabel(control.prompt, this));
    m_view = new QTableView(this);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for its buttons, as everywhere in a form.
    m_view->setTabKeyNavigation(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    // Room for a few rows however crowded its page: a list one row high
    // hides what it holds.
    m_view->setMinimumHeight(m_view->verticalHeader()->defaultSectionSize() * 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    if (child.rows) {
        m_computed = new QStandardItemModel(0, static_cast<int>(child.columns.size()), this);
        for (int c = 0; c < child.columns.size(); ++c)
            m_computed->setHeaderData(c, Qt::Horizontal, child.columns[c].header);
        m_view->setModel(m_computed);
    } else {
        QList<KeyedListModel::Column> columns;
        for (const forms::ChildColumn &column : child.columns) {
            KeyedListModel::Column shown{column.header, column.field, column.picture, column.width};
            if (column.display)
                shown.display = [this, display = column.display](const data::Record &record) {
                    return display(m_model, record);
                };
            columns.append(shown);
        }
        m_records = new KeyedListModel(m_model.session().company->file(child.file), columns, this);
        m_records->setKey(child.key);
        m_view->setModel(m_records);
    }
    // Never narrower than its heading: a cut heading reads as another word.
    // Styles draw headings in bold, which is measured, with the section's
    // margins on both sides.
    QFont bold = m_view->horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics heading(bold);
    int total = 0;
    for (int c = 0; c < child.columns.size(); ++c) {
        int needed = 0;
        for (const QString &line : child.columns[c].header.split(u'\n'))
            needed = std::max(needed, heading.horizontalAdvance(line) + 24);
        const int width = std::max(child.columns[c].width, needed);
        m_view->setColumnWidth(c, width);
        total += width;
    }
    // Every column in sight when the form opens, on any screen it fits on.
    const QScreen *screen = m_view->screen();
    const int room = screen ? screen->availableGeometry().width() * 3 / 4 : 960;
    m_view->setMinimumWidth(
        std::min(total + m_view->verticalScrollBar()->sizeHint().width() + 4, room));
    layout->addWidget(m_view, 1);

    auto *buttons = new QHBoxLayout;
    if (child.counted) {
        m_count = new QLabel(this);
        buttons->addWidget(m_count);
    }
    buttons->addStretch();
    const auto addButton = [this, buttons](const QString &text, auto action) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    // A form that only shows its record opens no row form.
    if (!child.form.isEmpty() && m_caller && m_model.isEditable()) {
        for (const auto &[text, request] : {std::pair{u"&Add"_s, data::Request::Insert},
                                            std::pair{u"&Change"_s, data::Request::Change},
                                            std::pair{u"&Delete"_s, data::Request::Delete}}) {
            const data::Request chosen = request;
            m_standard.append(addButton(text, [this, chosen] { call(chosen); }));
        }
        connect(m_view, &QAbstractItemView::doubleClicked, this,
                [this] { call(data::Request::Change); });
    }
    for (const forms::ChildButton &extra : child.buttons)
        addButton(extra.text, [this, &extra] {
            const std::unique_ptr<data::Record> record = highlighted();
            extra.action(m_model, record.get());
            if (!m_control.child.file.isEmpty())
                m_model.recordsChanged(m_control.child.file);
            refresh(true);
        });
    if (child.exportTitle)
        m_standard.append(addButton(u"Send &To..."_s, [this] { sendTo(); }));
    layout->addLayout(buttons);
}

FormChildList::~FormChildList() = default;

QList<data::FieldValue> FormChildList::state() const
{
    QList<data::FieldValue> values;
    for (const QString &field : m_control.child.rangeFields)
        values.append(m_model.value(field));
    for (const QString &field : m_control.child.dependsOn)
        values.append(m_model.value(field));
    if (!m_control.child.file.isEmpty())
        values.append(qint64(m_model.recordsRevision(m_control.child.file)));
    return values;
}

void FormChildList::refresh(bool force)
{
    const QList<data::FieldValue> now = state();
    if (!force && m_state == now)
        return;
    m_state = now;
    const int current = m_view->currentIndex().row();
    if (m_records) {
        m_records->setRange(now.mid(0, m_control.child.rangeFields.size()),
                            now.mid(0, m_control.child.rangeFields.size()));
        m_records->reload();
    } else {
        m_rows = m_control.child.rows(m_model);
        m_computed->setRowCount(0);
        for (const forms::ChildRow &row : std::as_const(m_rows)) {
            QList<QStandardItem *> items;
            for (int c = 0; c < row.cells.size(); ++c) {
                auto *item = new QStandardItem(row.cells[c]);
                const QString &picture = m_control.child.columns.value(c).picture;
                if (picture.startsWith(u"@n"))
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (row.negative.contains(c))
                    item->setForeground(Qt::red);
                if (row.bold) {
                    QFont font = item->font();
                    font.setBold(true);
                    item->setFont(font);
                }
                items.append(item);
            }
            m_computed->appendRow(items);
        }
    }
    if (m_count) {
        const int records = static_cast<int>(
            std::count_if(m_rows.cbegin(), m_rows.cend(),
                          [](const forms::ChildRow &row) { return !row.key.isEmpty(); }));
        const int shown = m_records ? static_cast<int>(m_records->recordCount()) : records;
        m_count->setText(KeyedListModel::countText(shown));
    }
    if (rowCount() > 0)
        m_view->selectRow(std::clamp(current, 0, rowCount() - 1));
}

int FormChildList::rowCount() const
{
    return m_view->model()->rowCount();
}

std::unique_ptr<data::Record> FormChildList::highlighted() const
{
    const int row = m_view->currentIndex().row();
    if (row < 0)
        return nullptr;
    data::Table &table = m_model.session().company->file(m_control.child.file);
    std::unique_ptr<data::Record> record = table.schema().create();
    if (m_records) {
        record->assign(m_records->record(row));
        return table.reread(*record) ? std::move(record) : nullptr;
    }
    const forms::ChildRow &shown = m_rows.value(row);
    const data::KeyDef *key = table.schema().firstUniqueKey();
    if (shown.key.isEmpty() || !key)
        return nullptr;
    for (int i = 0; i < key->fields.size() && i < shown.key.size(); ++i)
        record->setValue(key->fields[i], shown.key[i]);
    return table.fetch(key->name, *record) ? std::move(record) : nullptr;
}

void FormChildList::call(data::Request request)
{
    const forms::ChildList &child = m_control.child;
    data::Table &table = m_model.session().company->file(child.file);
    std::unique_ptr<data::Record> record;
    if (request != data::Request::Insert) {
        record = highlighted();
        if (!record)
            return;
    }
    if ((request == data::Request::Insert || request == data::Request::Delete) &&
        m_model.refuses(request))
        return;
    if (request == data::Request::Delete && child.refuseDelete)
        if (const std::optional<Message> refusal = child.refuseDelete(m_model, *record)) {
            m_model.prompter().ask(*refusal);
            return;
        }
    data::RequestScope scope(m_model.session(), request);
    data::Record &buffer = m_model.session().buffer(table.schema());
    if (record) {
        buffer.assign(*record);
    } else {
        // A new row belongs to the form's record.
        buffer.assign(*table.schema().create());
        // A list whose rows the form works out itself names no key; its
        // `prime` ties the new row to the record.
        if (!child.rangeFields.isEmpty()) {
            const data::KeyDef &key = table.schema().key(child.key);
            for (int i = 0; i < child.rangeFields.size(); ++i)
                buffer.setValue(key.fields[i], m_model.value(child.rangeFields[i]));
        }
        if (child.prime)
            child.prime(m_model, buffer);
    }
    m_caller(child.form);
    // Every list over the file, this one and another tab's, shows what was written.
    m_model.recordsChanged(child.file);
    refresh(false);
}

QList<QStringList> FormChildList::shownRows() const
{
    QList<QStringList> rows;
    const QAbstractItemModel *model = m_view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells.append(model->index(r, c).data().toString().trimmed());
        rows.append(cells);
    }
    return rows;
}

void FormChildList::sendTo()
{
    const forms::ChildList &child = m_control.child;
    const QString folder = ListExport::defaultFolder(child.exportFolder);
    QDir().mkpath(folder);
    QtFileChooser chooser(this);
    const QString path = chooser.choose(
        FileChooser::Purpose::Save, u"Send To"_s,
        QDir(folder).filePath(child.exportTitle(m_model).replace(u'/', u'-') + u".csv"_s),
        u"Comma-separated values (*.csv);;Tab-separated text (*.txt)"_s);
    if (path.isEmpty())
        return;
    QStringList headers;
    for (const forms::ChildColumn &column : child.columns)
        headers.append(column.header);
    const ListExport::Format format = path.endsWith(u".txt"_s, Qt::CaseInsensitive)
                                          ? ListExport::Format::Tab
                                          : ListExport::Format::Csv;
    const QString problem = ListExport::write(headers, shownRows(), path, format);
    m_model.prompter().ask(Message{
        u"Send To"_s, problem.isEmpty() ? u"The list was written to|%1."_s.arg(path) : problem,
        u"&OK"_s, 1, problem.isEmpty() ? Message::Icon::Information : Message::Icon::Exclamation});
}

} // namespace qaveq
