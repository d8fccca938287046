#include "SiblingModules.h"

#include "data/SuiteModule.h"

namespace qaveq::suite {

data::SuiteModule &qavmisc()
{
    static data::SuiteModule module(QStringLiteral("QAVMISC"));
    return module;
}

data::SuiteModule &qavgl()
{
    static data::SuiteModule module(QStringLiteral("QAVGL"));
    return module;
}

data::SuiteModule &qavjc()
{
    static data::SuiteModule module(QStringLiteral("QAVJC"));
    return module;
}

data::SuiteModule &qavpr()
{
    static data::SuiteModule module(QStringLiteral("QAVPR"));
    return module;
}

} // namespace qaveq::suite
