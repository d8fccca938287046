#include "EquipmentFormScreen.h"

#include "EquipmentCostScreens.h"
#include "common/ui/ScreenRunner.h"

#include "assets/ui/FixedAssetScreens.h"
#include "common/ReadOnlyAccess.h"
#include "equipment/Attachments.h"
#include "equipment/EquipmentForm.h"
#include "equipment/EquipmentRules.h"
#include "output/ui/ReportWindow.h"
#include "records/EQHeader.h"
#include "records/Images.h"

#include "suite/Lookups.h"
#include "suite/Procedures.h"

#include "runtime/StandardWarnings.h"
#include "runtime/widgets/Icons.h"
#include "runtime/widgets/KeyedListModel.h"
#include "runtime/widgets/QtFileChooser.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/RequestScope.h"
#include "data/Session.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <optional>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentFormScreen {

namespace {

const SystemClock &clock()
{
    static const SystemClock system;
    return system;
}

QStringList droppedFiles(const QMimeData *data)
{
    QStringList files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files.append(url.toLocalFile());
    return files;
}

// The photograph: the picture of the file the form holds, a click opens it in
// the desktop's viewer, an image file dropped on it becomes the photograph.
class PhotographPart final : public FormPart
{
public:
    PhotographPart(forms::FormModel &form, QWidget *parent)
        : FormPart(parent)
        , m_form(form)
    {
        setAcceptDrops(true);
        auto *layout = new QVBoxLayout(this);
        m_picture = new QLabel(this);
        m_picture->setAlignment(Qt::AlignCenter);
        m_picture->setMinimumSize(480, 320);
        m_picture->setFrameShape(QFrame::StyledPanel);
        m_picture->setCursor(Qt::PointingHandCursor);
        m_picture->setToolTip(u"Click to open the picture; drop an image file here to change it"_s);
        layout->addWidget(m_picture, 1);
    }

    void refresh() override
    {
        const QString file = m_form.code(EquipmentForm::PhotoFile);
        // The first refresh shows the "no photo" picture of a record without one.
        if (m_shown && file == *m_shown)
            return;
        m_shown = file;
        const QPixmap picture(file);
        if (file.isEmpty()) {
            m_picture->setPixmap(Icons::picture(u"~nophoto.gif", QSize(96, 96)));
            m_picture->setToolTip(u"No photo: drop an image file here, or use the button"_s);
        } else if (picture.isNull()) {
            m_picture->setPixmap({});
            m_picture->setText(u"The picture cannot be shown:\n"_s + file);
        } else {
            m_picture->setPixmap(picture.scaled(m_picture->size() - QSize(8, 8),
                                                Qt::KeepAspectRatio, Qt::SmoothTransformation));
        }
    }

protected:
    void mouseReleaseEvent(QMouseEvent *) override
    {
        if (m_shown && !m_shown->isEmpty())
            QDesktopServices::openUrl(QUrl::fromLocalFile(*m_shown));
    }
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (m_form.isEditable() && droppedFiles(event->mimeData()).size() == 1)
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent *event) override
    {
        m_form.edit(EquipmentForm::PhotoFile, droppedFiles(event->mimeData()).first());
    }

private:
    forms::FormModel &m_form;
    QLabel *m_picture = nullptr;
    std::optional<QString> m_shown; // the file shown; none before the first refresh
};

// The attachments: the equipment's files with a preview of the highlighted
// one; files are added with the dialog or dropped from the file manager.
class AttachmentsPart final : public FormPart
{
public:
    AttachmentsPart(forms::FormModel &form, QWidget *parent)
        : FormPart(parent)
        , m_form(form)
    {
        setAcceptDrops(true);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(
            new QLabel(u"Use the Add button or Drag files from File Explorer"_s, this));
        auto *middle = new QHBoxLayout;
        m_list = new KeyedListModel(form.session().company->file<Images>(),
                                    {{.header = {},
                                      .field = u"IMG:ImageType"_s,
                                      .picture = u"@s10"_s,
                                      .width = 24,
                                      .icon = &AttachmentsPart::kindIcon},
                                     {u"Description"_s, u"IMG:Caption"_s, u"@s50"_s, 300},
                                     {u"Date"_s, u"IMG:FileDate"_s, u"@d01b"_s, 90},
                                     {u"Type"_s, u"IMG:ImageType"_s, u"@s10"_s, 80}},
                                    this);
        m_list->setKey(u"KeyTypeStringID"_s);
        m_view = new QTableView(this);
        m_view->setModel(m_list);
        m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_view->setSelectionMode(QAbstractItemView::SingleSelection);
        m_view->setTabKeyNavigation(false);
        m_view->verticalHeader()->hide();
        m_view->horizontalHeader()->setStretchLastSection(true);
        middle->addWidget(m_view, 2);
        m_preview = new QLabel(this);
        m_preview->setAlignment(Qt::AlignCenter);
        m_preview->setMinimumSize(220, 220);
        m_preview->setFrameShape(QFrame::StyledPanel);
        middle->addWidget(m_preview, 1);
        layout->addLayout(middle, 1);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        const auto add = [this, buttons](const QString &text, auto action) {
            auto *button = new QPushButton(text, this);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, action);
            buttons->addWidget(button);
            return button;
        };
        if (form.isEditable()) {
            add(u"&Add"_s, [this] { addFiles(); });
            add(u"&Change"_s, [this] { change(); });
            add(u"&Delete"_s, [this] { remove(); });
        }
        add(u"Open"_s, [this] { open(); });
        layout->addLayout(buttons);
        connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this] { showPreview(); });
        connect(m_view, &QAbstractItemView::doubleClicked, this, [this] { open(); });
    }

    void refresh() override
    {
        const QString id = m_form.code(u"EquipmentID");
        if (id == m_equipment)
            return;
        m_equipment = id;
        reload();
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (m_form.isEditable() && !droppedFiles(event->mimeData()).isEmpty())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent *event) override
    {
        const QStringList files = droppedFiles(event->mimeData());
        const QString which = files.size() > 1 ? u"these files"_s : u"this file"_s;
        if (m_form.prompter().ask(
                Message{u"Attach?"_s,
                        u"Would you like to attach "_s + which + u" to this piece of equipment?"_s,
                        u"&Yes|&No"_s, 1, Message::Icon::Question}) == 1)
            attach(files);
    }

private:
    void reload()
    {
        const QList<data::FieldValue> range{u"EQHeader"_s, m_equipment};
        m_list->setRange(range, range);
        m_list->reload();
        if (m_list->rowCount() > 0)
            m_view->selectRow(0);
        showPreview();
    }

    std::optional<Images> highlighted() const
    {
        const int row = m_view->currentIndex().row();
        if (row < 0 || row >= m_list->rowCount())
            return std::nullopt;
        Images attachment;
        attachment.assign(m_list->record(row));
        if (!m_form.session().company->file<Images>().reread(attachment))
            return std::nullopt;
        return attachment;
    }

    void attach(const QStringList &files)
    {
        if (files.isEmpty() || m_form.refuses(data::Request::Insert))
            return;
        Attachments::attach(m_form.session(), m_form.prompter(), clock(), m_equipment,
                            m_form.code(u"Description"), files);
        reload();
    }

    void addFiles()
    {
        QtFileChooser chooser(this);
        attach(chooser.chooseSeveral(
            u"Select one or more files to Attach"_s, {},
            u"All Files (*);;Images (*.tif *.bmp *.jpg *.gif);;PDF Files (*.pdf);;Document Files "
            "(*.doc);;Spreadsheets (*.xl*);;Web Pages (*.htm* *.php)"_s));
    }

    void change()
    {
        const std::optional<Images> attachment = highlighted();
        if (!attachment || m_form.refuses(data::Request::Change))
            return;
        data::RequestScope scope(m_form.session(), data::Request::Change);
        m_form.session().buffer<Images>() = *attachment;
        suite::UPDATEIMAGES();
        reload();
    }

    void remove()
    {
        const std::optional<Images> attachment = highlighted();
        if (!attachment || m_form.refuses(data::Request::Delete))
            return;
        if (Attachments::remove(m_form.session(), m_form.prompter(), *attachment))
            reload();
    }

    void open()
    {
        if (const std::optional<Images> attachment = highlighted())
            if (const QString file = Attachments::extract(*attachment); !file.isEmpty())
                QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }

    // The small picture of the list's first column: the kind's picture, or a
    // paper clip for a picture file.
    static QIcon kindIcon(const data::Record &attachment)
    {
        const QString picture =
            EquipmentRules::attachmentPicture(std::get<QString>(attachment.value(u"ImageType")));
        return Icons::icon(picture.isEmpty() ? u"~attach.png"_s
                                             : QString(picture).replace(u".gif"_s, u".png"_s));
    }

    // A picture shows itself; other kinds show the picture of their kind.
    void showPreview()
    {
        const std::optional<Images> attachment = highlighted();
        const QSize room = m_preview->size() - QSize(8, 8);
        if (!attachment) {
            m_preview->setPixmap(Icons::picture(u"~nophoto.gif", QSize(96, 96)));
            return;
        }
        const QString kind = Text::clip(attachment->ImageType);
        if (kind == u"Bitmap") {
            const QPixmap picture(Attachments::extract(*attachment));
            if (!picture.isNull()) {
                m_preview->setPixmap(
                    picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
                return;
            }
        }
        const QString name = EquipmentRules::attachmentPicture(kind);
        m_preview->setPixmap(
            Icons::picture(name.isEmpty() ? u"~OtherFile.gif"_s : name, QSize(128, 128)));
    }

    forms::FormModel &m_form;
    KeyedListModel *m_list = nullptr;
    QTableView *m_view = nullptr;
    QLabel *m_preview = nullptr;
    QString m_equipment = u"\n"_s; // none shown yet
};

} // namespace

FormExtras extras(data::ErrorManager &errors)
{
    FormExtras added;
    added.caller = [&errors](const QString &procedure) {
        data::Session *session = data::Session::current();
        if (!session)
            return;
        // The rows' forms work on the equipment shown.
        session->equipField = session->buffer<EQHeader>().EquipmentID;
        if (procedure == u"UPDATEEQCOST")
            EquipmentCostScreens::update(errors);
        else if (procedure == u"UPDATEGLDEPR")
            suite::UPDATEGLDEPR();
        else if (procedure == u"UPDATENOTES")
            suite::UPDATENOTES();
    };
    added.parts.insert(EquipmentForm::PhotoPart, [](forms::FormModel &form, QWidget *parent) {
        return new PhotographPart(form, parent);
    });
    added.parts.insert(EquipmentForm::AttachmentsPart, [](forms::FormModel &form, QWidget *parent) {
        return new AttachmentsPart(form, parent);
    });
    return added;
}

void update(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    EquipmentForm::Actions actions{
        .graph = [&errors] { FixedAssetScreens::graphWindow(errors); },
        .print =
            [&errors, &output](bool schedule, bool graphs) {
                if (schedule)
                    FixedAssetScreens::printSchedule(errors, output);
                if (graphs)
                    FixedAssetScreens::printGraphs(errors, output);
            },
        .printNotes = [session,
                       &output](ReportPass &notes) { runReportWindow(notes, *session, output); },
    };
    ScreenRunner::runForm(EquipmentForm::definition(*session, actions), *session, errors,
                          extras(errors));
}

} // namespace qaveq::EquipmentFormScreen
