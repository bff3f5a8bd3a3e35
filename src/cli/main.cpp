// ravlet-cli: the version base queries and the settings file edits of Ravlet from a shell.
#include <csignal>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

#include "cli/run.hpp"
#include "textengine/pending_temp.hpp"

namespace {

// A save's named temporary file must not outlive a run ended by Ctrl-C or kill; the
// signal then ends the process as it would have.
extern "C" void RemoveTempAndDie(int sig) {
    ravlet::RemovePendingTempFile();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void RemoveTempOnTerminationSignals() {
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction current {};
        // A signal ignored by the caller (nohup) stays ignored.
        if (::sigaction(sig, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = RemoveTempAndDie;
        sigemptyset(&action.sa_mask);
        ::sigaction(sig, &action, nullptr);
    }
}

// A closed standard descriptor would be the number the next open() returns, and the
// output would land in the settings file. A read-only /dev/null in its place makes
// every write to it fail, which the output check then reports.
void OccupyClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1) continue;
        const int placeholder = ::open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    OccupyClosedStandardDescriptors();
    // A closed pipe and a file size limit become write errors with a status, not a
    // silent death.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    RemoveTempOnTerminationSignals();
    return ravlet::cli::RunCli(argc, argv, std::cout, std::cerr,
                               ravlet::cli::TerminalOfEnvironment());
}
