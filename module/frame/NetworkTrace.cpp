#include "NetworkTrace.h"

using namespace Qt::StringLiterals;

namespace qaveq::NetworkTrace {

namespace {

bool hasSwitch(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments)
        if (argument.compare(u'/' + name, Qt::CaseInsensitive) == 0 ||
            argument.compare(u"--"_s + name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

QStringList lines(const QStringList &arguments, Phase phase)
{
    if (hasSwitch(arguments, u"netnolog"_s))
        return {};
    bool logging = false;
    for (const QString &name :
         {u"nettalklog"_s, u"nettalklogerrors"_s, u"neterrors"_s, u"netall"_s})
        logging = logging || hasSwitch(arguments, name);
    if (!logging)
        return {};
    const QStringList opening{u"[Nettalk Template] NetTalk Template version 12.63"_s,
                              u"[Nettalk Template] Tool chain version 10000"_s};
    if (phase == Phase::Load)
        return opening + QStringList{u"[Nettalk Template] NetTalk Object version 12.63"_s,
                                     u"[Nettalk Template] ABC Template Chain"_s};
    return opening +
           QStringList{u"[Nettalk Template] Closing Down NetTalk (Object) version 12.63"_s};
}

} // namespace qaveq::NetworkTrace
