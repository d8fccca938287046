#include "DesignerWindow.h"

#include "DesignCanvas.h"
#include "PropertyPanel.h"

#include "core/Picker.h"
#include "core/Prompter.h"

#include <QAction>
#include <QBuffer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

namespace {

constexpr auto ReportFilter = u"Report files (*.qvr);;All files (*)";

// The catalogue tree hands a field's name to the canvas when dragged.
class CatalogueTree final : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

protected:
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override
    {
        const QString name =
            items.isEmpty() ? QString() : items.first()->data(0, Qt::UserRole).toString();
        if (name.isEmpty())
            return nullptr;
        auto *data = new QMimeData;
        data->setData(QString::fromLatin1(DesignCanvas::FieldMimeType), name.toUtf8());
        data->setText(name);
        return data;
    }
};

} // namespace

DesignerWindow::DesignerWindow(Catalogue catalogue, ReportDocument document, QString path,
                               Services services, QWidget *parent)
    : QDialog(parent)
    , m_model(std::move(catalogue), std::move(document))
    , m_path(std::move(path))
    , m_services(std::move(services))
{
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildToolBar());

    auto *splitter = new QSplitter(this);
    m_tree = new CatalogueTree(splitter);
    buildTree();
    auto *scroll = new QScrollArea(splitter);
    m_canvas = new DesignCanvas(m_model, scroll);
    scroll->setWidget(m_canvas);
    scroll->setWidgetResizable(false);
    scroll->setBackgroundRole(QPalette::Mid);
    m_properties = new PropertyPanel(m_model, splitter);
    splitter->addWidget(m_tree);
    splitter->addWidget(scroll);
    splitter->addWidget(m_properties);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 1000, 300});
    layout->addWidget(splitter, 1);
    m_status = new QLabel(this);
    layout->addWidget(m_status);

    connect(m_canvas, &DesignCanvas::changed, this, &DesignerWindow::changed);
    connect(m_properties, &PropertyPanel::changed, this, [this] {
        m_canvas->refresh();
        changed();
    });
    resize(1540, 900);
    changed();
}

DesignerWindow::~DesignerWindow() = default;

void DesignerWindow::buildTree()
{
    const Catalogue &catalogue = m_model.catalogue();
    m_tree->setHeaderLabel(catalogue.title(catalogue.reportType()));
    m_tree->setDragEnabled(true);
    m_tree->setDragDropMode(QAbstractItemView::DragOnly);
    for (const CatalogueFile &file : m_model.catalogue().files()) {
        auto *item = new QTreeWidgetItem(m_tree, {catalogue.title(file.name)});
        item->setFlags(Qt::ItemIsEnabled);
        for (const CatalogueField &field : file.fields) {
            auto *child = new QTreeWidgetItem(item, {field.label});
            child->setData(0, Qt::UserRole, field.name);
            child->setToolTip(0, field.name + u"  "_s + field.picture);
            child->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
        }
        item->setExpanded(file.level == 2);
    }
    auto *data = new QTreeWidgetItem(m_tree, {u"Data"_s});
    data->setFlags(Qt::ItemIsEnabled);
    for (const CatalogueField &field : m_model.catalogue().dataItems()) {
        auto *child = new QTreeWidgetItem(data, {field.label});
        child->setData(0, Qt::UserRole, field.name);
        child->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    }
    data->setExpanded(true);
}

QWidget *DesignerWindow::buildToolBar()
{
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto add = [this, bar](const QString &text, const QKeySequence &keys, auto slot) {
        QAction *action = bar->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(u"&Open..."_s, QKeySequence::Open, [this] { openReport(); });
    add(u"&Save"_s, QKeySequence::Save, [this] { save(); });
    add(u"Save &As..."_s, QKeySequence::SaveAs, [this] { saveAs(); });
    bar->addSeparator();
    m_undo = add(u"&Undo"_s, QKeySequence::Undo, [this] {
        m_model.undo();
        m_canvas->refresh();
        changed();
    });
    m_redo = add(u"&Redo"_s, QKeySequence::Redo, [this] {
        m_model.redo();
        m_canvas->refresh();
        changed();
    });
    // Both ways of redoing, whatever the desktop's own.
    m_redo->setShortcuts({QKeySequence(u"Ctrl+Shift+Z"_s), QKeySequence(u"Ctrl+Y"_s)});
    bar->addSeparator();
    add(u"&Text"_s, {}, [this] { addObject(ObjectKind::Text); });
    add(u"E&xpression"_s, {}, [this] { addObject(ObjectKind::Expression); });
    add(u"&Line"_s, {}, [this] { addObject(ObjectKind::Line); });
    add(u"Rec&tangle"_s, {}, [this] { addObject(ObjectKind::Rectangle); });
    add(u"&Image..."_s, {}, [this] { addObject(ObjectKind::Image); });
    bar->addSeparator();
    add(u"Add &Band..."_s, {}, [this] { addBand(); });
    add(u"Remove Ba&nd"_s, {}, [this] { removeBand(); });
    bar->addSeparator();
    add(u"&Preview"_s, QKeySequence(u"Ctrl+P"_s), [this] {
        if (m_services.preview)
            m_services.preview(m_model.document());
    });
    return bar;
}

void DesignerWindow::changed()
{
    m_properties->refresh();
    m_undo->setEnabled(m_model.canUndo());
    m_redo->setEnabled(m_model.canRedo());
    const QString name = m_path.isEmpty() ? u"(not saved)"_s : QFileInfo(m_path).fileName();
    setWindowTitle(u"Report Designer - %1 - %2%3"_s.arg(m_model.document().name, name,
                                                        m_model.isModified() ? u" *"_s : u""_s));
    m_status->setText(m_model.selectedObject()
                          ? u"Arrow keys move the object, Shift+arrow keys resize it, Delete "
                            "removes it."_s
                          : u"Drag a field from the list onto a band, or add an object from the "
                            "toolbar."_s);
}

void DesignerWindow::tell(const QString &text)
{
    m_services.prompter.ask(Message::alert(u"Report Designer"_s, text));
}

void DesignerWindow::addObject(ObjectKind kind)
{
    int band = m_model.selection().band;
    if (band < 0) {
        const QList<int> order = m_model.bandOrder();
        if (order.isEmpty()) {
            tell(u"Add a band first."_s);
            return;
        }
        band = order.first();
    }
    ReportObject object;
    object.kind = kind;
    switch (kind) {
    case ObjectKind::Text:
        object.text = u"Text"_s;
        break;
    case ObjectKind::Expression:
        object.text = u"Page {Page}"_s;
        break;
    case ObjectKind::Line:
        object.rect = QRectF(0, 60, 2400, 0);
        break;
    case ObjectKind::Rectangle:
        object.rect = QRectF(0, 0, 1800, 240);
        break;
    case ObjectKind::Image: {
        const QString file =
            m_services.files.choose(FileChooser::Purpose::Open, u"Add Image"_s, m_services.folder,
                                    u"Pictures (*.png *.jpg *.jpeg)"_s);
        if (file.isEmpty())
            return;
        QImage image(file);
        if (image.isNull()) {
            tell(u"%1 is not a PNG or JPEG picture."_s.arg(file));
            return;
        }
        // Kept in the report file as a PNG of a sensible size.
        image = image.scaled(image.size().boundedTo(QSize(1200, 1200)), Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
        QBuffer buffer(&object.image);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        if (object.image.size() > ReportDocument::MaxImageBytes) {
            tell(u"The picture is too large for a report."_s);
            return;
        }
        object.rect = QRectF(0, 0, 1440, 1440.0 * image.height() / std::max(1, image.width()));
        break;
    }
    case ObjectKind::Field:
        object.field = m_model.catalogue().primary()
                           ? m_model.catalogue().primary()->fields.value(0).name
                           : QString();
        break;
    }
    if (m_model.addObject(band, object)) {
        m_canvas->refresh();
        changed();
        m_canvas->setFocus();
    }
}

void DesignerWindow::addBand()
{
    const Catalogue &catalogue = m_model.catalogue();
    const CatalogueFile *primary = catalogue.primary();
    if (!primary)
        return;
    // The bands a report can still take, in words.
    struct Choice
    {
        QString text;
        QList<ReportBand> bands;
    };
    QList<Choice> choices;
    const ReportDocument &document = m_model.document();
    for (BandKind kind : {BandKind::ReportHeader, BandKind::PageHeader, BandKind::PageFooter,
                          BandKind::ReportFooter})
        if (!document.band(kind))
            choices.append({bandKindName(kind), {{kind, {}, {}, 300, {}}}});
    for (const CatalogueField &field : primary->fields)
        if (!document.band(BandKind::GroupHeader, primary->name, field.name))
            choices.append({u"Group on "_s + field.label,
                            {{BandKind::GroupHeader, primary->name, field.name, 300, {}},
                             {BandKind::GroupFooter, primary->name, field.name, 300, {}}}});
    for (const CatalogueFile &file : catalogue.files()) {
        if (file.level != 4)
            continue;
        for (BandKind kind : {BandKind::GroupHeader, BandKind::Detail, BandKind::GroupFooter})
            if (!document.band(kind, file.name))
                choices.append({bandKindName(kind) + u" of "_s + catalogue.title(file.name),
                                {{kind, file.name, {}, 240, {}}}});
    }
    if (!document.band(BandKind::Detail, primary->name))
        choices.append({u"Detail of "_s + catalogue.title(primary->name),
                        {{BandKind::Detail, primary->name, {}, 240, {}}}});
    if (choices.isEmpty()) {
        tell(u"The report has every band it can take."_s);
        return;
    }
    QStringList texts;
    for (const Choice &choice : choices)
        texts.append(choice.text);
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, u"Add Band"_s, u"&Band:"_s, texts, 0, false, &ok);
    if (!ok)
        return;
    for (const ReportBand &band : choices.at(texts.indexOf(chosen)).bands)
        m_model.addBand(band);
    m_canvas->refresh();
    changed();
}

void DesignerWindow::removeBand()
{
    const int band = m_model.selection().band;
    if (band < 0) {
        tell(u"Select the band to remove by its caption first."_s);
        return;
    }
    if (m_model.removeBand(band)) {
        m_canvas->refresh();
        changed();
    }
}

bool DesignerWindow::writeTo(const QString &path)
{
    QString error;
    if (!m_model.document().save(path, &error)) {
        tell(u"The report cannot be saved.|"_s + error);
        return false;
    }
    m_path = path;
    m_model.markSaved();
    changed();
    return true;
}

bool DesignerWindow::save()
{
    // A report shipped with the program is kept as it is: its changes go to
    // a file of the user's.
    if (m_path.isEmpty() || m_path.startsWith(u':') || !QFileInfo(m_path).isWritable())
        return saveAs();
    return writeTo(m_path);
}

bool DesignerWindow::saveAs()
{
    const QString start = m_path.isEmpty() || m_path.startsWith(u':')
                              ? m_services.folder + u'/' + m_model.document().name + u".qvr"_s
                              : m_path;
    QString path = m_services.files.choose(FileChooser::Purpose::Save, u"Save Report As"_s, start,
                                           QString::fromUtf16(ReportFilter));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".qvr"_s;
    return writeTo(path);
}

bool DesignerWindow::openReport()
{
    if (m_model.isModified()) {
        const int answer = m_services.prompter.ask(Message{
            u"Report Designer"_s, u"Save the changes to %1 first?"_s.arg(m_model.document().name),
            u"&Yes|&No|&Cancel"_s, 1, Message::Icon::Question});
        if (answer == 3 || (answer == 1 && !save()))
            return false;
    }
    const QString path =
        m_services.files.choose(FileChooser::Purpose::Open, u"Open Report"_s, m_services.folder,
                                QString::fromUtf16(ReportFilter));
    if (path.isEmpty())
        return false;
    QString error;
    std::optional<ReportDocument> document = ReportDocument::load(path, &error);
    if (document && document->type != m_model.catalogue().reportType())
        error =
            u"%1 holds a report of type \"%2\"; this designer makes reports of type \"%3\"."_s.arg(
                path, document->type, m_model.catalogue().reportType());
    else if (document)
        error = document->check(m_model.catalogue());
    if (!error.isEmpty()) {
        tell(error);
        return false;
    }
    m_model = DesignModel(m_model.catalogue(), std::move(*document));
    m_path = path;
    m_canvas->refresh();
    changed();
    return true;
}

void DesignerWindow::done(int result)
{
    if (m_model.isModified()) {
        const int answer = m_services.prompter.ask(
            Message{u"Report Designer"_s, u"Save the changes to %1?"_s.arg(m_model.document().name),
                    u"&Yes|&No|&Cancel"_s, 1, Message::Icon::Question});
        if (answer == 3 || (answer == 1 && !save()))
            return;
    }
    QDialog::done(result);
}

} // namespace qaveq::writer
