#pragma once

#include <QStringList>

namespace qaveq::NetworkTrace {

enum class Phase { Load, Unload };

// The network library's trace lines that the command line asks for: none
// unless one of /nettalklog, /nettalklogerrors, /neterrors or /netall is given
// (also as --netall and so on), and none whenever /netnolog is.
QStringList lines(const QStringList &arguments, Phase phase);

} // namespace qaveq::NetworkTrace
