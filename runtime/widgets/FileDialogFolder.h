#pragma once

#include <QString>

namespace qaveq {

// Where the program's file dialogs start: the folder of the last file the
// user chose in this run, else the place the caller offers (the user's
// documents folder), never a hidden folder the user would not find again.
namespace FileDialogFolder {

// `offered` (a file's path or a folder) moved into the last folder used.
QString start(const QString &offered);
void remember(const QString &chosenFile);
// The user's documents folder, or the home folder without one.
QString documents();

} // namespace FileDialogFolder

} // namespace qaveq
