#pragma once

#include <QString>

namespace qaveq::host {

// Where the user's company lives when no folder is named: "company" in
// QAVEQ's own folder of the user's data folder ($XDG_DATA_HOME, by default
// ~/.local/share). Earlier versions made it straight in the data folder; a
// company found there is moved into QAVEQ's folder once.
class CompanyHome
{
public:
    static QString defaultFolder();
    static QString formerFolder();

    // The company folder to open. Only the default folder is looked after:
    // when it holds no company and the former place holds one, that company
    // is moved in. `message` says what was done (empty when nothing was);
    // when the move fails the former folder is used, so that no new company
    // hides the user's data.
    static QString adoptFormer(const QString &folder, QString *message);
};

} // namespace qaveq::host
