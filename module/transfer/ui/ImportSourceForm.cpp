#include "ImportSourceForm.h"

#include "transfer/ImportSources.h"

#include "runtime/StandardWarnings.h"

#include "data/Company.h"

#include "core/Picker.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

const QString NotUsed = u"Not Used"_s;
const QString FileFilter = u"Text Files (*.txt *.csv);;All Files (*)"_s;

} // namespace

ImportItemForm::ImportItemForm(const ImportLayout::Row &row, const QStringList &choices,
                               QWidget *parent)
    : QDialog(parent)
    , m_row(row)
    , m_contents(new QComboBox(this))
    , m_length(new QSpinBox(this))
{
    setWindowTitle(u"Changing an Import Item"_s);
    m_contents->addItems(choices);
    const int at = m_contents->findText(row.contents);
    if (at < 0)
        m_contents->insertItem(0, NotUsed);
    m_contents->setCurrentIndex(qMax(0, at));
    m_length->setRange(0, 999);
    m_length->setSpecialValueText(u" "_s); // n3b: blank for 0
    m_length->setValue(row.length);
    auto *form = new QFormLayout(this);
    form->addRow(u"Contents of Field"_s, m_contents);
    form->addRow(u"Field Length"_s, m_length);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

ImportLayout::Row ImportItemForm::row() const
{
    ImportLayout::Row row = m_row;
    row.contents = m_contents->currentText();
    row.length = m_length->value();
    return row;
}

ImportSourceForm::ImportSourceForm(data::Session &session, Prompter &prompter, FileChooser &files,
                                   data::Request request, JCLimits source, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompter(prompter)
    , m_files(files)
    , m_request(request)
    , m_source(std::move(source))
    , m_rows(ImportLayout::parse(m_source.Layout))
    , m_title(new QLineEdit(this))
    , m_format(new QButtonGroup(this))
    , m_dateFormat(new QComboBox(this))
    , m_file(new QLineEdit(this))
    , m_header(new QCheckBox(u"File has header record"_s, this))
    , m_list(new QTableWidget(this))
{
    setObjectName(u"UpdateEQLogImport"_s);
    if (request == data::Request::Insert)
        setWindowTitle(u"Adding an Equipment Log Import Source  (New)"_s);
    else if (request == data::Request::Change)
        setWindowTitle(u"Changing an Equipment Log Import Source  ("_s +
                       Text::clip(m_source.ReportTitle) + u")"_s);
    else
        setWindowTitle(u"View Record"_s);
    m_editItem = [this](const ImportLayout::Row &row) -> std::optional<ImportLayout::Row> {
        ImportItemForm form(row, ImportLayout::contentsChoices(m_session.generic), this);
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.row();
    };

    auto *layout = new QVBoxLayout(this);
    auto *fields = new QFormLayout;
    m_title->setMaxLength(40);
    m_title->setText(Text::clip(m_source.ReportTitle));
    fields->addRow(u"Source Name"_s, m_title);
    auto *formats = new QHBoxLayout;
    for (const auto &[code, label] : {std::pair{ImportLayout::Comma, u"Comma Delimited"_s},
                                      {ImportLayout::Tab, u"Tab Delimited"_s},
                                      {ImportLayout::Fixed, u"Fixed Position"_s}}) {
        auto *radio = new QRadioButton(label, this);
        m_format->addButton(radio, code.unicode());
        radio->setChecked(Text::clip(m_source.PrintOrder) == QString(code));
        formats->addWidget(radio);
    }
    if (!m_format->checkedButton())
        m_format->button(ImportLayout::Comma.unicode())->setChecked(true);
    fields->addRow(u"ASCII Import File Format"_s, formats);
    m_dateFormat->addItems(ImportLayout::dateFormats());
    m_dateFormat->setCurrentIndex(
        qMax(0, int(ImportLayout::dateFormats().indexOf(Text::clip(m_source.JobTo)))));
    fields->addRow(u"Date Field Format"_s, m_dateFormat);
    auto *fileRow = new QHBoxLayout;
    m_file->setMaxLength(200);
    m_file->setText(Text::clip(m_source.NameFrom));
    auto *fileButton = new QPushButton(u"..."_s, this);
    fileButton->setObjectName(u"fileButton"_s);
    connect(fileButton, &QPushButton::clicked, this, &ImportSourceForm::chooseFile);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(fileButton);
    fields->addRow(u"Import File Name"_s, fileRow);
    m_header->setChecked(m_source.Skip != 0);
    fields->addRow(QString(), m_header);
    layout->addLayout(fields);

    m_list->setColumnCount(5);
    m_list->setHorizontalHeaderLabels(
        {u"Field #"_s, u"Column"_s, u"Field Contents"_s, u"Length"_s, u"Start Position"_s});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(2, 200);
    connect(m_list, &QTableWidget::doubleClicked, this, &ImportSourceForm::changeItem);
    layout->addWidget(m_list, 1);

    auto *moves = new QHBoxLayout;
    const auto add = [this](QHBoxLayout *row, const QString &text, auto action) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        row->addWidget(button);
        return button;
    };
    add(moves, u"Move to Top"_s, [this] { move(&ImportLayout::moveToTop); });
    add(moves, u"Move Up"_s, [this] { move(&ImportLayout::moveUp); });
    add(moves, u"Move Down"_s, [this] { move(&ImportLayout::moveDown); });
    add(moves, u"Move to Bottom"_s, [this] { move(&ImportLayout::moveToBottom); });
    add(moves, u"&Add"_s, &ImportSourceForm::addItem);
    add(moves, u"&Change"_s, &ImportSourceForm::changeItem);
    add(moves, u"&Delete"_s, &ImportSourceForm::deleteItem);
    layout->addLayout(moves);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportSourceForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_format, &QButtonGroup::idClicked, this, [this] { showRows(highlighted()); });

    // The built-in source reads the files export writes: only its header flag changes.
    const bool builtIn = ImportSources::isBuiltIn(m_source) && request != data::Request::Insert;
    // A source to delete is shown as it stands until the user confirms.
    const bool viewing = request == data::Request::View || request == data::Request::Delete;
    if (request == data::Request::Delete)
        buttons->button(QDialogButtonBox::Ok)->setText(u"&Delete"_s);
    if (builtIn || viewing) {
        QList<QWidget *> locked{m_title, m_dateFormat, m_file, fileButton, m_list};
        for (QAbstractButton *radio : m_format->buttons())
            locked.append(radio);
        for (QPushButton *button : findChildren<QPushButton *>())
            if (!buttons->isAncestorOf(button))
                locked.append(button);
        for (QWidget *control : std::as_const(locked))
            control->setEnabled(false);
    }
    m_header->setEnabled(!viewing);
    resize(640, 520);
    showRows(m_rows.isEmpty() ? -1 : 0);
}

QPushButton &ImportSourceForm::button(const QString &text) const
{
    for (QPushButton *button : findChildren<QPushButton *>())
        if (button->text() == text)
            return *button;
    throw std::out_of_range("no such button");
}

int ImportSourceForm::highlighted() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_rows.size() ? row : -1;
}

QChar ImportSourceForm::format() const
{
    return QChar(char16_t(m_format->checkedId()));
}

void ImportSourceForm::showRows(int highlight)
{
    ImportLayout::renumber(m_rows);
    const bool fixed = format() == ImportLayout::Fixed;
    m_list->setColumnHidden(3, !fixed);
    m_list->setColumnHidden(4, !fixed);
    m_list->setRowCount(int(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        const ImportLayout::Row &row = m_rows[i];
        const QStringList cells{QString::number(row.number), row.column, row.contents,
                                QString::number(row.length), QString::number(row.start)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column != 1 && column != 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(i, column, item);
        }
    }
    if (highlight >= 0 && highlight < m_rows.size())
        m_list->selectRow(highlight);
}

void ImportSourceForm::move(int (*how)(QList<ImportLayout::Row> &, int))
{
    const int row = highlighted();
    if (row < 0)
        return;
    showRows(how(m_rows, row));
}

void ImportSourceForm::addItem()
{
    const ImportLayout::Row fresh{int(m_rows.size()) + 1, QString(), NotUsed, 0, 0};
    const std::optional<ImportLayout::Row> added = m_editItem(fresh);
    if (!added)
        return;
    m_rows.append(*added);
    showRows(int(m_rows.size()) - 1);
}

void ImportSourceForm::changeItem()
{
    const int row = highlighted();
    if (row < 0)
        return;
    if (const std::optional<ImportLayout::Row> changed = m_editItem(m_rows[row]))
        m_rows[row] = *changed;
    showRows(row);
}

void ImportSourceForm::deleteItem()
{
    const int row = highlighted();
    if (row < 0)
        return;
    m_rows.removeAt(row);
    showRows(qMin(row, int(m_rows.size()) - 1));
}

void ImportSourceForm::chooseFile()
{
    const QString chosen = m_files.choose(FileChooser::Purpose::Open, u"Select a Filename"_s,
                                          m_file->text(), FileFilter);
    if (!chosen.isEmpty())
        m_file->setText(chosen);
}

void ImportSourceForm::accept()
{
    if (m_request == data::Request::View) {
        QDialog::reject();
        return;
    }
    if (m_request == data::Request::Delete)
        return remove();
    const QString title = m_title->text().trimmed();
    const auto refuse = [this](const QString &text) {
        m_prompter.ask(Message::alert(u"Import Source"_s, text));
        m_title->setFocus();
    };
    if (title.isEmpty())
        return refuse(u"Please give the source a name."_s);
    data::Company &company = *m_session.company;
    if (const std::optional<JCLimits> same = ImportSources::find(company, title);
        same && same->LimitID != m_source.LimitID)
        return refuse(u"Another import source is named "_s + title + u"."_s);
    m_source.Report = ImportLayout::SourceKind;
    m_source.ReportTitle = title;
    m_source.PrintOrder = QString(format());
    m_source.JobTo = m_dateFormat->currentText();
    m_source.NameFrom = m_file->text().trimmed();
    m_source.Skip = m_header->isChecked() ? 1 : 0;
    m_source.Layout = ImportLayout::build(m_rows);
    data::Table &file = company.file<JCLimits>();
    const bool adding = m_request == data::Request::Insert;
    if (data::FileStatus status = adding ? file.insert(m_source) : file.update(m_source); !status) {
        m_prompter.ask(Message{u"Record Not Saved"_s,
                               status.error().text() +
                                   (adding ? u" Inserting JCLimits"_s : u" Saving JCLimits"_s),
                               u"&OK"_s, 1, Message::Icon::Stop});
        return;
    }
    QDialog::accept();
}

void ImportSourceForm::remove()
{
    const Message confirm =
        StandardWarnings::describe(StandardWarning::ConfirmDelete, {}, {}, {}, 0)->message;
    if (m_prompter.ask(confirm) != 1)
        return;
    if (data::FileStatus status = m_session.company->file<JCLimits>().remove(m_source); !status) {
        const data::FileError &error = status.error();
        m_prompter.ask(StandardWarnings::describe(StandardWarning::DeleteFailed, u"JCLimits"_s, {},
                                                  error.cause(), error.code)
                           ->message);
        return;
    }
    QDialog::accept();
}

} // namespace qaveq
