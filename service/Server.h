#pragma once

// The HTTP API: routes, headers, limits and errors, over the storage.

#include "Config.h"
#include "Limits.h"
#include "Storage.h"

#include <httplib.h>

#include <functional>
#include <string>

namespace zifferix::service {

// One line on stderr: never a secret, a name, a body or an address.
void logLine(const std::string& line);

// Seconds since 1970 (UTC); tests hand in their own clock.
using Clock = std::function<long long()>;
long long systemSeconds();

class Server {
  public:
    Server(Storage& storage, const Config& config, Clock clock = systemSeconds);
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // The port it listens on (the one asked for or, for 0, any free one); -1 if it cannot.
    int bind(const std::string& host, int port);
    // Answers until stop(); false if it could not.
    bool run();
    void stop();
    bool running() const { return http_.is_running(); }

  private:
    void routes();
    void guard();
    void serveSite(const std::string& dir);

    void openClass(const httplib::Request& req, httplib::Response& res);
    void publicClass(const httplib::Request& req, httplib::Response& res);
    void addResult(const httplib::Request& req, httplib::Response& res);
    void board(const httplib::Request& req, httplib::Response& res);
    void child(const httplib::Request& req, httplib::Response& res);
    void csv(const httplib::Request& req, httplib::Response& res);
    void deleteChild(const httplib::Request& req, httplib::Response& res);
    void deleteClass(const httplib::Request& req, httplib::Response& res);

    // The class if the request holds its teacher's secret; else the answer is set.
    std::optional<ClassHead> teacher(const httplib::Request& req, httplib::Response& res);

    Storage& storage_;
    Config config_;
    Clock clock_;
    Limits limits_;
    httplib::Server http_;
};

} // namespace zifferix::service
