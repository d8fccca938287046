#pragma once

#include "FileSchema.h"
#include "Record.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace qaveq::data {

class Company;
class IniManager;

// Requests handed to a form or lookup, and the responses it hands back.
enum class Request { None = 0, Insert = 1, Change = 2, Delete = 3, Select = 4, View = 6 };
enum class Response { None = 0, Completed = 1, Cancelled = 2 };
// POSTTYPE: what a module hands the ledger's posting control to post, and its
// answer that the posting ran.
enum class PostType { None = 0, UsageLogs = 5, Posted = 99 };

// The suite's global variables for one signed-on user in one company, and the
// record buffer of each file. Every procedure reads and writes these instead
// of passing arguments; a test makes a fresh session, so nothing leaks.
class Session
{
public:
    explicit Session(Company *company = nullptr)
        : company(company)
    {}

    Company *company = nullptr;

    QString userId;      // USERID, 3 characters
    QString companyId;   // COMPANYID, 5 characters
    QString companyName; // COMPANYNAME
    QString dataPath;
    QString controlPath; // CONTROLPATH

    Request globalRequest = Request::None;    // GLOBALREQUEST
    Response globalResponse = Response::None; // GLOBALRESPONSE
    // Why a lookup list is opened for the user ("Job 9999 is not on file."):
    // set by the caller, shown and cleared by the list.
    QString lookupReason;
    // One line saying what the last task did ("Imported 12 usage logs into
    // batch 4, 1,234.56."): set by the task, shown and cleared by the host.
    QString resultLine;

    bool equipmentReadOnly = false; // the user may only view equipment
    bool usageLogsReadOnly = false; // EQREADONLY: the user may only view usage logs
    int logUserActivity = 0;        // GLO:LogUserActivity; 2 = write user-log entries
    bool recordCounts = true;       // GLO:RecordCounts
    bool audibleBeeps = false;      // GLO:AudibleBeeps
    bool easyAutoEntry = true;      // GLO:EasyAutoEntry: typed values are offered again
    bool generic = false;           // GENERIC
    int costCodeLength = 10;        // COSTCODELEN
    int jobIdLength = 0;            // the job-ID length typed IDs are filled to; 0: not filled

    QString reportFilter; // REPORTFILTER, up to 3,000 characters
    // GLO:ReportLimit: the saved report definition a favourite opens its list on; 0: none.
    quint32 reportLimit = 0;
    // ReportViewMode, the equipment module's own: 0 printing, 1 analysis, 2 cost
    // summary and 3 detail shown on screen instead of printed.
    int reportViewMode = 0;
    bool printPreview = true; // GLO:PrintPreview
    int previewZoom = 0;      // GLO:PreviewZoom
    QString pdfPath;          // PDFPATH, a folder
    QString pdfFileName;      // PDFFILENAME: the report's own PDF name only
    bool exportMe = false;    // EXPORTME
    bool emailMe = false;     // EMAILME
    QStringList rxQueue;      // RXQUEUE: the heading lines of the report's text copy
    QString mmToAddress;      // MM:ToAddress
    QString mmToName;         // MM:ToName
    QString mmSubject;        // MM:Subject
    // Report colours as 0xRRGGBB; a shading of -1 means no shading.
    int reportTitleColor = 0x1F3A5F;
    int reportShadingColor = 0xDCE3EC;
    int reportFooterColor = 0x404040;
    QString reportFooterMessage;        // REPORTFOOTERMESSAGE
    PostType postType = PostType::None; // POSTTYPE
    qint32 postingJournal = 0;          // the G/L journal number the last posting run wrote
    // TAGQUE: the usage-log batches this user has tagged, in tagging order;
    // the posting run posts these.
    QList<quint16> tagQueue;

    // FRB: the report writer's settings. A report-writer procedure runs or
    // designs the file they name and sets the edit action back to 0.
    struct ReportWriter
    {
        QString searchPath;           // FRB::REPORTSEARCHPATH, a folder
        QString fileName;             // FRB::REPORTFILENAME
        int editAction = 0;           // FRB::REPORTEDITACTION: nonzero designs instead of runs
        bool useSavedDevMode = false; // FRB::USESAVEDDEVMODE: the report's own printer settings
        bool designerOpen = false;    // FRB::DESKTOPTHREAD: a designer is open
        QString userName;             // FRB::USERNAME
        QString companyName;          // FRB::COMPANYNAME
        QString libLanguage;          // FRB::LIBLANGUAGE
    } reportWriter;

    QString equipField; // EQUIPFIELD: equipment whose categories a lookup lists
    QString jobField;   // JOBFIELD: job whose cost codes or change orders a lookup lists
    QString test;       // TEST

    // The suite's report settings from its settings file: the PDF folder
    // ([PDF] Folder, `defaultPdfPath` when not set), the report colours
    // ([Reports] TitleColor, ShadingColor, FooterColor as #RRGGBB, "none" for
    // none) and FooterMessage.
    void loadReportSettings(const IniManager &suiteSettings, const QString &defaultPdfPath);
    // The workstation's folder of the suite's INI files (TQSetup.ini,
    // Tessary.ini): `iniFolder` when set, else the user's configuration folder.
    QString suiteIniFolder() const;
    QString iniFolder;
    // The signed-on user's own settings file (the mail server, the PDF folder),
    // in the user's configuration folder, per company.
    QString userSettingsFile() const;
    // The user's own PDF folder ([PDF] Folder of that file), when one was chosen.
    void loadUserSettings();
    // The company's settings the suite keeps as globals: COSTCODELEN, the
    // job-ID length and the logging level.
    void loadCompanySettings();

    // The session of the signed-on user in this process, which the module's
    // procedures work in; null until the host sets one.
    static Session *current();
    static void setCurrent(Session *session);

    // The record buffer of a file, made on first use.
    template <class R> R &buffer() { return static_cast<R &>(buffer(R::fileSchema())); }
    Record &buffer(const FileSchema &schema)
    {
        auto &record = m_buffers[schema.name];
        if (!record)
            record = schema.create();
        return *record;
    }

private:
    std::map<QString, std::unique_ptr<Record>> m_buffers;
};

} // namespace qaveq::data
