// The office's load: several stations at once on one PostgreSQL company,
// each the built program run command after command as its own user, for a
// bounded time and number of operations: logs entered and imported, batches
// tagged and posted, logs moved into a batch the others post too. Then every
// log is accounted for: none lost, duplicated, orphaned or posted twice, and
// the equipment's and the ledger's totals equal their logs.
//
//   QAVEQ_TEST_PG="host=... dbname=... user=..." usage_log_load [--seconds 60]
//       [--stations 8] [--operations 400] [--program PATH]
//
// Prints the figures of each station and the checks; exits 0 only when every
// check holds.
#include "data/Company.h"
#include "data/Database.h"
#include "data/testing/TestDatabase.h"

#include "core/Decimal.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

struct Options
{
    int seconds = 60;
    int stations = 8;
    int operations = 400; // per station
    QString program = QStringLiteral(QAVEQ_PROGRAM);
};

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

class Company
{
public:
    Company(QString folder, QString program)
        : m_folder(std::move(folder))
        , m_program(std::move(program))
    {}

    Run qaveq(const QString &user, const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        process.start(m_program,
                      QStringList{u"--company"_s, m_folder, u"--user"_s, user} + arguments);
        process.write(input);
        process.closeWriteChannel();
        Run run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            run.err = u"did not finish in 120 s"_s;
            return run;
        }
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    QList<QJsonObject> records(const QString &file) const
    {
        QList<QJsonObject> all;
        const Run dumped = qaveq(u"ADM"_s, {u"dump"_s, file});
        for (const QString &line : dumped.out.split(u'\n', Qt::SkipEmptyParts))
            all.append(QJsonDocument::fromJson(line.toUtf8()).object());
        return all;
    }

private:
    QString m_folder;
    QString m_program;
};

Decimal decimal(const QJsonObject &record, const QString &field)
{
    return Decimal::parse(record.value(field).toString()).value_or(Decimal());
}

// What one station did: its operations and their outcomes, and the logs it
// made (by their comment, which names them uniquely).
struct Station
{
    QString user;
    QString batch;
    int operations = 0;
    int done = 0;
    int refused = 0;
    int failed = 0;
    std::map<QString, int> byKind; // operations of each kind that were done
    QStringList made;              // comments of the logs it entered or imported
    QStringList notMade;           // comments of logs whose command was refused
    QStringList failures;          // unexpected statuses, with what was said
};

void work(const Company &company, Station &station, const QString &shared,
          const QString &importLine, const QString &folder, const Options &options,
          const QElapsedTimer &clock)
{
    int sequence = 0;
    QStringList ownLogs;
    const auto count = [&station](const QString &kind, const Run &run) {
        ++station.operations;
        if (run.status == 0) {
            ++station.done;
            ++station.byKind[kind];
        } else if (run.status == 1) {
            ++station.refused;
        } else {
            ++station.failed;
            station.failures.append(kind + u": "_s + QString::number(run.status) + u' ' + run.err);
        }
        return run.status == 0;
    };
    const auto timeLeft = [&] {
        return clock.elapsed() < options.seconds * 1000LL &&
               station.operations < options.operations;
    };
    for (int cycle = 0; timeLeft(); ++cycle) {
        for (int i = 0; i < 2 && timeLeft(); ++i) {
            const QString comment = u"L%1-%2"_s.arg(station.user).arg(++sequence);
            const Run added =
                company.qaveq(station.user, {u"log"_s, u"add"_s, u"--batch"_s, station.batch,
                                             u"--equipment"_s, u"TRK-101"_s, u"--units"_s, u"1"_s,
                                             u"--account"_s, u"6110"_s, u"--comment"_s, comment});
            if (count(u"log add"_s, added)) {
                station.made.append(comment);
                ownLogs.append(added.out.trimmed());
            } else {
                station.notMade.append(comment);
            }
        }
        if (!timeLeft())
            break;
        // Two lines imported at once, all or none.
        QStringList comments;
        QString text;
        for (int i = 0; i < 2; ++i) {
            comments.append(u"I%1-%2"_s.arg(station.user).arg(++sequence));
            QStringList fields = importLine.split(u',');
            fields[11] = comments.last();
            text += fields.join(u',') + u'\n';
        }
        const QString file = QDir(folder).filePath(station.user + u".csv"_s);
        {
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) != text.toUtf8().size())
                station.failures.append(u"cannot write "_s + file);
        }
        const Run imported =
            company.qaveq(station.user, {u"import"_s, u"--batch"_s, station.batch, u"--source"_s,
                                         u"*Usage Logs Exported from Tessary"_s, file});
        (count(u"import"_s, imported) ? station.made : station.notMade) += comments;

        if (!ownLogs.isEmpty() && timeLeft()) {
            // Into the batch every station posts now and then.
            const Run moved = company.qaveq(
                station.user, {u"logs"_s, u"move"_s, u"--to"_s, shared, ownLogs.takeFirst()});
            count(u"logs move"_s, moved);
        }
        if (timeLeft())
            count(u"post"_s, company.qaveq(station.user, {u"post"_s, u"--batch"_s, station.batch}));
        // A posted log is no longer in the batch: a later move of it is refused.
        ownLogs.clear();
        if (cycle % 3 == 2 && timeLeft())
            count(u"post shared"_s, company.qaveq(station.user, {u"post"_s, u"--batch"_s, shared}));
    }
}

int check(bool holds, const QString &what, QTextStream &out)
{
    out << (holds ? "  ok    " : "  FAIL  ") << what << "\n";
    return holds ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    Options options;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString &name = arguments[i];
        const QString &value = arguments[i + 1];
        if (name == u"--seconds")
            options.seconds = value.toInt();
        else if (name == u"--stations")
            options.stations = value.toInt();
        else if (name == u"--operations")
            options.operations = value.toInt();
        else if (name == u"--program")
            options.program = value;
    }
    if (options.seconds <= 0 || options.stations < 2 || options.stations > 9 ||
        options.operations <= 0 || (arguments.size() % 2) == 0) {
        std::fputs("usage: usage_log_load [--seconds 60] [--stations 2..9] [--operations 400] "
                   "[--program PATH]\n",
                   stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QAVEQ_TEST_PG")) {
        std::fputs("usage_log_load: QAVEQ_TEST_PG must name a PostgreSQL server "
                   "(scripts/start-test-postgres.sh prints one)\n",
                   stderr);
        return 2;
    }

    testing::TestDatabase database("PostgreSQL");
    QTemporaryDir folder;
    const QString companyFolder = folder.filePath(u"co"_s);
    QDir().mkpath(companyFolder);
    data::Company::setPostgresServer(companyFolder, database.settings());
    const Company company(companyFolder, options.program);
    out << "Setting up the demonstration company on PostgreSQL...\n";
    out.flush();
    if (const Run init = company.qaveq(u"ADM"_s, {u"init"_s, u"--demo"_s}); init.status != 0) {
        out << "init failed: " << init.err << "\n";
        return 1;
    }
    QByteArray users;
    std::vector<Station> stations(std::size_t(options.stations));
    for (int i = 0; i < options.stations; ++i) {
        stations[std::size_t(i)].user = u"ST"_s + QString::number(i + 1);
        users += uR"({"UserID":"%1","FirstName":"Station","LastName":"%2"})"_s
                     .arg(stations[std::size_t(i)].user)
                     .arg(i + 1)
                     .toUtf8() +
                 '\n';
    }
    if (const Run loaded = company.qaveq(u"ADM"_s, {u"load"_s, u"UserFile"_s}, users);
        loaded.status != 0) {
        out << "users not loaded: " << loaded.err << "\n";
        return 1;
    }
    const QString shared =
        company.qaveq(u"ADM"_s, {u"batch"_s, u"add"_s, u"--description"_s, u"Shared"_s})
            .out.trimmed();
    for (Station &station : stations)
        station.batch = company
                            .qaveq(station.user, {u"batch"_s, u"add"_s, u"--description"_s,
                                                  u"Station "_s + station.user})
                            .out.trimmed();
    // An import line as export writes one; each station's lines differ by comment.
    const QString sample =
        company.qaveq(u"ADM"_s, {u"batch"_s, u"add"_s, u"--description"_s, u"Sample"_s})
            .out.trimmed();
    company.qaveq(u"ADM"_s, {u"log"_s, u"add"_s, u"--batch"_s, sample, u"--equipment"_s,
                             u"TRK-101"_s, u"--units"_s, u"1"_s, u"--account"_s, u"6110"_s});
    const QString exported = folder.filePath(u"sample.csv"_s);
    company.qaveq(u"ADM"_s, {u"export"_s, u"--batch"_s, sample, exported});
    QFile sampleFile(exported);
    const QString importLine = sampleFile.open(QIODevice::ReadOnly)
                                   ? QString::fromUtf8(sampleFile.readLine()).trimmed()
                                   : QString();
    if (importLine.split(u',').size() < 15 || shared.isEmpty()) {
        out << "setting up the batches failed\n";
        return 1;
    }

    std::map<QString, std::pair<Decimal, Decimal>> before; // income, units per equipment
    for (const QJsonObject &piece : company.records(u"EQHeader"_s))
        before[piece.value(u"EquipmentID"_s).toString()] = {
            decimal(piece, u"CumulativeInternalIncome"_s),
            decimal(piece, u"CumulativeInternalUnits"_s)};
    const qsizetype ledgerBefore = company.records(u"GLTrans"_s).size();

    out << "Running " << options.stations << " stations for up to " << options.seconds << " s or "
        << options.operations << " operations each...\n";
    out.flush();
    QElapsedTimer clock;
    clock.start();
    std::vector<std::thread> threads;
    for (Station &station : stations)
        threads.emplace_back([&, s = &station] {
            work(company, *s, shared, importLine, folder.path(), options, clock);
        });
    for (std::thread &thread : threads)
        thread.join();
    const double elapsed = double(clock.elapsed()) / 1000.0;

    // One last post of everything that is left (the shared batch and what the
    // stations entered after their last post), so that the totals cover all.
    QStringList lastPost{u"post"_s, u"--batch"_s, shared};
    for (const Station &station : stations)
        lastPost << u"--batch"_s << station.batch;
    company.qaveq(u"ADM"_s, lastPost);

    out << "\nStation  Batch  Operations  Done  Refused  Failed  log add  import  move  post  "
           "post shared\n";
    int operations = 0;
    int refused = 0;
    int failed = 0;
    for (const Station &s : stations) {
        out << s.user.leftJustified(7) << QString::number(s.batch.toInt()).rightJustified(6)
            << QString::number(s.operations).rightJustified(12)
            << QString::number(s.done).rightJustified(6)
            << QString::number(s.refused).rightJustified(9)
            << QString::number(s.failed).rightJustified(8);
        for (const QString &kind :
             {u"log add"_s, u"import"_s, u"logs move"_s, u"post"_s, u"post shared"_s}) {
            const auto found = s.byKind.find(kind);
            out << QString::number(found == s.byKind.end() ? 0 : found->second)
                       .rightJustified(kind == u"post shared" ? 13 : kind.size() + 2);
        }
        out << "\n";
        operations += s.operations;
        refused += s.refused;
        failed += s.failed;
        for (const QString &failure : s.failures)
            out << "    " << failure.simplified() << "\n";
    }
    out << "All: " << operations << " operations in " << elapsed << " s ("
        << double(operations) / elapsed << " a second), " << refused << " refused, " << failed
        << " failed.\n\nChecks:\n";

    const QList<QJsonObject> unposted = company.records(u"EQLogB"_s);
    const QList<QJsonObject> posted = company.records(u"EQLog"_s);
    std::map<QString, int> inBatches;
    std::map<QString, int> postedCount;
    std::set<qint64> batches;
    for (const QJsonObject &batch : company.records(u"EQBatch"_s))
        batches.insert(batch.value(u"BatchID"_s).toInteger());
    int orphans = 0;
    for (const QJsonObject &log : unposted) {
        ++inBatches[log.value(u"Comments"_s).toString()];
        orphans += batches.count(log.value(u"BatchID"_s).toInteger()) == 0 ? 1 : 0;
    }
    std::map<QString, std::pair<Decimal, Decimal>> postedByEquipment;
    for (const QJsonObject &log : posted) {
        const QString comment = log.value(u"Comments"_s).toString();
        ++postedCount[comment];
        if ((comment.startsWith(u'L') || comment.startsWith(u'I')) && comment.contains(u'-')) {
            auto &[income, units] = postedByEquipment[log.value(u"EquipmentID"_s).toString()];
            income += decimal(log, u"AdjustedAmount"_s);
            units += decimal(log, u"Units"_s);
        }
    }
    int made = 0;
    int lost = 0;
    int duplicated = 0;
    int postedTwice = 0;
    int leftUnposted = 0;
    int refusedButWritten = 0;
    for (const Station &s : stations) {
        for (const QString &comment : s.made) {
            ++made;
            const int kept = inBatches[comment] + postedCount[comment];
            lost += kept == 0 ? 1 : 0;
            duplicated += kept > 1 ? 1 : 0;
            postedTwice += postedCount[comment] > 1 ? 1 : 0;
            leftUnposted += inBatches[comment];
        }
        for (const QString &comment : s.notMade)
            refusedButWritten += inBatches[comment] + postedCount[comment] > 0 ? 1 : 0;
    }
    int wrongTotals = 0;
    for (const QJsonObject &piece : company.records(u"EQHeader"_s)) {
        const QString id = piece.value(u"EquipmentID"_s).toString();
        const auto &[income, units] = postedByEquipment[id];
        if (decimal(piece, u"CumulativeInternalIncome"_s) - before[id].first != income ||
            decimal(piece, u"CumulativeInternalUnits"_s) - before[id].second != units) {
            ++wrongTotals;
            out << "    " << id << ": income moved by "
                << (decimal(piece, u"CumulativeInternalIncome"_s) - before[id].first).toString(2)
                << ", its logs hold " << income.toString(2) << "\n";
        }
    }
    Decimal debits;
    Decimal credits;
    const QList<QJsonObject> ledger = company.records(u"GLTrans"_s);
    for (const QJsonObject &line : ledger)
        (line.value(u"CreditDebit"_s).toString() == u"C" ? credits : debits) +=
            decimal(line, u"Amount"_s);
    int signedOn = 0;
    for (const QJsonObject &station : company.records(u"NetUser"_s))
        signedOn += station.value(u"UserID"_s).toString().startsWith(u"ST"_s) ? 1 : 0;
    int held = 0;
    for (const QJsonObject &batch : company.records(u"EQBatch"_s))
        held += batch.value(u"InUseBy"_s).toString().startsWith(u"ST"_s) ? 1 : 0;

    int failures = 0;
    failures += check(made > 0, u"%1 logs made by the stations"_s.arg(made), out);
    failures += check(lost == 0, u"%1 logs lost"_s.arg(lost), out);
    failures += check(duplicated == 0, u"%1 logs duplicated"_s.arg(duplicated), out);
    failures += check(postedTwice == 0, u"%1 logs posted twice"_s.arg(postedTwice), out);
    failures += check(leftUnposted == 0, u"%1 logs left unposted"_s.arg(leftUnposted), out);
    failures += check(refusedButWritten == 0,
                      u"%1 logs written by a refused command"_s.arg(refusedButWritten), out);
    failures += check(orphans == 0, u"%1 logs in a batch that does not exist"_s.arg(orphans), out);
    failures +=
        check(wrongTotals == 0,
              u"%1 equipment whose totals differ from their posted logs"_s.arg(wrongTotals), out);
    failures += check(
        debits == credits,
        u"ledger debits %1 = credits %2 (%3 new lines)"_s.arg(
            debits.toString(2), credits.toString(2), QString::number(ledger.size() - ledgerBefore)),
        out);
    failures += check(signedOn == 0, u"%1 stations still signed on"_s.arg(signedOn), out);
    failures += check(held == 0, u"%1 batches still flagged in use"_s.arg(held), out);
    failures += check(failed == 0, u"%1 commands ended unexpectedly"_s.arg(failed), out);
    out << (failures == 0 ? "All checks hold.\n" : "Some checks failed.\n");
    return failures == 0 ? 0 : 1;
}
