#include "MainWindow.h"

#include "AttentionPage.h"
#include "HostSession.h"
#include "LoggingLevel.h"

#include "records/EQHeader.h"
#include "reports/ReportDefinitions.h"

#include "output/MailSettings.h"
#include "suite/Lookups.h"
#include "suite/Procedures.h"
#include "writer/WriterCatalogues.h"

#include "runtime/widgets/DialogFrame.h"
#include "runtime/widgets/HelpViewer.h"
#include "runtime/widgets/MailDialogs.h"
#include "runtime/widgets/QtFileChooser.h"

#include "data/suite/SystemFiles.h"

#include "core/Text.h"

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

constexpr const char *ProcedureProperty = "qaveqProcedure";
constexpr const char *RequestProperty = "qaveqRequest";

struct MenuEntry
{
    const char16_t *menu;
    const char16_t *text; // empty: a separator
    const char16_t *procedure;
    data::Request request;
};

const MenuEntry Menus[] = {
    {u"&Equipment", u"&Equipment List", u"BROWSEEQHEADER", data::Request::None},
    {u"&Equipment", u"&New Equipment...", u"UPDATEEQHEADER", data::Request::Insert},
    {u"&Equipment", u"Equipment &Lookup", u"BROWSEEQHEADERALIAS", data::Request::Select},
    {u"&Equipment", u"", u"", data::Request::None},
    {u"&Equipment", u"Equipment &Maintenance Categories", u"BROWSEEQCODE", data::Request::None},
    {u"&Equipment", u"Lookup &Cost Categories", u"BROWSEEQCOST", data::Request::None},
    {u"&Equipment", u"", u"", data::Request::None},
    {u"&Equipment", u"Remember Typed &Values On/Off", u"TOGGLEEASYAUTOENTRYEQ",
     data::Request::None},
    {u"&Usage Logs", u"Usage Log &Entry", u"BROWSEEQLOG", data::Request::None},
    {u"&Usage Logs", u"&New Batch...", u"UPDATEEQBATCH", data::Request::Insert},
    {u"&Usage Logs", u"", u"", data::Request::None},
    {u"&Usage Logs", u"&Import Usage Logs...", u"IMPORTEQLOG", data::Request::None},
    {u"&Usage Logs", u"E&xport Usage Logs...", u"EXPORTEQLOG", data::Request::None},
    {u"&Usage Logs", u"", u"", data::Request::None},
    {u"&Usage Logs", u"&Proof Listing", u"PRINTEQLOGBPROOF", data::Request::None},
    {u"&Reports", u"&Analysis Reports", u"BROWSEEQANALYSISLIMITS", data::Request::None},
    {u"&Reports", u"&Detail Listings", u"BROWSEEQDETAILLIMITS", data::Request::None},
    {u"&Reports", u"&Equipment Listings", u"BROWSEEQLISTINGLIMITS", data::Request::None},
    {u"&Reports", u"&Cost Category Listings", u"BROWSEEQCATEGORYLISTLIMITS", data::Request::None},
    {u"&Reports", u"", u"", data::Request::None},
    {u"&Reports", u"&Maintenance Schedule", u"PRINTEQMAINTENANCE", data::Request::None},
    {u"&Reports", u"", u"", data::Request::None},
    {u"&Reports", u"&Report Writer Reports", u"LISTEQREPORTS", data::Request::None},
    {u"&Reports", u"Report Writer: &Usage Logs", u"PRINTUSAGELOGFM", data::Request::None},
    {u"&Reports", u"Report Writer: Cost Cate&gories", u"PRINTEQCATEGORYFM", data::Request::None},
    {u"&Reports", u"Report Writer: Equipment De&tail", u"PRINTEQUIPMENTDETAILFM",
     data::Request::None},
    {u"&Reports", u"Report Writer: Equipment &List", u"PRINTEQUIPMENTLISTFM", data::Request::None},
    {u"&Reports", u"Report Writer: A&nalysis", u"PRINTEQANALYSISFM", data::Request::None},
    {u"Fixed &Assets", u"Depreciation &Schedule Report", u"PRINTFIXEDASSETS", data::Request::None},
    {u"Fixed &Assets", u"Depreciation &Graphs Report", u"PRINTFIXEDASSETGRAPHS",
     data::Request::None},
    {u"Fixed &Assets", u"Depreciation Graph &Window", u"FIXEDASSETGRAPH", data::Request::None},
    {u"&Setup", u"Equipment &Maintenance Categories", u"BROWSEEQCODE", data::Request::None},
    {u"&Setup", u"&New Cost Category...", u"UPDATEEQCODE", data::Request::Insert},
};

// The Setup menu's entries into the sibling modules' lists.
struct SuiteEntry
{
    const char16_t *text;
    const char16_t *what; // for the status bar
    void (*run)();
    const char16_t *dropList; // the named list UPDATEDROPLIST maintains
};

const SuiteEntry SetupLists[] = {
    {u"&G/L Accounts", u"the general ledger's chart of accounts", &suite::BROWSEGLMASTER, nullptr},
    {u"&Jobs", u"the jobs equipment is charged to", &suite::BROWSEJCHEADER, nullptr},
    {u"&Employees", u"the employees who operate equipment", &suite::BROWSEPREMP, nullptr},
    {u"Certified &Payroll IDs", u"the certified payroll classifications", &suite::BROWSEPRCERT,
     nullptr},
    {u"Equipment Class &Codes", u"the list of equipment class codes", &suite::UPDATEDROPLIST,
     u"EQH Class Code"},
    {u"Equipment &License Codes", u"the list of licence codes", &suite::UPDATEDROPLIST,
     u"EQH License Code"},
};

// Menu entries of screens still to come are marked so; they say so when chosen.
constexpr auto StillToCome = u"  (still to come)";

// "equipment record form" as a status-bar sentence: "Equipment record form."
QString sentence(const QString &what)
{
    return what.isEmpty() ? what : what.front().toUpper() + what.mid(1) + u'.';
}

} // namespace

MainWindow::MainWindow(HostSession &session, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
{
    data::Company &company = session.company();
    // The desktop adds the program's name ("- QAVEQ") to every window's title.
    setWindowTitle(u"Equipment Costing - %1 (%2) - User %3"_s.arg(company.name(), company.id(),
                                                                  session.session().userId));
    buildMenus();
    m_page = new AttentionPage(session, this);
    connect(m_page, &AttentionPage::openRequested, this, &MainWindow::openAttention);
    setCentralWidget(m_page);
    // A permanent part of the status bar: the menus' hints take the rest of it
    // and leave the company and user in place.
    auto *signedOn = new QLabel(u"Company %1   User %2   Data %3"_s.arg(
                                    company.id(), session.session().userId, company.folder()),
                                this);
    statusBar()->addPermanentWidget(signedOn);
    m_result = new QLabel(this);
    m_result->setObjectName(u"taskResult"_s);
    statusBar()->addWidget(m_result, 1);
    // The first screen's list wants room: most of a small screen, a
    // comfortable window on a large one.
    const QSize available = screen()->availableGeometry().size();
    resize(std::clamp(available.width() * 17 / 20, 900, 1360),
           std::clamp(available.height() * 17 / 20, 560, 900));
}

QString MainWindow::procedureOf(const QAction *action)
{
    return action->property(ProcedureProperty).toString();
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(u"&File"_s);
    QAction *exit = file->addAction(u"E&xit"_s);
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMap<QString, QMenu *> menus;
    for (const MenuEntry &entry : Menus) {
        const QString title = QString::fromUtf16(entry.menu);
        QMenu *&menu = menus[title];
        if (!menu)
            menu = menuBar()->addMenu(title);
        if (QString::fromUtf16(entry.text).isEmpty()) {
            menu->addSeparator();
            continue;
        }
        const QString procedure = QString::fromUtf16(entry.procedure);
        const ModuleLoader::Procedure *exported = exportOf(procedure);
        const bool built = exported && exported->built;
        QAction *action = menu->addAction(QString::fromUtf16(entry.text) +
                                          (built ? QString() : QString::fromUtf16(StillToCome)));
        action->setProperty(ProcedureProperty, procedure);
        action->setProperty(RequestProperty, static_cast<int>(entry.request));
        if (exported)
            action->setStatusTip(built ? sentence(exported->what)
                                       : u"Still being built: "_s + exported->what + u"."_s);
        connect(action, &QAction::triggered, this,
                [this, procedure, entry] { run(procedure, static_cast<int>(entry.request)); });
    }
    addFavourites(menus.value(u"&Reports"_s));
    QMenu *setup = menus.value(u"&Setup"_s);
    setup->addSeparator();
    for (const SuiteEntry &entry : SetupLists) {
        QAction *action = setup->addAction(QString::fromUtf16(entry.text));
        action->setStatusTip(sentence(QString::fromUtf16(entry.what)));
        connect(action, &QAction::triggered, this, [this, entry] {
            data::Session &session = m_session.session();
            if (entry.dropList)
                session.buffer<DropList>().FieldName = QString::fromUtf16(entry.dropList);
            session.globalRequest = data::Request::None;
            entry.run();
        });
    }

    setup->addSeparator();
    QAction *logging = setup->addAction(u"User &Activity Logging..."_s);
    logging->setStatusTip(u"The company's logging level; only the administrator changes it."_s);
    connect(logging, &QAction::triggered, this,
            [this] { LoggingLevel::choose(m_session.session(), m_session.prompter()); });
    QAction *pdfOptions = setup->addAction(u"P&DF Options..."_s);
    pdfOptions->setStatusTip(u"The folder reports' PDF files are offered in."_s);
    connect(pdfOptions, &QAction::triggered, this, [] { suite::PDFOPTIONS(); });
    QAction *mail = setup->addAction(u"Email &Settings..."_s);
    mail->setStatusTip(u"Your mail server and the message reports are emailed with."_s);
    connect(mail, &QAction::triggered, this, &MainWindow::editMailSettings);

    QMenu *help = menuBar()->addMenu(u"&Help"_s);
    QAction *contents = help->addAction(u"&Contents"_s);
    contents->setShortcut(QKeySequence::HelpContents);
    connect(contents, &QAction::triggered, this,
            [this] { HelpViewer::showTopic(u"html/index.htm"_s, this); });
    connect(help->addAction(u"&About QAVEQ"_s), &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::addFavourites(QMenu *reports)
{
    reports->addSeparator();
    QMenu *favourites = reports->addMenu(u"&Favorite Reports"_s);
    favourites->menuAction()->setStatusTip(
        u"The report definitions you added to your favourites, each opened on its own."_s);
    // Read each time it opens: favourites are added from the definition lists.
    connect(favourites, &QMenu::aboutToShow, this, [this, favourites] {
        favourites->clear();
        data::Session &session = m_session.session();
        const QList<MemLimit> kept =
            ReportDefinitions::favourites(m_session.company(), session.userId);
        if (kept.isEmpty())
            favourites->addAction(u"(none yet: use \"Add to Favorite Reports\" in a report list)"_s)
                ->setEnabled(false);
        for (const MemLimit &favourite : kept) {
            const FamilyInfo *family = nullptr;
            for (const FamilyInfo &info : ReportFamilies::all())
                if (info.favourites == Text::clip(favourite.ReportName))
                    family = &info;
            QAction *action = favourites->addAction(Text::clip(favourite.ReportName) + u":  "_s +
                                                    Text::clip(favourite.Title));
            action->setEnabled(family && exportOf(family->listProcedure));
            if (!family)
                continue;
            const QString procedure = family->listProcedure;
            const auto limit = static_cast<quint32>(favourite.LimitID);
            connect(action, &QAction::triggered, this, [this, procedure, limit] {
                m_session.session().reportLimit = limit;
                run(procedure, static_cast<int>(data::Request::None));
                m_session.session().reportLimit = 0;
            });
        }
    });
}

const ModuleLoader::Procedure *MainWindow::exportOf(const QString &procedure) const
{
    if (!m_session.moduleLoaded())
        return nullptr;
    for (const ModuleLoader::Procedure &exported : m_session.module().exports())
        if (exported.name == procedure)
            return &exported;
    return nullptr;
}

void MainWindow::run(const QString &procedure, int request)
{
    // The fixed-asset outputs work on the equipment in the buffer, and an
    // equipment's cost categories on the equipment in EQUIPFIELD; from the menu
    // the user names it first.
    static const QStringList equipmentFirst{u"PRINTFIXEDASSETS"_s, u"PRINTFIXEDASSETGRAPHS"_s,
                                            u"FIXEDASSETGRAPH"_s, u"BROWSEEQCOST"_s};
    if (equipmentFirst.contains(procedure)) {
        const bool costs = procedure == u"BROWSEEQCOST";
        if (!chooseEquipment(costs ? u"Lookup Cost Categories"_s : u"Fixed Assets"_s))
            return;
        if (costs)
            m_session.session().equipField = m_session.session().buffer<EQHeader>().EquipmentID;
    }
    if (procedure == u"TOGGLEEASYAUTOENTRYEQ") {
        bool &remember = m_session.session().easyAutoEntry;
        remember = !remember;
        statusBar()->showMessage(remember ? u"Typed values are remembered and offered again."_s
                                          : u"Typed values are no longer remembered."_s,
                                 5000);
    }
    if (writerReportType(procedure) && !chooseReportFile(procedure))
        return;
    m_session.call(procedure, static_cast<data::Request>(request));
    // What the task did, in one line ("Added batch 4, Week 12.").
    m_result->setText(std::exchange(m_session.session().resultLine, QString()));
    // What the task dealt with leaves the list at once.
    m_page->refresh();
}

bool MainWindow::chooseReportFile(const QString &procedure)
{
    const WriterReportType *type = writerReportType(procedure);
    const QStringList choices{u"Run the report shipped with QAVEQ"_s, u"Run a report file..."_s,
                              u"Design a new report"_s, u"Design a report file..."_s};
    QInputDialog dialog(this);
    useDialogFrame(&dialog);
    dialog.setWindowTitle(u"Report Writer: "_s + type->catalogue().title(type->procedure));
    dialog.setLabelText(u"&What would you like to do?"_s);
    // The four choices in sight at once, the first one ready for Enter.
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog.setComboBoxItems(choices);
    dialog.setTextValue(choices.first());
    dialog.resize(460, 200);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const int choice = int(choices.indexOf(dialog.textValue()));
    data::Session::ReportWriter &settings = m_session.session().reportWriter;
    settings.searchPath.clear();
    settings.editAction = choice >= 2 ? 1 : 0;
    settings.fileName = choice == 0 ? type->starterFile() : QString();
    if (choice == 1 || choice == 3) {
        const QString folder = QDir(m_session.session().dataPath).filePath(u"Reports"_s);
        QDir().mkpath(folder);
        settings.fileName = QtFileChooser(this, QtFileChooser::Start::Offered)
                                .choose(FileChooser::Purpose::Open, u"Report File"_s, folder,
                                        u"Report files (*.qvr);;All files (*)"_s);
        if (settings.fileName.isEmpty())
            return false;
    }
    return true;
}

bool MainWindow::chooseEquipment(const QString &caption)
{
    data::Session &session = m_session.session();
    QStringList items;
    QStringList ids;
    data::ScanOptions options;
    options.fields = {u"EQH:Description"_s};
    data::KeyCursor cursor = m_session.company().file<EQHeader>().scan(u"KeyEquipmentID", options);
    EQHeader equipment;
    while (cursor.next(equipment)) {
        ids.append(equipment.EquipmentID);
        items.append(u"%1   %2"_s.arg(equipment.EquipmentID, -10).arg(equipment.Description));
    }
    if (items.isEmpty()) {
        QMessageBox::information(this, caption, u"There is no equipment yet."_s);
        return false;
    }
    const int current = std::max<qsizetype>(0, ids.indexOf(session.buffer<EQHeader>().EquipmentID));
    // Wide enough for the caption and an equipment's whole description.
    QInputDialog dialog(this);
    useDialogFrame(&dialog);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(u"&Equipment:"_s);
    dialog.setComboBoxItems(items);
    dialog.setTextValue(items.at(current));
    dialog.setMinimumWidth(460);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QString item = dialog.textValue();
    EQHeader &buffer = session.buffer<EQHeader>();
    buffer = EQHeader();
    buffer.EquipmentID = ids.at(items.indexOf(item));
    return m_session.company().file<EQHeader>().fetch(u"KeyEquipmentID", buffer).isOk();
}

void MainWindow::editMailSettings()
{
    data::Session &session = m_session.session();
    const QString file = session.userSettingsFile();
    data::Table &users = m_session.company().file<UserFile>();
    UserFile user;
    user.UserID = session.userId;
    const bool known = users.fetch(u"KeyUserID", user).isOk();
    MailServerDialog dialog(MailSettings::load(file), this,
                            known ? std::optional(user.EmailMessage) : std::nullopt);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!MailSettings::save(file, dialog.settings()))
        QMessageBox::warning(this, u"Email Settings"_s, u"%1 cannot be written."_s.arg(file));
    if (!known)
        return;
    user.EmailMessage = dialog.message();
    if (const data::FileStatus status = users.update(user); !status)
        QMessageBox::warning(this, u"Email Settings"_s,
                             status.error().text() + u" Saving UserFile"_s);
}

void MainWindow::openAttention(const AttentionItem &item)
{
    using Kind = AttentionItem::Kind;
    data::Session &session = m_session.session();
    if (item.kind == Kind::BatchUnposted || item.kind == Kind::BatchHeld) {
        run(u"BROWSEEQLOG"_s, static_cast<int>(data::Request::None));
        return;
    }
    // The equipment list makes the depreciation transaction batch.
    if (item.kind == Kind::DepreciationUnposted) {
        run(u"BROWSEEQHEADER"_s, static_cast<int>(data::Request::None));
        return;
    }
    // Everything else is dealt with on the equipment's form: its service
    // schedule, its cost categories, its depreciation schedule.
    EQHeader &buffer = session.buffer<EQHeader>();
    buffer = EQHeader();
    buffer.EquipmentID = item.subject;
    if (!m_session.company().file<EQHeader>().fetch(u"KeyEquipmentID", buffer)) {
        // Deleted by another station since the list was read.
        m_page->refresh();
        return;
    }
    run(u"UPDATEEQHEADER"_s,
        static_cast<int>(session.equipmentReadOnly ? data::Request::View : data::Request::Change));
}

void MainWindow::showAbout()
{
    QMessageBox::about(this, u"About QAVEQ"_s,
                       u"<h3>QAVEQ Equipment Costing</h3>"
                       "<p>Equipment, cost categories, depreciation, usage logs and reports for "
                       "construction contractors.</p><p>Version %1, Qt %2.</p>"_s.arg(
                           QApplication::applicationVersion(), QString::fromLatin1(qVersion())));
}

} // namespace qaveq::host
