#include "DemoSetup.h"

#include "records/EQHeader.h"

#include "suite/Services.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// Makes a session of the company current for the suite's procedures, and puts
// the one there was back afterwards.
class SessionScope
{
public:
    explicit SessionScope(data::Company &company)
        : m_session(&company)
        , m_previous(data::Session::current())
    {
        m_session.userId = u"ADM"_s;
        m_session.companyId = company.id();
        data::Session::setCurrent(&m_session);
    }
    ~SessionScope() { data::Session::setCurrent(m_previous); }
    SessionScope(const SessionScope &) = delete;
    SessionScope &operator=(const SessionScope &) = delete;

    data::Session &session() { return m_session; }

private:
    data::Session m_session;
    data::Session *m_previous;
};

template <class R> QList<R> readAll(data::Company &company, const QString &key)
{
    QList<R> records;
    data::KeyCursor cursor = company.file<R>().scan(key);
    R record;
    while (cursor.next(record))
        records.append(record);
    if (cursor.error())
        throw data::DataError(cursor.error()->text().toStdString());
    return records;
}

} // namespace

DemoCompany::Summary createDemonstration(data::Company &company, const Clock &clock)
{
    DemoCompany::Summary summary = DemoCompany(company, clock).build();

    QList<GLFiscal> closed;
    for (const GLFiscal &period : readAll<GLFiscal>(company, u"KeyFiscalPeriodUp"_s))
        if (period.Closed != 0)
            closed.append(period);
    const QList<EQHeader> fleet = readAll<EQHeader>(company, u"KeyEquipmentID"_s);
    SessionScope scope(company);
    data::Session &session = scope.session();
    for (qsizetype p = 0; p + 2 < closed.size(); ++p) {
        session.buffer<GLFiscal>() = closed[p];
        for (const EQHeader &equipment : fleet) {
            if (equipment.Active == 0)
                continue;
            session.buffer<EQHeader>() = equipment;
            summary.depreciationPosted += suite::CREATEDEPRECIATIONBATCH();
        }
    }
    return summary;
}

} // namespace qaveq::host
