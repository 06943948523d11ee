// zifferix-klassen: the class service. Settings from the command line and the config file, the
// database opened and migrated, expired classes purged at start and every hour, then HTTP until
// SIGTERM or SIGINT.

#include "Config.h"
#include "Server.h"
#include "Storage.h"

#include <QCoreApplication>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <thread>

using namespace zifferix::service;

namespace {

// Deletes expired classes every hour until stopped.
class Expiry {
  public:
    explicit Expiry(Storage& storage) : storage_(storage) {}

    void run() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::hours(1), [&] { return stopping_; })) {
            lock.unlock();
            purge(storage_);
            lock.lock();
        }
    }
    void stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
    }

    static void purge(Storage& storage) {
        try {
            if (const int purged = storage.purge(systemSeconds()); purged > 0) {
                logLine("purged " + std::to_string(purged) + " expired classes");
            }
        } catch (const std::exception& error) {
            logLine(std::string("error: purge: ") + error.what());
        }
    }

  private:
    Storage& storage_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::cout << usage();
        return 0;
    }
    std::string error;
    const auto config = configure(arguments, processEnvironment(), error);
    if (!config) {
        std::cerr << "zifferix-klassen: " << error << "\n" << usage();
        return 2;
    }
    const auto target = targetFor(config->database, config->stateDir, error);
    if (!target) {
        std::cerr << "zifferix-klassen: " << error << "\n";
        return 2;
    }
    // The signals are waited for by one thread; every other thread starts with them blocked.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // The database holds children's names: the service's user alone reads its files.
    umask(077);
    // A client that hangs up mid-answer is no reason to stop.
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    try {
        Storage storage(*target);
        logLine(std::string("started on ") +
                (storage.database().isSqlite() ? "SQLite" : "PostgreSQL") + ", schema version " +
                std::to_string(Database::kSchemaVersion) + ", max_days " +
                std::to_string(config->maxDays));
        Expiry::purge(storage);
        Server server(storage, *config);
        const int port = server.bind(config->host, config->port);
        if (port < 0) {
            logLine("error: cannot listen on " + config->host + ":" + std::to_string(config->port));
            return 1;
        }
        const bool v6 = config->host.find(':') != std::string::npos;
        std::cout << "listening on http://" << (v6 ? "[" + config->host + "]" : config->host) << ":"
                  << port << "/" << std::endl;
        Expiry expiry(storage);
        std::thread hourly([&] { expiry.run(); });
        std::thread waiter([&] {
            int received = 0;
            sigwait(&signals, &received);
            server.stop();
        });
        const bool ran = server.run();
        expiry.stop();
        hourly.join();
        if (waiter.joinable()) {
            // A server that ended on its own still leaves the waiter waiting: wake it.
            pthread_kill(waiter.native_handle(), SIGTERM);
            waiter.join();
        }
        logLine("stopped");
        return ran ? 0 : 1;
    } catch (const std::exception& failure) {
        logLine(std::string("error: ") + failure.what());
        return 1;
    }
}
