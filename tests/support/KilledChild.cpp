#include "KilledChild.h"

#include "components/StoreError.h"

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace KilledChild {

Outcome run(const std::function<void(const Report&)>& work, int target, unsigned delayMicroseconds,
            const std::function<void()>& whileAlive) {
    Outcome outcome;
    int fds[2];
    if (pipe(fds) != 0)
        return outcome;
    const pid_t pid = fork();
    if (pid < 0)
        return outcome;
    if (pid == 0) {
        close(fds[0]);
        try {
            work([&](int n) { return write(fds[1], &n, sizeof n) == sizeof n; });
        } catch (const StoreError& e) {
            fprintf(stderr, "child: %s\n", qPrintable(e.message()));
        } catch (...) {
        }
        _exit(1);
    }
    close(fds[1]);
    int v = 0;
    while (outcome.last < target && read(fds[0], &v, sizeof v) == sizeof v)
        outcome.last = v;
    if (whileAlive)
        whileAlive();
    usleep(delayMicroseconds); // somewhere in the middle of a write
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    while (read(fds[0], &v, sizeof v) == sizeof v)
        outcome.last = v;
    close(fds[0]);
    outcome.killed = WIFSIGNALED(status);
    return outcome;
}

} // namespace KilledChild
