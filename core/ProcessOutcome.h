#pragma once

#include <QString>

#include <utility>

namespace qaveq {

// What a batch process (a calculation, an import, an export, an apply-to-all,
// a load) tells the window or command that ran it: whether everything it was
// asked to do was done and written, and when not, why. Each process's result
// extends it with its own counts. A run that is not done wrote nothing.
struct ProcessOutcome
{
    bool done = false;
    // The files were held by another station past the time-out.
    bool busy = false;
    // Why it was not done, for the user ("|" line breaks); empty where the
    // process has already said so through the prompter.
    QString problem = {};
};

// A result of the process's own kind that says it was not done, and why.
template <class Outcome> Outcome notDone(QString problem)
{
    Outcome outcome;
    outcome.problem = std::move(problem);
    return outcome;
}

} // namespace qaveq
