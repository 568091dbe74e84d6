// Runs a program (the simulator under test) as a child process with its own working directory
// and captures its exit code, standard output and standard error.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testrun {

struct RunResult {
    int exitCode = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Child {
    pid_t pid = -1;
    std::string outPath, errPath;
};

// Starts program with args in directory cwd; extraEnv entries are "NAME=value".
inline Child start(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                   const std::vector<std::string>& extraEnv = {}) {
    Child c;
    char outTmpl[] = "/tmp/celestrix_out_XXXXXX";
    char errTmpl[] = "/tmp/celestrix_err_XXXXXX";
    int outFd = mkstemp(outTmpl);
    int errFd = mkstemp(errTmpl);
    c.outPath = outTmpl;
    c.errPath = errTmpl;
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    // The child's environment: ours, with the test's settings replacing variables of the same name.
    std::vector<std::string> overrides = extraEnv;
    overrides.emplace_back("CELESTRIX_NO_MESSAGE_BOXES=1");
    overrides.emplace_back("SDL_VIDEODRIVER=offscreen");
    // Each run locks its single instance in its own working directory, so tests run in parallel.
    overrides.emplace_back("XDG_RUNTIME_DIR=" + cwd);
    auto nameOf = [](const std::string& e) { return e.substr(0, e.find('=')); };
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        bool replaced = false;
        for (const auto& o : overrides) replaced = replaced || nameOf(o) == nameOf(*e);
        if (!replaced) envStore.emplace_back(*e);
    }
    for (const auto& o : overrides) {
        bool later = false;  // the first override of a name wins
        for (const auto& e : envStore) later = later || nameOf(e) == nameOf(o);
        if (!later) envStore.push_back(o);
    }
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, outFd, 1);
    posix_spawn_file_actions_adddup2(&fa, errFd, 2);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
    if (posix_spawn(&c.pid, program.c_str(), &fa, nullptr, argv.data(), envp.data()) != 0) c.pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    close(outFd);
    close(errFd);
    return c;
}

inline RunResult wait(Child& c) {
    RunResult r;
    int status = 0;
    if (c.pid > 0 && waitpid(c.pid, &status, 0) == c.pid && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    r.out = slurp(c.outPath);
    r.err = slurp(c.errPath);
    std::remove(c.outPath.c_str());
    std::remove(c.errPath.c_str());
    return r;
}

inline RunResult run(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                     const std::vector<std::string>& extraEnv = {}) {
    Child c = start(program, args, cwd, extraEnv);
    return wait(c);
}

}  // namespace testrun
