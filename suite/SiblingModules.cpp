#include "SiblingModules.h"

#include "data/SuiteModule.h"

using namespace Qt::StringLiterals;

namespace qaveq::suite {

data::SuiteModule &qavmisc()
{
    static data::SuiteModule module(u"QAVMISC"_s);
    return module;
}

data::SuiteModule &qavgl()
{
    static data::SuiteModule module(u"QAVGL"_s);
    return module;
}

data::SuiteModule &qavjc()
{
    static data::SuiteModule module(u"QAVJC"_s);
    return module;
}

data::SuiteModule &qavpr()
{
    static data::SuiteModule module(u"QAVPR"_s);
    return module;
}

} // namespace qaveq::suite
