#pragma once

namespace qaveq {

// SIGTERM and SIGINT as a request to stop. A long run (a report) ends at its
// next step as if cancelled, and the program ends as usual, so that what it
// leaves behind is cleaned up: the report's temporary folder of page images,
// the signed-on user's record. A second signal ends the program at once.
namespace StopRequest {

// Installs the handlers. Only a program that checks requested() in its long
// runs, or watches descriptor(), installs them.
void install();
bool requested();
// The signal that asked (for the exit status 128 + signal); 0 when none.
int signalNumber();
// A descriptor that becomes readable once a stop is requested, for an event
// loop to watch; -1 before install().
int descriptor();

} // namespace StopRequest

} // namespace qaveq
