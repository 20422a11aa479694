#include "support/XvfbServer.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace {

// args[0] from PATH with env added, standard output to nowhere.
pid_t Spawn(std::vector<std::string> args, const std::vector<std::string>& env, int errorsFd)
{
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    dup2(errorsFd, 2);
    dup2(open("/dev/null", O_WRONLY), 1);
    execvp(argv[0], argv.data());
    _exit(127);
}

}  // namespace

XvfbServer StartXvfb(const char* screen, bool sharedMemory)
{
    XvfbServer server;
    int ready[2];
    if (pipe(ready) != 0) return server;
    std::vector<std::string> args = {"Xvfb",       "-displayfd", std::to_string(ready[1]),
                                     "-screen",    "0",          screen,
                                     "-nolisten",  "tcp",        "-noreset",
                                     "-extension", "MIT-SHM"};
    if (sharedMemory) args.resize(args.size() - 2);
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    server.pid = Spawn(args, {}, quiet);
    close(quiet), close(ready[1]);
    for (char c; read(ready[0], &c, 1) == 1 && c != '\n';) server.display += c;
    close(ready[0]);
    if (!server.display.empty()) server.display.insert(0, ":");
    return server;
}

void StopXvfb(XvfbServer& server)
{
    if (server.pid > 0) kill(server.pid, SIGTERM);
    WaitForExit(server.pid);
    server = XvfbServer();
}

pid_t StartHack(std::vector<std::string> args, const std::string& display, int* errors)
{
    int pipeFds[2] = {-1, 2};
    if (errors && pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    args.insert(args.begin(), EMBRIX_HACK_PATH);
    const pid_t pid = Spawn(args, {"DISPLAY=" + display}, pipeFds[1]);
    if (errors) close(pipeFds[1]), *errors = pipeFds[0];
    return pid;
}

int WaitForExit(pid_t pid)
{
    int status = 0, tenths = 0;
    pid_t ended = 0;
    while (pid > 0 && (ended = waitpid(pid, &status, WNOHANG)) == 0) {
        if (++tenths == 200) kill(pid, SIGKILL);  // a guard against hangs, not a pace
        usleep(100000);
    }
    return ended == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
