#include "EquipmentScreens.h"

#include "SearchWindow.h"
#include "common/ui/ScreenRunner.h"

#include "equipment/EquipmentDeleter.h"
#include "records/EQHeader.h"

#include "suite/Lookups.h"
#include "suite/Services.h"

#include "runtime/widgets/Icons.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Prompter.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentScreens {

namespace {

const SystemClock systemClock;

// The check boxes, which re-apply the list's conditions at once.
QList<ListWindow::Definition::Check> checks(ListState &state, const QString &prefix)
{
    const auto apply = [&state, prefix] {
        if (state.window)
            state.window->setFilters(state.filter.filters(prefix));
    };
    return {{u"Show Active Equipment"_s, state.filter.showActive,
             [&state, apply](bool on) {
                 state.filter.showActive = on;
                 apply();
             }},
            {u"Show Inactive Equipment"_s, state.filter.showInactive, [&state, apply](bool on) {
                 state.filter.showInactive = on;
                 apply();
             }}};
}

// Opens a list over the current session with the workstation's check
// boxes, and keeps them when it closes.
void openList(data::ErrorManager &errors, const ListWindow::ProcedureCaller &caller,
              const std::function<ListWindow::Definition(data::Session &, Prompter &, ListState &)>
                  &definition)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    Prompter &prompter = *errors.prompter();
    ListState state{EquipmentFilter::load(session->suiteIniFolder()),
                    std::make_unique<EquipmentAccess>(*session, prompter)};
    ListWindow window(definition(*session, prompter, state), *session, prompter, caller,
                      QApplication::activeWindow());
    state.window = &window;
    window.run();
    state.window = nullptr;
    state.filter.save(session->suiteIniFolder());
}

} // namespace

// Add, change and delete from either equipment list alike: the same access
// checks, and a delete that takes the equipment's dependents with it or
// refuses. `listed` is the list's file, whose buffer holds the highlighted row.
std::function<bool(data::Request, const std::function<bool()> &)>
formRunner(data::Session &session, Prompter &prompter, ListState &state,
           const data::FileSchema &listed)
{
    return [&session, &prompter, &state, &listed](data::Request request,
                                                  const std::function<bool()> &form) {
        using A = EquipmentAccess::Action;
        switch (request) {
        case data::Request::Insert: {
            if (state.access->refuses(A::Add))
                return false;
            EquipmentDeleter(session, prompter, systemClock).cleanAbandoned();
            return form();
        }
        case data::Request::Change:
            return !state.access->refuses(A::Change) && form();
        case data::Request::Delete: {
            if (state.access->refuses(A::Delete))
                return false;
            const QString id = std::get<QString>(session.buffer(listed).value(u"EquipmentID"));
            return EquipmentDeleter(session, prompter, systemClock).remove(id, true, form) ==
                   EquipmentDeleter::Outcome::Deleted;
        }
        default:
            return form();
        }
    };
}

ListWindow::Definition list(data::Session &session, Prompter &prompter, ListState &state)
{
    ListWindow::Definition definition{
        u"BrowseEQHeader"_s,
        u"Equipment File Maintenance"_s,
        u"EQHeader"_s,
        {{u"by Equipment ID"_s, u"KeyEquipmentID"_s, u"EquipmentID"_s}},
        {{{},
          u"EQH:Attachments"_s,
          u"@n1"_s,
          24,
          {},
          [](const data::Record &piece) {
              return std::get<qint64>(piece.value(u"Attachments")) == 1
                         ? Icons::icon(u"~attach.ico")
                         : QIcon();
          }},
         {u"Equipment ID"_s, u"EQH:EquipmentID"_s, u"@s10"_s, 100},
         {u"Description"_s, u"EQH:Description"_s, u"@s40"_s, 260},
         {u"Physical Description"_s, u"EQH:PhysicalDescription"_s, u"@s100"_s, 300},
         {u"Class Code"_s, u"EQH:ClassCode"_s, u"@s30"_s, 120}}};
    definition.form = u"UPDATEEQHEADER"_s;
    definition.exportFolder = u"Korvalis/Equipment List"_s;
    definition.helpTopic = u"html/EC_Equipment.htm"_s;
    definition.filters = state.filter.filters();
    definition.checks = checks(state, u"EQH"_s);

    definition.formRunner = formRunner(session, prompter, state, EQHeader::fileSchema());

    definition.buttons = {
        {u"Sea&rch..."_s,
         [&session, &state] {
             const std::optional<QString> chosen = SearchWindow::choose(
                 Search::Mode::Equipment,
                 Search::candidates(*session.company, Search::Mode::Equipment), state.window);
             if (chosen && state.window)
                 state.window->find(*chosen);
         }},
        {u"Reset column widths"_s,
         [&state] {
             if (state.window)
                 state.window->resetLayout();
         }},
        {u"Create Depreciation Transaction Batch"_s,
         [&state] {
             if (state.access->refuses(EquipmentAccess::Action::DepreciationBatch))
                 return;
             suite::CREATEDEPRECIATIONBATCH();
             if (state.window)
                 state.window->refresh();
         }},
    };
    if (suite::trainingInstalled(u"EQEnt"_s))
        definition.buttons.append({u"&Training Video"_s, [] { suite::PLAYTRAINING(u"EQEnt"_s); }});
    return definition;
}

ListWindow::Definition aliasList(data::Session &session, Prompter &prompter, ListState &state)
{
    ListWindow::Definition definition{
        u"BrowseEQHeaderAlias"_s,
        u"Equipment File Maintenance"_s,
        u"EQHeaderAlias"_s,
        {{u"by Equipment ID"_s, u"KeyEquipmentID"_s, u"EquipmentID"_s}},
        {{u"Equipment ID"_s, u"EQH1:EquipmentID"_s, u"@s10"_s, 100},
         {u"Description"_s, u"EQH1:Description"_s, u"@s40"_s, 300}}};
    definition.form = u"UPDATEEQHEADER"_s;
    definition.exportFolder = u"Korvalis/Equipment List"_s;
    definition.helpTopic = u"html/EC_Equipment.htm"_s;
    definition.filters = state.filter.filters(u"EQH1"_s);
    definition.checks = checks(state, u"EQH1"_s);
    definition.formRunner = formRunner(session, prompter, state, EQHeaderAlias::fileSchema());
    return definition;
}

void browse(data::ErrorManager &errors, const ListWindow::ProcedureCaller &caller)
{
    openList(errors, caller, [](data::Session &session, Prompter &prompter, ListState &state) {
        return list(session, prompter, state);
    });
}

void browseAlias(data::ErrorManager &errors, const ListWindow::ProcedureCaller &caller)
{
    openList(errors, caller, [](data::Session &session, Prompter &prompter, ListState &state) {
        return aliasList(session, prompter, state);
    });
}

} // namespace qaveq::EquipmentScreens
