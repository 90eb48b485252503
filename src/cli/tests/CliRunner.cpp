#include "CliRunner.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& locale)
{
    const char* other = std::getenv("ZENTRIVO_TEST_CLI");
    return RunProgram(other && *other ? other : ZENTRIVO_CLI, args, locale);
}

std::string ReferenceDir()
{
    const char* other = std::getenv("ZENTRIVO_TEST_REFERENCE");
    return other && *other ? other : ZENTRIVO_REFERENCE_DIR;
}

CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& locale)
{
    // Output goes to files rather than pipes, so a large output never blocks the child.
    std::string dir = (std::filesystem::temp_directory_path() / "zentrivo-cli-run-XXXXXX").string();
    if (!mkdtemp(dir.data()))
        throw std::runtime_error("mkdtemp failed");
    const std::string outPath = dir + "/out", errPath = dir + "/err";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // The environment less its locale, then the locale asked for.
    std::vector<std::string> vars;
    for (char** p = environ; *p; ++p) {
        const std::string var = *p;
        if (var.rfind("LC_", 0) != 0 && var.rfind("LANG=", 0) != 0)
            vars.push_back(var);
    }
    vars.push_back("LC_ALL=" + locale);
    std::vector<char*> envp;
    for (std::string& v : vars)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + program);
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }

    CliResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    std::filesystem::remove_all(dir);
    return result;
}

CliResult RunCliIn(const std::string& home, const std::vector<std::string>& args,
                   const std::string& locale)
{
    std::vector<std::string> all{"--home", home};
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all, locale);
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
