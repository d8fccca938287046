#include "DefinitionScreens.h"

#include "common/ReadOnlyAccess.h"
#include "common/ui/ScreenRunner.h"
#include "records/EQLimits.h"
#include "reports/DefinitionForms.h"
#include "reports/ReportDefinitions.h"
#include "reports/ReportSelection.h"

#include "suite/Procedures.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace qaveq::DefinitionScreens {

namespace {

const SystemClock systemClock;

QIcon themed(const char *name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QApplication::style()->standardIcon(fallback));
}

std::optional<EQLimits> highlighted(data::Session &session, ListState &state)
{
    if (!state.window || !state.window->loadHighlighted())
        return std::nullopt;
    return session.buffer<EQLimits>();
}

} // namespace

ListWindow::Definition list(ReportFamily family, data::Session &session, Prompter &prompter,
                            const Clock &clock, ListState &state,
                            const ListWindow::ProcedureCaller &call)
{
    const FamilyInfo &info = ReportFamilies::info(family);
    ListWindow::Definition definition{info.listProcedure,
                                      info.listTitle,
                                      u"EQLimits"_s,
                                      {{u"by Report Title"_s, u"KeyReport"_s, u"ReportTitle"_s}},
                                      {{u"Report Title"_s, u"EQLM:ReportTitle"_s, u"@s40"_s, 300},
                                       {u"User ID"_s, u"EQLM:UserID"_s, u"@s10"_s, 80},
                                       {u"Modify Date"_s, u"EQLM:ModifyDate"_s, u"@d1b"_s, 90}},
                                      {info.report},
                                      {info.report}};
    definition.form = info.formProcedure;
    definition.helpTopic = info.helpTopic;
    definition.formButtons = {data::Request::Insert, data::Request::Change, data::Request::Delete};
    if (state.favourite != 0) {
        definition.formButtons = {data::Request::Change};
        definition.filters = {
            {u"EQLM:LimitID"_s, data::Filter::Op::Equal, qint64(state.favourite)}};
    }
    definition.formRunner = [&session, &prompter, &clock](data::Request request,
                                                          const std::function<bool()> &form) {
        ReportDefinitions definitions(session, prompter, clock);
        if (request != data::Request::Delete)
            return form();
        const EQLimits &chosen = session.buffer<EQLimits>();
        if (definitions.refusesDelete(chosen))
            return false;
        const quint32 number = chosen.LimitID;
        if (!form())
            return false;
        if (const data::FileStatus status = definitions.removeDependents(number); !status)
            prompter.ask(
                Message::alert(u"Delete"_s, status.error().text() + u" Deleting LimList"_s));
        return true;
    };

    const auto print = [&session, &prompter, &clock, &state, call] {
        ReportDefinitions(session, prompter, clock).print(highlighted(session, state), call);
        if (state.window)
            state.window->refresh();
    };
    if (!info.favourites.isEmpty() && state.favourite == 0)
        definition.buttons.append(
            {u"Add to Favorite Reports"_s, [&session, &prompter, &clock, &state] {
                 if (const std::optional<EQLimits> chosen = highlighted(session, state))
                     ReportDefinitions(session, prompter, clock).addFavourite(*chosen);
             }});
    definition.buttons.append(
        {u"Duplicate Highlighted Report"_s, [&session, &prompter, &clock, &state] {
             const std::optional<EQLimits> chosen = highlighted(session, state);
             if (!chosen || refuseReadOnly(session, prompter))
                 return;
             if (const std::optional<quint32> copy =
                     ReportDefinitions(session, prompter, clock).duplicate(chosen->LimitID);
                 copy && state.window) {
                 state.window->refresh();
                 state.window->find(u"Copy of "_s + Text::clip(chosen->ReportTitle));
             }
         }});
    definition.buttons.append({u"&Print"_s, print});
    if (info.view)
        definition.buttons.append({u"&View"_s, [&session, &prompter, &clock, &state, call] {
                                       ReportDefinitions(session, prompter, clock)
                                           .view(highlighted(session, state), call);
                                   }});

    definition.buttonExtras.insert(u"Duplicate Highlighted Report"_s,
                                   {u"Duplicate Highlighted Report"_s, {}});
    definition.buttonExtras.insert(u"Add to Favorite Reports"_s,
                                   {u"Add the highlighted report to your Favorite Reports"_s, {}});
    definition.buttonExtras.insert(
        u"&Print"_s,
        {u"Print the highlighted report (right click: preview or print directly)"_s,
         [&session, print, &state](const QPoint &at) {
             QMenu menu(state.window);
             QAction *preview =
                 menu.addAction(themed("document-print-preview", QStyle::SP_FileDialogContentsView),
                                u"&Preview the Report to Screen"_s);
             QAction *direct = menu.addAction(themed("document-print", QStyle::SP_DriveFDIcon),
                                              u"Print Report Directly to Default Printer"_s);
             menu.addAction(themed("dialog-cancel", QStyle::SP_DialogCancelButton), u"Cancel"_s);
             const QAction *chosen = menu.exec(at);
             if (chosen == direct)
                 session.printPreview = false;
             if (chosen == preview || chosen == direct)
                 print();
         }});
    if (info.view)
        definition.buttonExtras.insert(
            u"&View"_s,
            {u"Show the highlighted report on the screen instead of printing it"_s, {}});
    return definition;
}

// The form, with the lookups and list editors its buttons open.
void runForm(ReportFamily family, data::Session &session, data::ErrorManager &errors,
             const ListWindow::ProcedureCaller &call)
{
    ScreenRunner::runForm(DefinitionForms::definition(family, call), session, errors);
}

void browse(ReportFamily family, data::ErrorManager &errors,
            const ListWindow::ProcedureCaller &call)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    Prompter &prompter = *errors.prompter();
    ListState state;
    // Opened from a favourite: the host named the definition.
    state.favourite = session->reportLimit;
    session->reportLimit = 0;
    const FamilyInfo &info = ReportFamilies::info(family);
    const ListWindow::ProcedureCaller caller = [family, session, &errors, call,
                                                &info](const QString &procedure) {
        if (procedure == info.formProcedure)
            runForm(family, *session, errors, call);
        else if (call)
            call(procedure);
    };
    ListWindow window(list(family, *session, prompter, systemClock, state, caller), *session,
                      prompter, caller, QApplication::activeWindow());
    state.window = &window;
    window.run();
    state.window = nullptr;
}

void update(ReportFamily family, data::ErrorManager &errors,
            const ListWindow::ProcedureCaller &call)
{
    if (data::Session *session = ScreenRunner::session(errors))
        runForm(family, *session, errors, call);
}

void addLookups(forms::LookupPicker &picker, data::Session &, data::ErrorManager &,
                const ScreenRunner::Caller &)
{
    for (const QString &kind : {ListKind::Equipment, ListKind::Category, ListKind::Job})
        picker.add(DefinitionForms::listEditor(kind),
                   [kind](const QString &limit) -> std::optional<QString> {
                       suite::UPDATELIMLIST(limit.toUInt(), kind);
                       return std::nullopt;
                   });
    picker.add(DefinitionForms::UserDefinedEditor,
               [](const QString &limit) -> std::optional<QString> {
                   suite::BROWSELIMLISTUD(limit.toUInt());
                   return std::nullopt;
               });
}

} // namespace qaveq::DefinitionScreens
