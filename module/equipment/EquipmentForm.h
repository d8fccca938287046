#pragma once

#include "runtime/forms/FormDefinition.h"

#include <functional>

namespace qaveq {

struct EQHeader;

namespace data {
class Session;
}

// UPDATEEQHEADER: the equipment record with its seven tabs, declared for the
// form model. What needs a window (the graph, the printouts, the photograph
// and attachment parts) the screen hands in.
class ReportPass;

namespace EquipmentForm {

struct Actions
{
    // Opens the depreciation graph window of the equipment in the EQHeader buffer.
    std::function<void()> graph = {};
    // Prints the schedule report, the graphs report, or both (schedule first),
    // of the equipment in the EQHeader buffer.
    std::function<void(bool schedule, bool graphs)> print = {};
    // Runs the report of the equipment's tagged notes.
    std::function<void(ReportPass &notes)> printNotes = {};
};

// The form over the session's request and EQHeader buffer. A caller that put
// "GL" into EQUIPFIELD opens it as a fixed asset (the field is cleared).
forms::FormDefinition definition(data::Session &session, Actions actions);

// Names of the form's own values that the screen's parts work with.
inline const QString PhotoFile = QStringLiteral("LOC:PhotoFile");  // the photograph shown
inline const QString PhotoPart = QStringLiteral("LOC:Photograph"); // the picture itself
inline const QString AttachmentsPart = QStringLiteral("LOC:Attachments");

} // namespace EquipmentForm

} // namespace qaveq
