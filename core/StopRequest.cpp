#include "StopRequest.h"

#include <atomic>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace qaveq::StopRequest {

namespace {

std::atomic<int> stopSignal{0};
int wakePipe[2] = {-1, -1};

// Only async-signal-safe work here: note the signal, wake the event loop.
extern "C" void onStopSignal(int signal)
{
    stopSignal.store(signal);
    if (wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
    }
}

} // namespace

void install()
{
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        wakePipe[0] = wakePipe[1] = -1;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // The handler runs once; a second signal finds the default and ends the
    // program, for a run that does not stop.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool requested()
{
    return stopSignal.load() != 0;
}

int signalNumber()
{
    return stopSignal.load();
}

int descriptor()
{
    return wakePipe[0];
}

} // namespace qaveq::StopRequest
