#include "ReportDefinitions.h"

#include "records/EQLimits.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <chrono>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace qaveq {

namespace {

constexpr auto WriteWait = 5s;
const QString LimitsFile = u"EQLimits"_s;

data::ScanOptions entriesOf(quint32 limitId)
{
    return data::ScanOptions::equal({LimitsFile, qint64(limitId)});
}

} // namespace

ReportDefinitions::ReportDefinitions(data::Session &session, Prompter &prompter, const Clock &clock)
    : m_session(session)
    , m_prompter(prompter)
    , m_clock(clock)
{}

void ReportDefinitions::prime(EQLimits &definition, ReportFamily family, const QString &user)
{
    definition.Report = ReportFamilies::info(family).report;
    switch (family) {
    case ReportFamily::Analysis:
        definition.QuantityAnalysis = u"D"_s;
        definition.ReportType = u"A"_s;
        definition.DetailSummary = u"I"_s;
        definition.UserID = user;
        break;
    case ReportFamily::Detail:
        definition.SkipEquipment = 1;
        definition.PrintTransactionDetail = 1;
        definition.ColorCoding = 1;
        definition.SelectedRef = 1;
        definition.RefFrom = Decimal(1);
        definition.DetailSummary = u"I"_s;
        break;
    case ReportFamily::Listing:
        definition.ReportFormat = u"M"_s;
        definition.DetailSummary = u"I"_s;
        break;
    case ReportFamily::Category:
        // "S" is neither sort order: the report then keeps the file's order.
        definition.ReportFormat = u"S"_s;
        definition.DetailSummary = u"S"_s;
        definition.UserID = user;
        break;
    case ReportFamily::Proof:
        break;
    }
}

void ReportDefinitions::loadDefaults(EQLimits &definition, ReportFamily family, const QString &user)
{
    const quint32 number = definition.LimitID;
    const QString title = definition.ReportTitle;
    EQLimits cleared;
    cleared.LimitID = number;
    cleared.ReportTitle = title;
    prime(cleared, family, user);
    if (family == ReportFamily::Detail)
        cleared.UserID = user;
    definition.assign(cleared);
}

void ReportDefinitions::fillBlanks(EQLimits &definition, ReportFamily family, const QString &user)
{
    if (Text::clip(definition.Orientation).isEmpty())
        definition.Orientation = u"P"_s;
    if (family == ReportFamily::Analysis && Text::clip(definition.DetailSummary).isEmpty())
        definition.DetailSummary = u"I"_s;
    if (Text::clip(definition.UserID).isEmpty())
        definition.UserID = user;
}

bool ReportDefinitions::lockedAgainstMe(const EQLimits &definition) const
{
    return definition.Locked == 1 &&
           Text::clip(definition.UserID).compare(m_session.userId, Qt::CaseInsensitive) != 0;
}

bool ReportDefinitions::refusesDelete(const EQLimits &definition)
{
    const QString owner = Text::clip(definition.UserID);
    if (definition.Locked != 1 || owner.isEmpty() ||
        owner.compare(m_session.userId, Qt::CaseInsensitive) == 0)
        return false;
    UserFile user;
    user.UserID = owner;
    if (!m_session.company->file<UserFile>().fetch(u"KeyUserID", user))
        return false; // the owner is gone: nobody is left to hold the lock
    m_prompter.ask(Message::alert(
        u"Report Cannot Be Deleted"_s,
        u"This report is locked and can only be modified or deleted by user "_s + owner + u"."_s));
    return true;
}

data::FileStatus ReportDefinitions::removeDependents(quint32 limitId)
{
    data::Company &company = *m_session.company;
    data::Transaction transaction(company.database(), {u"LimList"_s, u"MemLimit"_s}, WriteWait);
    if (!transaction.isActive())
        return transaction.error();
    data::Table &entries = company.file<LimList>();
    data::KeyCursor cursor = entries.scan(u"KeyLimit", entriesOf(limitId));
    LimList entry;
    while (cursor.next(entry))
        if (data::FileStatus status = entries.remove(entry); !status)
            return status;
    if (cursor.error())
        return *cursor.error();
    data::Table &favourites = company.file<MemLimit>();
    data::ScanOptions named;
    named.filters = {{u"MEM:LimitID"_s, data::Filter::Op::Equal, qint64(limitId)},
                     {u"MEM:FileName"_s, data::Filter::Op::Equal, LimitsFile}};
    data::KeyCursor marks = favourites.scan(u"KeyRecordID", named);
    MemLimit favourite;
    while (marks.next(favourite))
        if (data::FileStatus status = favourites.remove(favourite); !status)
            return status;
    if (marks.error())
        return *marks.error();
    return transaction.commit();
}

bool ReportDefinitions::remove(quint32 limitId)
{
    data::Company &company = *m_session.company;
    data::Transaction transaction(company.database(), {LimitsFile, u"LimList"_s, u"MemLimit"_s},
                                  WriteWait);
    if (!transaction.isActive()) {
        tell(u"Delete"_s, transaction.notBegunText());
        return false;
    }
    std::optional<EQLimits> definition = find(limitId);
    if (!definition) {
        tell(u"Delete"_s, u"Report definition %1 is not on file."_s.arg(limitId));
        return false;
    }
    if (refusesDelete(*definition))
        return false;
    data::FileStatus status = company.file<EQLimits>().remove(*definition);
    if (status)
        status = removeDependents(limitId);
    if (status)
        status = transaction.commit();
    if (!status) {
        tell(u"Delete"_s, status.error().text() + u" Deleting EQLimits"_s);
        return false;
    }
    return true;
}

std::optional<quint32> ReportDefinitions::duplicate(quint32 limitId)
{
    data::Company &company = *m_session.company;
    data::Transaction transaction(company.database(), {LimitsFile, u"LimList"_s}, WriteWait);
    if (!transaction.isActive()) {
        tell(u"Duplicate"_s, transaction.notBegunText());
        return std::nullopt;
    }
    std::optional<EQLimits> copy = find(limitId);
    if (!copy) {
        tell(u"Duplicate"_s, u"Report definition %1 is not on file."_s.arg(limitId));
        return std::nullopt;
    }
    copy->LimitID = 0;
    copy->ReportTitle = Text::left(u"Copy of "_s + Text::clip(copy->ReportTitle), 40);
    copy->UserID = m_session.userId;
    copy->ModifyDate = SuiteDate::fromQDate(m_clock.today());
    copy->Locked = 0;
    if (data::FileStatus status = company.file<EQLimits>().insert(*copy); !status) {
        tell(u"Duplicate"_s, status.error().text() + u" Inserting EQLimits"_s);
        return std::nullopt;
    }
    // The entries are collected first: the copies land in the same key range.
    data::Table &entries = company.file<LimList>();
    QList<LimList> originals;
    data::KeyCursor cursor = entries.scan(u"KeyLimit", entriesOf(limitId));
    for (LimList entry; cursor.next(entry);)
        originals.append(entry);
    data::FileStatus status =
        cursor.error() ? data::FileStatus(*cursor.error()) : data::FileStatus();
    for (LimList &entry : originals) {
        if (!status)
            break;
        entry.RecordID = 0;
        entry.LimitID = static_cast<qint32>(copy->LimitID);
        status = entries.insert(entry);
    }
    if (status)
        status = transaction.commit();
    if (!status) {
        tell(u"Duplicate"_s, status.error().text() + u" Inserting LimList"_s);
        return std::nullopt;
    }
    return copy->LimitID;
}

bool ReportDefinitions::confirmLoadDefaults()
{
    return m_prompter.ask(Message{u"Confirm Loading Default Limits"_s,
                                  u"Are you sure you want to replace the displayed|limits with "
                                  "default limits?"_s,
                                  u"&Yes|&No"_s, 1, Message::Icon::Question}) == 1;
}

bool ReportDefinitions::deleteListEntries(quint32 limitId)
{
    data::Company &company = *m_session.company;
    data::Transaction transaction(company.database(), {u"LimList"_s}, WriteWait);
    if (!transaction.isActive()) {
        tell(u"Load Defaults"_s, transaction.notBegunText());
        return false;
    }
    data::Table &entries = company.file<LimList>();
    data::KeyCursor cursor = entries.scan(u"KeyLimit", entriesOf(limitId));
    data::FileStatus status;
    for (LimList entry; status && cursor.next(entry);)
        status = entries.remove(entry);
    if (status && cursor.error())
        status = *cursor.error();
    if (status)
        status = transaction.commit();
    if (!status) {
        tell(u"Load Defaults"_s, status.error().text() + u" Deleting LimList"_s);
        return false;
    }
    return true;
}

ReportDefinitions::Favourite ReportDefinitions::addFavourite(const EQLimits &definition)
{
    const FamilyInfo *family = ReportFamilies::ofReport(definition.Report);
    data::Company &company = *m_session.company;
    data::Transaction transaction(company.database(), {u"MemLimit"_s}, WriteWait);
    if (!transaction.isActive()) {
        tell(u"Add to Favorite Reports"_s, transaction.notBegunText());
        return Favourite::Failed;
    }
    for (const MemLimit &kept : favourites(company, m_session.userId))
        if (kept.LimitID == static_cast<qint32>(definition.LimitID)) {
            // With audible beeps on, the box sounds as it opens.
            m_prompter.ask(Message{
                u"Report Already Added"_s,
                u"This report has already been added to your Favorite Report list."_s, u"&OK"_s, 1,
                m_session.audibleBeeps ? Message::Icon::Bell : Message::Icon::Exclamation});
            return Favourite::AlreadyAdded;
        }
    data::Table &file = company.file<MemLimit>();
    MemLimit favourite;
    if (data::FileStatus status = file.prime(favourite); !status) {
        tell(u"Add to Favorite Reports"_s, status.error().text() + u" Autoincrementing MemLimit"_s);
        return Favourite::Failed;
    }
    favourite.LimitID = static_cast<qint32>(definition.LimitID);
    favourite.UserID = m_session.userId;
    favourite.FileName = LimitsFile;
    favourite.ReportName = family ? family->favourites : Text::clip(definition.Report);
    favourite.Title = Text::clip(definition.ReportTitle);
    data::FileStatus status = file.insert(favourite);
    if (status)
        status = transaction.commit();
    if (!status) {
        tell(u"Add to Favorite Reports"_s, status.error().text() + u" Inserting MemLimit"_s);
        return Favourite::Failed;
    }
    m_prompter.ask(Message{u"Report Added"_s,
                           u"This report has now been added to your Favorite Report list"_s,
                           u"&OK"_s, 1, Message::Icon::None});
    return Favourite::Added;
}

QList<MemLimit> ReportDefinitions::favourites(data::Company &company, const QString &user)
{
    data::ScanOptions options;
    options.filters = {{u"MEM:UserID"_s, data::Filter::Op::Equal, user},
                       {u"MEM:FileName"_s, data::Filter::Op::Equal, LimitsFile}};
    QList<MemLimit> found;
    data::KeyCursor cursor = company.file<MemLimit>().scan(u"KeyRecordID", options);
    for (MemLimit favourite; cursor.next(favourite);)
        found.append(favourite);
    return found;
}

bool ReportDefinitions::print(std::optional<EQLimits> highlighted, const Caller &call)
{
    if (!highlighted) {
        m_prompter.ask(
            Message::alert(u"No Report Format Selected"_s,
                           u"This report cannot be printed without first creating |a 'Report "
                           "Format' with the desired report limits.|Press the Insert button "
                           "to create a report format."_s));
        return false;
    }
    if (highlighted->LimitID == 0) {
        // Stored before numbers were given: numbered now, so the report can
        // find it by its number.
        data::Company &company = *m_session.company;
        data::Table &file = company.file<EQLimits>();
        data::Transaction transaction(company.database(), {LimitsFile}, WriteWait);
        if (!transaction.isActive()) {
            tell(u"Print"_s, transaction.notBegunText());
            return false;
        }
        data::FileStatus status = file.prime(*highlighted);
        if (status)
            status = file.update(*highlighted);
        if (status)
            status = transaction.commit();
        if (!status) {
            tell(u"Print"_s, status.error().text() + u" Saving EQLimits"_s);
            return false;
        }
    }
    dispatch(*highlighted, call);
    return true;
}

std::optional<int> ReportDefinitions::viewModeFor(const EQLimits &definition)
{
    const FamilyInfo *family = ReportFamilies::ofReport(definition.Report);
    if (family && family->family == ReportFamily::Detail)
        return 3;
    if (definition.ReportType == u"A")
        return 1;
    if (definition.ReportType == u"S")
        return 2;
    m_prompter.ask(Message{u"View Not Available"_s,
                           u"Report View is not available for the|\"Maintenance Schedule\" report "
                           "type.|"_s,
                           u"&OK"_s, 1, Message::Icon::Information});
    return std::nullopt;
}

bool ReportDefinitions::view(std::optional<EQLimits> highlighted, const Caller &call)
{
    if (highlighted) {
        const std::optional<int> mode = viewModeFor(*highlighted);
        if (!mode)
            return false;
        m_session.reportViewMode = *mode;
    }
    return print(std::move(highlighted), call);
}

void ReportDefinitions::dispatch(EQLimits &definition, const Caller &call)
{
    const FamilyInfo *family = ReportFamilies::ofReport(definition.Report);
    m_session.reportFilter = QString::number(definition.LimitID);
    if (family && call)
        call(family->dispatch);
    m_session.printPreview = true;
    const quint32 number = m_session.reportFilter.toUInt();
    if (std::optional<EQLimits> again = find(number))
        definition.assign(*again);
}

namespace {

std::optional<EQLimits> definitionNumbered(data::Company &company, quint32 limitId)
{
    EQLimits definition;
    definition.LimitID = limitId;
    if (!company.file<EQLimits>().fetch(u"KeyLimitID", definition))
        return std::nullopt;
    return definition;
}

} // namespace

std::optional<EQLimits> ReportDefinitions::find(quint32 limitId) const
{
    return definitionNumbered(*m_session.company, limitId);
}

std::optional<EQLimits> ReportDefinitions::handedOver(const data::Session &session)
{
    return definitionNumbered(*session.company, session.reportFilter.toUInt());
}

void ReportDefinitions::tell(const QString &caption, const QString &text)
{
    m_prompter.ask(Message::alert(caption, text));
}

} // namespace qaveq
