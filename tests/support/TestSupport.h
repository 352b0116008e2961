#pragma once
// Shared test fixtures: a scratch folder, and a qinglan-service process on free loopback ports.

#include "platform/AppConfig.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qltest {

// A fresh folder under the system temp dir, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Starts qinglan-service --free-ports --write-config in its own scratch folder and waits for its
// "ready" line. Stops it (SIGTERM, then SIGKILL) on destruction.
class ServiceProcess {
public:
    explicit ServiceProcess(std::vector<std::string> extraArgs = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    bool ok() const { return ok_; }
    // The client configuration the service wrote, with dataDir pointing at a fresh folder.
    const ql::AppConfig& config() const { return config_; }
    const std::filesystem::path& configFile() const { return configFile_; }
    void stop();

private:
    TempDir dir_;
    pid_t pid_ = -1;
    bool ok_ = false;
    ql::AppConfig config_;
    std::filesystem::path configFile_;
};

// Runs a program to completion; returns its exit status (or -1) and its standard output.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};
RunResult runProgram(const std::vector<std::string>& argv, const std::string& input = {});

}  // namespace qltest
