// Calls made in a child process: ones that might block the caller, and ones
// that must run without root for mode bits to bind.
#ifndef OIDSCOPE_TESTS_CHILD_REPORT_H
#define OIDSCOPE_TESTS_CHILD_REPORT_H

#include <functional>
#include <grp.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

enum class ChildAs { caller, nobody };

// Runs body in a forked child that is killed after ten seconds, and returns
// what it reported: "blocked" when it was killed, "cannot drop privileges"
// when it was to run as nobody and could not.
inline std::string childReport(const std::function<std::string()> &body, ChildAs who = ChildAs::caller)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);
        std::string report = "cannot drop privileges";
        if (who == ChildAs::caller || geteuid() != 0 ||
            (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0))
            report = body();
        _exit(write(channel[1], report.data(), report.size()) < 0);
    }
    close(channel[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? "blocked" : report;
}

#endif
