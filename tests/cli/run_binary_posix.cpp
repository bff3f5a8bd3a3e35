#include "run_binary.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ravlet::test {

CliOutcome RunBinary(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                     Stdout stdoutTo) {
    const TempDir capture;
    const std::string outPath = (capture.path() / "out").string();
    const std::string errPath = (capture.path() / "err").string();
    std::vector<char*> argv{const_cast<char*>(RAVLET_CLI_PATH)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int out = stdoutTo == Stdout::DevFull
                            ? open("/dev/full", O_WRONLY)
                            : open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0)
            _exit(126);
        close(out);
        close(err);
        if (stdoutTo == Stdout::Closed) close(1);
        alarm(10);  // survives the exec
        execv(RAVLET_CLI_PATH, argv.data());
        _exit(127);
    }
    int wstatus = 0;
    if (pid < 0 || waitpid(pid, &wstatus, 0) != pid || !WIFEXITED(wstatus)) return {-1, "", ""};
    return {WEXITSTATUS(wstatus), capture.Read("out"), capture.Read("err")};
}

}  // namespace ravlet::test
