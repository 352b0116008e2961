#include "TestSupport.h"

#include "platform/FileUtil.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qltest {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("qinglan-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

namespace {
char** toArgv(const std::vector<std::string>& argv, std::vector<char*>& storage) {
    storage.clear();
    for (const auto& a : argv) storage.push_back(const_cast<char*>(a.c_str()));
    storage.push_back(nullptr);
    return storage.data();
}
}  // namespace

ServiceProcess::ServiceProcess(std::vector<std::string> extraArgs) {
    configFile_ = dir_.path() / "client.json";
    std::vector<std::string> argv = {QINGLAN_SERVICE_BIN, "--free-ports", "--write-config", configFile_.string(),
                                     "--data-dir", (dir_.path() / "service").string()};
    argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<char*> storage;
    char** args = toArgv(argv, storage);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], 1);
        ::execv(args[0], args);
        ::_exit(127);
    }
    ::close(out[1]);
    std::string seen;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (seen.find("ready\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 200) > 0) {
            char buf[256];
            ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0) break;
            seen.append(buf, static_cast<size_t>(n));
        }
    }
    ::close(out[0]);
    if (seen.find("ready\n") == std::string::npos) return;
    std::string error;
    auto config = ql::AppConfig::load(configFile_.string(), &error);
    if (!config) return;
    config_ = *config;
    config_.dataDir = (dir_.path() / "client").string();
    ok_ = true;
}

void ServiceProcess::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        int status;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

ServiceProcess::~ServiceProcess() { stop(); }

RunResult runProgram(const std::vector<std::string>& argv, const std::string& input) {
    RunResult result;
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC)) return result;
    std::vector<char*> storage;
    char** args = toArgv(argv, storage);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::execv(args[0], args);
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    std::thread writer([&] {
        size_t off = 0;
        while (off < input.size()) {
            ssize_t n = ::write(in[1], input.data() + off, input.size() - off);
            if (n <= 0) break;
            off += static_cast<size_t>(n);
        }
        ::close(in[1]);
    });
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP))) {
                char buf[4096];
                ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
                if (n <= 0) {
                    ::close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                } else {
                    (i == 0 ? result.out : result.err).append(buf, static_cast<size_t>(n));
                }
            }
        }
    }
    writer.join();
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace qltest
