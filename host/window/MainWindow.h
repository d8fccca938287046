#pragma once

#include "ModuleLoader.h"

#include <QMainWindow>

class QLabel;
class QMenu;

namespace qaveq {
struct AttentionItem;
}

namespace qaveq::host {

class AttentionPage;
class HostSession;

// The suite's main window for the equipment module: menus grouped as an
// equipment manager works (Equipment, Usage Logs, Reports, Fixed Assets,
// Setup), each entry calling one of the module's exported procedures.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(HostSession &session, QWidget *parent = nullptr);

    // The procedure each menu entry calls, for tests and the status bar.
    static QString procedureOf(const QAction *action);

private:
    void buildMenus();
    // "Favorite Reports": the signed-on user's favourites, each opening its
    // family's list on that definition alone.
    void addFavourites(QMenu *reports);
    // The module's export of that name; null when the module has none.
    const ModuleLoader::Procedure *exportOf(const QString &procedure) const;
    void run(const QString &procedure, int request);
    // Asks for the equipment an output is for and puts it in the buffer.
    // For a report-writer procedure: whether to run the report shipped for
    // it or a file of the user's, or to design one; false when cancelled.
    bool chooseReportFile(const QString &procedure);
    bool chooseEquipment(const QString &caption);
    // The user's mail server and the message reports are e-mailed with.
    void editMailSettings();
    void showAbout();
    // Opens the screen where a line of the first screen is dealt with.
    void openAttention(const AttentionItem &item);

    HostSession &m_session;
    AttentionPage *m_page = nullptr;
    QLabel *m_result = nullptr; // what the last task did
};

} // namespace qaveq::host
