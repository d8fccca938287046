#include "PropertyPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

namespace {

constexpr qreal PerInch = 720;

QDoubleSpinBox *inches(QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setDecimals(2);
    box->setRange(0, 40);
    box->setSingleStep(DesignModel::Grid / PerInch);
    box->setSuffix(u" in"_s);
    return box;
}

const QPageSize::PageSizeId Papers[] = {QPageSize::Letter,  QPageSize::Legal,
                                        QPageSize::A4,      QPageSize::A3,
                                        QPageSize::Tabloid, QPageSize::Executive};

} // namespace

PropertyPanel::PropertyPanel(DesignModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *title = new QLabel(u"<b>Properties</b>"_s, this);
    layout->addWidget(title);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(reportPage());
    m_pages->addWidget(bandPage());
    m_pages->addWidget(objectPage());
    layout->addWidget(m_pages);
    layout->addStretch();
    setMinimumWidth(290);
    refresh();
}

QWidget *PropertyPanel::objectPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    m_kind = new QLabel(page);
    m_text = new QLineEdit(page);
    m_field = new QComboBox(page);
    for (const CatalogueFile &file : m_model.catalogue().files())
        for (const CatalogueField &field : file.fields)
            m_field->addItem(field.label + u"  ("_s + field.name + u')', field.name);
    for (const CatalogueField &field : m_model.catalogue().dataItems())
        m_field->addItem(field.label, field.name);
    m_picture = new QLineEdit(page);
    m_picture->setPlaceholderText(u"the field's own"_s);
    m_total = new QComboBox(page);
    m_total->addItems({u"Value"_s, u"Sum"_s, u"Count"_s});
    m_family = new QComboBox(page);
    m_family->setEditable(true);
    m_family->addItems({u"Arial Narrow"_s, u"Arial"_s, u"Times New Roman"_s, u"Courier New"_s});
    m_size = new QSpinBox(page);
    m_size->setRange(4, 144);
    m_size->setSuffix(u" pt"_s);
    m_bold = new QCheckBox(u"&Bold"_s, page);
    m_italic = new QCheckBox(u"&Italic"_s, page);
    m_frame = new QCheckBox(u"Fra&me"_s, page);
    m_align = new QComboBox(page);
    m_align->addItem(u"Left"_s, 0x0001);
    m_align->addItem(u"Right"_s, 0x0002);
    m_align->addItem(u"Centre"_s, 0x0004);
    m_x = inches(page);
    m_y = inches(page);
    m_width = inches(page);
    m_height = inches(page);
    form->addRow(u"Object:"_s, m_kind);
    form->addRow(u"&Text:"_s, m_text);
    form->addRow(u"&Field:"_s, m_field);
    form->addRow(u"&Picture:"_s, m_picture);
    form->addRow(u"T&otal:"_s, m_total);
    form->addRow(u"F&ont:"_s, m_family);
    form->addRow(u"&Size:"_s, m_size);
    auto *styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addWidget(m_frame);
    form->addRow(QString(), styles);
    form->addRow(u"&Align:"_s, m_align);
    form->addRow(u"&Left:"_s, m_x);
    form->addRow(u"To&p:"_s, m_y);
    form->addRow(u"&Width:"_s, m_width);
    form->addRow(u"&Height:"_s, m_height);

    const auto apply = [this] { applyObject(); };
    connect(m_text, &QLineEdit::editingFinished, this, apply);
    connect(m_picture, &QLineEdit::editingFinished, this, apply);
    connect(m_field, &QComboBox::activated, this, apply);
    connect(m_total, &QComboBox::activated, this, apply);
    connect(m_family, &QComboBox::currentTextChanged, this, apply);
    connect(m_align, &QComboBox::activated, this, apply);
    for (QCheckBox *box : {m_bold, m_italic, m_frame})
        connect(box, &QCheckBox::toggled, this, apply);
    connect(m_size, &QSpinBox::editingFinished, this, apply);
    for (QDoubleSpinBox *box : {m_x, m_y, m_width, m_height})
        connect(box, &QDoubleSpinBox::editingFinished, this, apply);
    return page;
}

QWidget *PropertyPanel::bandPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    m_bandKind = new QLabel(page);
    m_bandKind->setWordWrap(true);
    m_groupBy = new QComboBox(page);
    if (const CatalogueFile *primary = m_model.catalogue().primary())
        for (const CatalogueField &field : primary->fields)
            m_groupBy->addItem(field.label, field.name);
    m_bandHeight = inches(page);
    form->addRow(u"Band:"_s, m_bandKind);
    form->addRow(u"&Group on:"_s, m_groupBy);
    form->addRow(u"&Height:"_s, m_bandHeight);
    connect(m_groupBy, &QComboBox::activated, this, [this] { applyBand(); });
    connect(m_bandHeight, &QDoubleSpinBox::editingFinished, this, [this] { applyBand(); });
    return page;
}

QWidget *PropertyPanel::reportPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    m_name = new QLineEdit(page);
    m_name->setMaxLength(80);
    m_paper = new QComboBox(page);
    for (QPageSize::PageSizeId paper : Papers)
        m_paper->addItem(QPageSize::name(paper), int(paper));
    m_landscape = new QCheckBox(u"&Landscape"_s, page);
    m_askPrinter = new QCheckBox(u"&Ask for the printer first"_s, page);
    m_copies = new QSpinBox(page);
    m_copies->setRange(1, 999);
    form->addRow(u"Report &name:"_s, m_name);
    form->addRow(u"&Paper:"_s, m_paper);
    form->addRow(QString(), m_landscape);
    form->addRow(QString(), m_askPrinter);
    form->addRow(u"&Copies:"_s, m_copies);
    const auto apply = [this] { applyReport(); };
    connect(m_name, &QLineEdit::editingFinished, this, apply);
    connect(m_paper, &QComboBox::activated, this, apply);
    connect(m_landscape, &QCheckBox::toggled, this, apply);
    connect(m_askPrinter, &QCheckBox::toggled, this, apply);
    connect(m_copies, &QSpinBox::editingFinished, this, apply);
    return page;
}

void PropertyPanel::refresh()
{
    m_filling = true;
    const ReportDocument &document = m_model.document();
    if (const ReportObject *object = m_model.selectedObject()) {
        m_pages->setCurrentIndex(2);
        static const char16_t *const kinds[] = {u"Text", u"Field",     u"Expression",
                                                u"Line", u"Rectangle", u"Image"};
        m_kind->setText(QString::fromUtf16(kinds[int(object->kind)]));
        const bool texty =
            object->kind == ObjectKind::Text || object->kind == ObjectKind::Expression;
        const bool field = object->kind == ObjectKind::Field;
        const bool written = texty || field;
        m_text->setEnabled(texty);
        m_text->setText(texty ? object->text : QString());
        m_field->setEnabled(field);
        m_field->setCurrentIndex(field ? m_field->findData(object->field) : -1);
        m_picture->setEnabled(field);
        m_picture->setText(object->picture);
        const ReportBand *band = m_model.selectedBand();
        m_total->setEnabled(
            field && band &&
            (band->kind == BandKind::GroupFooter || band->kind == BandKind::ReportFooter));
        m_total->setCurrentIndex(int(object->total));
        for (QWidget *w :
             std::initializer_list<QWidget *>{m_family, m_size, m_bold, m_italic, m_frame, m_align})
            w->setEnabled(written);
        m_family->setCurrentText(object->font.family);
        m_size->setValue(object->font.size / 10);
        m_bold->setChecked(object->font.bold);
        m_italic->setChecked(object->font.italic);
        m_frame->setChecked(object->frame);
        m_align->setCurrentIndex(m_align->findData(object->alignment));
        m_x->setValue(object->rect.x() / PerInch);
        m_y->setValue(object->rect.y() / PerInch);
        m_width->setValue(object->rect.width() / PerInch);
        m_height->setValue(object->rect.height() / PerInch);
    } else if (const ReportBand *band = m_model.selectedBand()) {
        m_pages->setCurrentIndex(1);
        m_bandKind->setText(bandCaption(*band, m_model.catalogue()));
        const CatalogueFile *primary = m_model.catalogue().primary();
        const bool grouped = band->kind != BandKind::Detail && primary &&
                             band->file.compare(primary->name, Qt::CaseInsensitive) == 0;
        m_groupBy->setEnabled(grouped);
        m_groupBy->setCurrentIndex(grouped ? m_groupBy->findData(band->groupBy) : -1);
        m_bandHeight->setValue(band->height / PerInch);
    } else {
        m_pages->setCurrentIndex(0);
        m_name->setText(document.name);
        m_paper->setCurrentIndex(m_paper->findData(int(document.page.paper)));
        m_landscape->setChecked(document.page.landscape);
        m_askPrinter->setChecked(document.printer.askBeforeRun);
        m_copies->setValue(document.printer.copies);
    }
    m_filling = false;
}

void PropertyPanel::applyObject()
{
    const ReportObject *selected = m_model.selectedObject();
    if (m_filling || !selected)
        return;
    ReportObject object = *selected;
    if (object.kind == ObjectKind::Text || object.kind == ObjectKind::Expression)
        object.text = m_text->text();
    if (object.kind == ObjectKind::Field) {
        if (m_field->currentIndex() >= 0)
            object.field = m_field->currentData().toString();
        object.picture = m_picture->text().trimmed();
        object.total = m_total->isEnabled() ? Total(m_total->currentIndex()) : Total::None;
    }
    object.font.family =
        m_family->currentText().trimmed().isEmpty() ? object.font.family : m_family->currentText();
    object.font.size = m_size->value() * 10;
    object.font.bold = m_bold->isChecked();
    object.font.italic = m_italic->isChecked();
    object.frame = m_frame->isChecked();
    object.alignment = m_align->currentData().toInt();
    const bool moved = !qFuzzyCompare(1 + m_x->value(), 1 + object.rect.x() / PerInch) ||
                       !qFuzzyCompare(1 + m_y->value(), 1 + object.rect.y() / PerInch) ||
                       !qFuzzyCompare(1 + m_width->value(), 1 + object.rect.width() / PerInch) ||
                       !qFuzzyCompare(1 + m_height->value(), 1 + object.rect.height() / PerInch);
    bool done = m_model.changeSelected(object);
    if (moved)
        done = m_model.setSelectedRect(QRectF(m_x->value() * PerInch, m_y->value() * PerInch,
                                              m_width->value() * PerInch,
                                              m_height->value() * PerInch)) ||
               done;
    if (done)
        Q_EMIT changed();
}

void PropertyPanel::applyBand()
{
    const ReportBand *selected = m_model.selectedBand();
    if (m_filling || !selected)
        return;
    ReportBand band = *selected;
    if (m_groupBy->isEnabled() && m_groupBy->currentIndex() >= 0)
        band.groupBy = m_groupBy->currentData().toString();
    band.height = m_bandHeight->value() * PerInch;
    if (m_model.changeBand(m_model.selection().band, band))
        Q_EMIT changed();
}

void PropertyPanel::applyReport()
{
    if (m_filling)
        return;
    bool done = m_model.setName(m_name->text().trimmed());
    report::PageSetup page = m_model.document().page;
    page.paper = QPageSize::PageSizeId(m_paper->currentData().toInt());
    page.landscape = m_landscape->isChecked();
    done = m_model.setPage(page) || done;
    PrinterSettings printer = m_model.document().printer;
    printer.askBeforeRun = m_askPrinter->isChecked();
    printer.copies = m_copies->value();
    done = m_model.setPrinter(printer) || done;
    if (done)
        Q_EMIT changed();
}

} // namespace qaveq::writer
