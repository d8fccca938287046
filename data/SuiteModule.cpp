#include "SuiteModule.h"

using namespace Qt::StringLiterals;

namespace qaveq::data {

void SuiteModule::init(ErrorManager *errors, IniManager *ini)
{
    m_errors = errors;
    m_ini = ini;
    if (m_journal)
        m_journal->append(m_name + u":INIT"_s);
}

void SuiteModule::kill()
{
    if (m_journal)
        m_journal->append(m_name + u":KILL"_s);
}

SuiteModule &SuiteModule::dataModule()
{
    static SuiteModule module(u"QAVDATA"_s);
    return module;
}

} // namespace qaveq::data
