// qinglan-service: the school's web service on five loopback hosts, for the client and its tests.

#include "ServiceApp.h"
#include "platform/FileUtil.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <pthread.h>

int main(int argc, char** argv) {
    std::string error;
    auto options = qlsvc::ServiceOptions::parse(argc, argv, &error);
    if (!options) {
        std::cerr << "qinglan-service: " << error << "\n" << qlsvc::ServiceOptions::usage();
        return 2;
    }
    if (options->help) {
        std::cout << qlsvc::ServiceOptions::usage();
        return 0;
    }

    // Block the stop signals before any thread starts, then wait for them on this thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    qlsvc::ServiceApp app(*options);
    if (!app.start(&error)) {
        std::cerr << "qinglan-service: " << error << "\n";
        return 1;
    }
    if (!options->writeConfig.empty() &&
        !ql::writeFileAtomically(options->writeConfig, app.clientConfig().toJson().dump(2) + "\n")) {
        std::cerr << "qinglan-service: cannot write " << options->writeConfig << "\n";
        app.stop();
        return 1;
    }
    std::cout << "ready" << std::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    app.stop();
    return 0;
}
