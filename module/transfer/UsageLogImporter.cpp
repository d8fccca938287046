#include "UsageLogImporter.h"

#include "ImportLayout.h"

#include "common/ChargeCodes.h"
#include "logs/LogEntryChecks.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/UserActivity.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Text.h"

#include "ImportText.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace qaveq {

namespace {

// The cost types of job cost codes that are not equipment.
const QString OtherCostTypes = u"MSLGB"_s;
// Meter readings, units and amounts of a log are 11.2.
constexpr int LogDigits = 11;

// "1,024": counts in messages are grouped the same in every locale.
QString counted(int count)
{
    return QLocale(QLocale::English).toString(count);
}

QString key(const QString &a, const QString &b)
{
    return a + QChar(0x1f) + b;
}

} // namespace

// What one run has looked up, so that 100,000 lines of a few pieces of
// equipment and jobs read each of them once.
struct UsageLogImporter::Lookups
{
    explicit Lookups(data::Session &session)
        : company(*session.company)
        , costCodeLength(session.costCodeLength)
    {}

    const std::optional<EQHeader> &equipment(const QString &id)
    {
        auto found = pieces.find(id);
        if (found == pieces.end()) {
            EQHeader piece;
            piece.EquipmentID = id;
            std::optional<EQHeader> result;
            if (!id.isEmpty() && company.file<EQHeader>().fetch(u"KeyEquipmentID", piece))
                result = piece;
            found = pieces.insert(id, result);
        }
        return *found;
    }

    bool job(const QString &id)
    {
        auto found = jobs.find(id);
        if (found == jobs.end())
            found = jobs.insert(id, ChargeCodes::job(company, id).state !=
                                        ChargeCodes::State::NotFound);
        return *found;
    }

    bool costCode(const QString &jobId, const QString &code)
    {
        const QString k = key(jobId, code);
        auto found = costCodes.find(k);
        if (found == costCodes.end())
            found = costCodes.insert(
                k, ChargeCodes::costCode(company, jobId, code, costCodeLength).state !=
                       ChargeCodes::State::NotFound);
        return *found;
    }

    bool account(const QString &number)
    {
        auto found = accounts.find(number);
        if (found == accounts.end()) {
            GLMaster record;
            record.Account = number;
            found = accounts.insert(number,
                                    bool(company.file<GLMaster>().fetch(u"KeyAccount", record)));
        }
        return *found;
    }

    bool category(const QString &equipmentId, const QString &categoryId)
    {
        const QString k = key(equipmentId, categoryId);
        auto found = categories.find(k);
        if (found == categories.end()) {
            EQCost record;
            record.EquipmentID = equipmentId;
            record.CostCategory = categoryId;
            found =
                categories.insert(k, bool(company.file<EQCost>().fetch(u"KeyEquipmentID", record)));
        }
        return *found;
    }

    data::Company &company;
    int costCodeLength;
    QHash<QString, std::optional<EQHeader>> pieces;
    QHash<QString, bool> jobs, costCodes, accounts, categories;
};

UsageLogImporter::UsageLogImporter(data::Session &session, const Clock &clock)
    : m_session(session)
    , m_clock(clock)
{}

UsageLogImporter::~UsageLogImporter() = default;

QString UsageLogImporter::read(const JCLimits &source, const QString &path)
{
    // Opened without waiting (a pipe would block until someone writes to it)
    // and taken only when it is a regular file: devices and pipes never end.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return u"The import file "_s + path + u" cannot be read: "_s +
               QString::fromLocal8Bit(std::strerror(errno));
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return u"The import file "_s + path +
               u" is not a regular file (a folder, a device or a pipe)."_s;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return u"The import file "_s + path + u" cannot be read: "_s + file.errorString();
    }
    return read(source, file);
}

QString UsageLogImporter::read(const JCLimits &source, QIODevice &file)
{
    m_lines.clear();
    m_errors.clear();
    m_encoding = Encoding::Utf8;
    if (file.isSequential())
        return u"The import file must be a regular file."_s;
    if (file.size() > MaxFileBytes)
        return u"The import file is larger than %1 MB; split it into smaller files."_s.arg(
            MaxFileBytes >> 20);
    m_lookups = std::make_unique<Lookups>(m_session);
    const ImportLine::Format format{.fileFormat = Text::clip(source.PrintOrder).isEmpty()
                                                      ? ImportLayout::Comma
                                                      : source.PrintOrder.at(0),
                                    .dateFormat = Text::clip(source.JobTo),
                                    .items = ImportLayout::items(source.Layout),
                                    .referenceYear = m_clock.today().year()};
    if (!ImportText::isUtf8(file))
        m_encoding = Encoding::Windows1252;
    if (!file.seek(0))
        return u"The import file could not be read: "_s + file.errorString();
    // Room for as many lines as the file could hold at eight bytes a line:
    // the list does not move its lines as it grows, and room never used is
    // never touched.
    m_lines.reserve(qsizetype(std::min<qint64>(file.size() / 8 + 1, MaxLines)));
    ImportText::LineReader reader(file, m_encoding == Encoding::Windows1252);
    using State = ImportText::LineReader::State;
    int number = 0;
    QString text;
    for (State state = reader.next(text); state != State::End; state = reader.next(text)) {
        ++number;
        if (state == State::Failed)
            return u"The import file could not be read to its end: "_s + file.errorString();
        if (number > MaxLines || m_errors.size() >= MaxErrors) {
            m_lines.clear();
            m_errors.clear();
            return number > MaxLines
                       ? u"The import file has more than %1 lines; split it into smaller files."_s
                             .arg(counted(MaxLines))
                       : u"The import file has more than %1 lines with errors; nothing was "
                         u"read."_s.arg(counted(MaxErrors));
        }
        if (state == State::TooLong) {
            m_errors.append({number, u"Line Is Longer Than %1 Characters"_s.arg(
                                         counted(ImportText::LineReader::MaxCharacters))});
            continue;
        }
        if ((number == 1 && source.Skip) || Text::clip(text).isEmpty())
            continue;
        ImportLine::Fields fields;
        std::optional<QString> error;
        if (QString unread = ImportLine::read(text, format, fields); !unread.isEmpty())
            error = std::move(unread);
        else
            error = check(fields);
        if (error)
            m_errors.append({number, Text::cut(*error, ErrorWidth)});
        else
            m_lines.append({number, std::move(fields)});
    }
    return {};
}

QString UsageLogImporter::encodingNote() const
{
    return m_encoding == Encoding::Windows1252
               ? u"The file is not UTF-8 text: it was read as Windows-1252."_s
               : QString();
}

std::optional<QString> UsageLogImporter::check(ImportLine::Fields &fields)
{
    Lookups &look = *m_lookups;
    if (fields.date == 0)
        fields.date = SuiteDate::fromQDate(m_clock.today());
    if (!look.equipment(fields.equipmentId))
        return u"Equipment: "_s + fields.equipmentId + u" Not Found"_s;

    QChar type = fields.detailType.trimmed().isEmpty()
                     ? QChar()
                     : fields.detailType.trimmed().at(0).toUpper();
    if (!QStringView(u"GJEM").contains(type) || type.isNull()) {
        if (!fields.jobId.isEmpty())
            type = u'J';
        else if (!fields.account.isEmpty())
            type = u'G';
        else if (!fields.equipmentCharged.isEmpty())
            type = u'E';
        else if (!fields.category.isEmpty())
            type = u'M';
        else
            return u"Invalid Record"_s;
    }
    switch (type.unicode()) {
    case u'J': {
        if (fields.jobId.isEmpty())
            return u"Missing Job ID"_s;
        if (!look.job(fields.jobId))
            return u"Job: "_s + fields.jobId + u" Not Found"_s;
        if (fields.costCode.isEmpty())
            return u"No Cost Code"_s;
        if (fields.costCode.size() == m_session.costCodeLength)
            fields.costCode += u'E';
        if (!look.costCode(fields.jobId, fields.costCode))
            return u"Cost Code "_s + fields.costCode + u" on Job "_s + fields.jobId +
                   u" Not Found"_s;
        fields.detailType = u"Job"_s;
        break;
    }
    case u'G':
        if (fields.account.isEmpty())
            return u"Missing GL Account"_s;
        if (!look.account(fields.account))
            return u"Account: "_s + fields.account + u" Not Found"_s;
        fields.detailType = u"G/L Account"_s;
        break;
    case u'E':
    case u'M': {
        // The category of an equipment charge is one of the charged
        // equipment's: that is where posting puts the cost, as in log entry.
        const bool charged = type == u'E';
        if (charged && fields.equipmentCharged.isEmpty())
            return u"Missing Equipment ID"_s;
        if (fields.category.isEmpty())
            return u"No Cost Category"_s;
        const QString owner = charged ? fields.equipmentCharged : fields.equipmentId;
        if (!look.category(owner, fields.category))
            return u"Category "_s + fields.category + u" on Equipment "_s + owner + u" Not Found"_s;
        fields.detailType = charged ? u"Equipment"_s : u"Maintenance"_s;
        break;
    }
    }
    if (fields.units.isZero())
        fields.units = fields.endMeter - fields.startMeter;
    if (fields.units.isZero())
        return u"No Units"_s;
    if (fields.chargeType.trimmed().isEmpty())
        fields.chargeType = u"I"_s;
    const EQHeader &piece = *look.equipment(fields.equipmentId);
    const Decimal rate = LogEntryChecks::rateFor(fields.chargeType.left(1), piece);
    for (const Decimal &figure :
         {fields.startMeter, fields.endMeter, fields.units, (fields.units * rate).rounded(2)})
        if (!figure.fits(LogDigits, 2))
            return u"Figures too large for a usage log"_s;
    return std::nullopt;
}

QChar UsageLogImporter::costType(const ImportLine::Fields &fields) const
{
    const int at = m_session.costCodeLength;
    return at >= 0 && at < fields.costCode.size() ? fields.costCode.at(at).toUpper() : QChar();
}

int UsageLogImporter::otherCostTypes() const
{
    int count = 0;
    for (const Line &line : m_lines) {
        const QChar type = costType(line.fields);
        if (!type.isNull() && OtherCostTypes.contains(type))
            ++count;
    }
    return count;
}

void UsageLogImporter::keepEquipmentOnly()
{
    m_lines.removeIf([this](const Line &line) {
        const QChar type = costType(line.fields);
        return !type.isNull() && OtherCostTypes.contains(type);
    });
}

UsageLogImporter::Result UsageLogImporter::import(quint16 batchId,
                                                  const std::function<bool(int, int)> &progress)
{
    data::Company &company = *m_session.company;
    // The rates are those of the moment of the import, read once per piece.
    Lookups rates(m_session);
    data::Transaction transaction(company.database(), {u"EQLogB"_s}, 5s);
    if (!transaction.isActive()) {
        Result held = notDone<Result>(transaction.notBegunText());
        held.busy = transaction.error().code == data::FileErrorCode::FileLocked;
        return held;
    }
    // Another user's secure batch takes no logs, whichever way they come.
    EQBatch batch;
    batch.BatchID = batchId;
    if (data::FileStatus status = company.file<EQBatch>().fetch(u"KeyBatchID", batch); status) {
        if (const QString refusal =
                UsageLogBatches::secureRefusal(m_session, batch, UsageLogBatches::Use::Change);
            !refusal.isEmpty())
            return notDone<Result>(refusal + u"|Nothing was imported."_s);
        if (const QString refusal = UsageLogBatches::inUseRefusal(m_session, batch);
            !refusal.isEmpty())
            return notDone<Result>(refusal + u"|Nothing was imported."_s);
    } else if (status.error().code != data::FileErrorCode::RecordNotFound) {
        return notDone<Result>(status.error().text() + u" Reading EQBatch|Nothing was imported."_s);
    }
    data::Table &file = company.file<EQLogB>();
    // The log numbers follow the highest one, taken once: no other station
    // can add logs while the transaction holds the file.
    EQLogB first;
    if (data::FileStatus status = file.prime(first); !status)
        return notDone<Result>(status.error().text() +
                               u" Autoincrementing EQLogB|The batch was left as it was."_s);
    qint32 nextLogId = first.LogID;
    const int total = int(m_lines.size());
    int done = 0;
    Decimal amount;
    for (const Line &line : std::as_const(m_lines)) {
        const ImportLine::Fields &f = line.fields;
        const std::optional<EQHeader> &piece = rates.equipment(f.equipmentId);
        if (!piece)
            return notDone<Result>(u"Equipment: "_s + f.equipmentId +
                                   u" was removed before the import.|Line "_s +
                                   QString::number(line.number) +
                                   u" was not imported; the batch "
                                   u"was left as it was."_s);
        EQLogB log;
        log.LogID = nextLogId++;
        log.BatchID = batchId;
        log.EquipmentID = f.equipmentId;
        log.StartMeter = f.startMeter;
        log.EndMeter = f.endMeter;
        log.Units = f.units;
        log.ChargeType = f.chargeType.left(1);
        log.DetailType = f.detailType;
        log.GLAccount = f.account;
        log.JobID = f.jobId;
        log.CostCode = f.costCode;
        log.EquipmentIDCharged = f.equipmentCharged;
        log.Category = f.category;
        log.Comments = Text::cut(f.comment, 20);
        log.Date = f.date;
        log.Location = f.location;
        log.EmployeeID = f.employeeId;
        log.GrossAmount = (log.Units * LogEntryChecks::rateFor(log.ChargeType, *piece)).rounded(2);
        log.AdjustedAmount = log.GrossAmount;
        amount += log.AdjustedAmount;
        if (data::FileStatus status = file.insert(log); !status)
            return notDone<Result>(status.error().text() + u" Inserting EQLogB|Line "_s +
                                   QString::number(line.number) +
                                   u" could not be imported; the batch was left as it was."_s);
        // Named only when it is written: the name reads the equipment.
        if (m_session.logUserActivity == 2)
            data::logUserActivity(m_session, m_clock, UsageLogBatches::ActivityArea.toString(),
                                  u"Added "_s + UsageLogBatches::logEntryText(company, log) +
                                      u", imported"_s);
        ++done;
        if (progress && !progress(done, total))
            return notDone<Result>(u"The import was stopped; the batch was left as it was."_s);
    }
    if (data::FileStatus status = transaction.commit(); !status)
        return notDone<Result>(status.error().text() +
                               u" Inserting EQLogB|The batch was left as it was."_s);
    const int imported = total;
    m_lines.clear();
    m_errors.clear();
    Result result;
    result.done = true;
    result.imported = imported;
    result.amount = amount;
    return result;
}

QString UsageLogImporter::resultText(const Result &result, quint16 batchId)
{
    return u"Imported %1 usage %2 into batch %3, %4."_s.arg(result.imported)
        .arg(result.imported == 1 ? u"log"_s : u"logs"_s)
        .arg(batchId)
        .arg(Picture::parse(u"@n-15.2").format(result.amount).trimmed());
}

QString UsageLogImporter::countText(qsizetype count)
{
    return QString::number(count) + (count == 1 ? u" Record"_s : u" Records"_s);
}

} // namespace qaveq
