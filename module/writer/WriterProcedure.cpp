#include "WriterProcedure.h"

#include "output/ReportRun.h"

#include "core/Prompter.h"
#include "core/Text.h"

#include "data/Company.h"
#include "data/IniManager.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// Puts a setting back as it was when the scope ends, however it ends.
template <class T> class Restore
{
public:
    Restore(T &setting, T value)
        : m_setting(setting)
        , m_old(std::exchange(setting, std::move(value)))
    {}
    ~Restore() { m_setting = std::move(m_old); }
    Restore(const Restore &) = delete;
    Restore &operator=(const Restore &) = delete;

private:
    T &m_setting;
    T m_old;
};

} // namespace

WriterStrings WriterStrings::load(const QString &iniPath)
{
    const data::IniManager ini(iniPath);
    WriterStrings strings;
    const auto text = [&ini](const QString &section, const QString &key, QString &value) {
        value = ini.fetch(section, key, value).toString();
    };
    text(u"ReportManager"_s, u"ReportTypeCaption"_s, strings.typeCaption);
    text(u"ReportManager"_s, u"ReportTypeWarning1"_s, strings.typeWarning1);
    text(u"ReportManager"_s, u"ReportTypeWarning2"_s, strings.typeWarning2);
    text(u"ReportManager"_s, u"NewReportName"_s, strings.newReportName);
    text(u"NoRecordsFound"_s, u"Caption"_s, strings.noRecordsCaption);
    text(u"NoRecordsFound"_s, u"Message"_s, strings.noRecordsMessage);
    return strings;
}

WriterReportPass::WriterReportPass(const WriterReportType &type,
                                   const writer::ReportDocument &document, data::Session &session,
                                   Prompter &prompter, WriterStrings strings)
    : ReportPass({.title = document.name, .pdfFileName = type.pdfName, .page = document.page})
    , m_type(type)
    , m_document(document)
    , m_catalogue(type.catalogue())
    , m_prompter(prompter)
    , m_strings(std::move(strings))
{
    m_processor = std::make_unique<writer::ReportProcessor>(
        m_document, m_catalogue, m_type.plan,
        writer::ReportProcessor::Context{
            *session.company, Text::clip(session.companyName), session.reportWriter.userName, {}});
}

WriterReportPass::~WriterReportPass() = default;

void WriterReportPass::tell(const QString &caption, const QString &text)
{
    m_prompter.ask(Message::alert(caption, text));
}

qint64 WriterReportPass::primaryRecordCount()
{
    return m_processor->primaryCount();
}

bool WriterReportPass::open(ReportRun &run)
{
    m_processor->setRunTime(run.started());
    if (!m_processor->open()) {
        // Said once: the run adds no "Nothing to Preview." of its own.
        if (!m_processor->error().isEmpty()) {
            tell(m_document.name, m_processor->error());
            run.passFailed();
        } else {
            tell(m_strings.noRecordsCaption,
                 m_document.name + u"||"_s + m_strings.noRecordsMessage);
            run.passFoundNothing();
        }
        return false;
    }
    run.setCopies(m_document.printer.copies);
    run.beginPrintingOwnPages(m_processor->pageHeader(), m_processor->pageFooter());
    return true;
}

bool WriterReportPass::next(ReportRun &run, int records)
{
    const bool more = m_processor->next(*run.engine(), records);
    if (!more && !m_processor->error().isEmpty())
        tell(m_document.name, m_processor->error());
    return more;
}

int WriterReportPass::percentRead() const
{
    return m_processor->percentRead();
}

qint64 WriterReportPass::recordsRead() const
{
    return m_processor->recordsRead();
}

WriterProcedure::WriterProcedure(const WriterReportType &type, data::Session &session,
                                 Prompter &prompter, WriterDevices &devices, WriterStrings strings)
    : m_type(type)
    , m_session(session)
    , m_prompter(prompter)
    , m_devices(devices)
    , m_strings(std::move(strings))
{}

QString WriterProcedure::reportFileName(const QString &searchPath, const QString &fileName)
{
    const QString folder = Text::clip(searchPath);
    const QString name = Text::clip(fileName);
    if (folder.isEmpty() || name.isEmpty())
        return name;
    // The whole name, however long: a name cut short would open another file.
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'/' + name;
}

void WriterProcedure::tell(const QString &caption, const QString &text)
{
    m_prompter.ask(Message::alert(caption, text));
}

data::Response WriterProcedure::run()
{
    data::Session::ReportWriter &settings = m_session.reportWriter;
    const int editAction = std::exchange(settings.editAction, 0);
    settings.libLanguage = u"English"_s;
    settings.userName = m_session.userId;
    settings.companyName = Text::clip(m_session.companyName);
    const QString path = reportFileName(settings.searchPath, settings.fileName);
    if (editAction != 0) {
        design(path);
        return data::Response::Completed;
    }
    return runReport(path);
}

std::optional<writer::ReportDocument> WriterProcedure::load(const QString &path)
{
    QString error;
    std::optional<writer::ReportDocument> document = writer::ReportDocument::load(path, &error);
    if (!document) {
        tell(u"Report"_s, error);
        return std::nullopt;
    }
    if (document->type != m_type.procedure) {
        m_prompter.ask(Message{m_strings.typeCaption,
                               path + m_strings.typeWarning1 + u'"' + document->type + u'"' +
                                   m_strings.typeWarning2 + u'"' + m_type.procedure + u"\"!"_s,
                               u"&OK"_s, 1, Message::Icon::Bell});
        return std::nullopt;
    }
    if (const QString problem = document->check(m_type.catalogue()); !problem.isEmpty()) {
        tell(u"Report"_s, u"The report file %1 cannot be used.|%2"_s.arg(path, problem));
        return std::nullopt;
    }
    return document;
}

data::Response WriterProcedure::runReport(const QString &path)
{
    m_session.globalResponse = data::Response::Cancelled;
    if (path.isEmpty()) {
        tell(u"Report"_s, u"No report file is named."_s);
        return m_session.globalResponse;
    }
    std::optional<writer::ReportDocument> document = load(path);
    if (!document)
        return m_session.globalResponse;
    if (document->printer.askBeforeRun && !m_session.reportWriter.useSavedDevMode &&
        !m_devices.printDialog(document->printer))
        return m_session.globalResponse;
    // A designed report always ends in the preview, whatever the setting
    // for fixed reports.
    const Restore preview(m_session.printPreview, true);
    WriterReportPass pass(m_type, *document, m_session, m_prompter, m_strings);
    m_devices.run(pass);
    return m_session.globalResponse;
}

void WriterProcedure::design(const QString &path)
{
    data::Session::ReportWriter &settings = m_session.reportWriter;
    if (settings.designerOpen)
        return;
    // Cleared again when the designer closes, however it closes.
    const Restore open(settings.designerOpen, true);
    std::optional<writer::ReportDocument> document;
    if (path.isEmpty()) {
        const writer::Catalogue catalogue = m_type.catalogue();
        const writer::CatalogueFile *primary = catalogue.primary();
        document = writer::ReportDocument::blank(m_type.procedure, m_strings.newReportName,
                                                 primary ? primary->name : QString());
    } else {
        document = load(path);
    }
    if (document)
        m_devices.design(m_type, std::move(*document), path);
}

} // namespace qaveq
