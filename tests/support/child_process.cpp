#include "tests/support/child_process.h"

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

ChildRun RunInChild(const std::function<int()>& body) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return {-1, "no pipe"};
    }
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        const int result = body();
        std::fflush(stdout);
        _exit(result);
    }
    close(pipeEnds[1]);
    std::string output;
    char chunk[256];
    for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
        output.append(chunk, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}
