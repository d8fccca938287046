#pragma once

namespace qaveq {

class Prompter;

namespace data {
class Session;
}

// A user who may only look at equipment gets "Insufficient Access" on every
// changing action; returns true when the action is refused.
bool refuseReadOnly(const data::Session &session, Prompter &prompter);
// The same for a user who may only look at usage logs.
bool refuseUsageLogsReadOnly(const data::Session &session, Prompter &prompter);

} // namespace qaveq
