#include "Server.h"

#include "Csv.h"
#include "OpenApi.h"
#include "Origin.h"
#include "Pool.h"
#include "Replies.h"
#include "Secrets.h"
#include "Validation.h"

#include <array>
#include <chrono>
#include <iostream>
#include <mutex>
#include <regex>

namespace zifferix::service {
namespace {

constexpr std::size_t kMaxBody = 64 * 1024;
// cpp-httplib gives each open connection a thread until it closes or idles out: enough threads
// for a school's tablets and the boards polling, and a short idle time, so a closed tablet does
// not hold one for long. Behind the school's proxy the connections are the proxy's few.
constexpr std::size_t kWorkers = 128;
constexpr std::size_t kQueued = 1024;
constexpr time_t kIdleSeconds = 2;
constexpr const char* kJson = "application/json; charset=utf-8";
constexpr const char* kClassPath = R"(/api/klassen/([^/]+))";

constexpr const char* kNoClass = "Diese Klasse gibt es nicht.";
constexpr const char* kTooMany = "Zu viele Anfragen. Bitte kurz warten.";

// For a lehrer.html the service serves itself: only its own site's files, no frames.
constexpr const char* kTeacherPolicy =
    "default-src 'self'; img-src 'self' data:; style-src 'self'; script-src 'self'; "
    "connect-src 'self'; frame-ancestors 'none'; base-uri 'none'; form-action 'self'";

struct StatusText {
    int status;
    const char* fehler;
};
// What an error says when the route itself said nothing.
constexpr std::array<StatusText, 8> kStatusTexts{{
    {400, "Die Anfrage ist fehlerhaft."},
    {403, "Diese Anfrage ist nicht erlaubt."},
    {404, "Diese Adresse gibt es nicht."},
    {405, "Diese Adresse kann das nicht."},
    {413, "Die Anfrage ist zu groß (höchstens 64 KB)."},
    {414, "Die Adresse ist zu lang."},
    {429, kTooMany},
    {500, "Der Dienst hat gerade ein Problem. Bitte später noch einmal versuchen."},
}};

// cpp-httplib's queue of connections on the service's pool: each task serves one connection
// and closes it, so every queued one still runs at shutdown.
class Connections : public httplib::TaskQueue {
  public:
    Connections() : pool_(kWorkers, kQueued) {}
    void enqueue(std::function<void()> task) override { pool_.enqueue(std::move(task)); }
    void shutdown() override { pool_.shutdown(); }

  private:
    Pool pool_;
};

void answer(httplib::Response& res, int status, const std::string& body) {
    res.status = status;
    res.set_content(body, kJson);
}

void refuse(httplib::Response& res, int status, std::string_view fehler) {
    answer(res, status, errorJson(fehler));
}

bool sentAsJson(const httplib::Request& req, httplib::Response& res) {
    const std::string type = req.get_header_value("Content-Type");
    if (type.rfind("application/json", 0) == 0 &&
        (type.size() == 16 || type[16] == ';' || type[16] == ' ')) {
        return true;
    }
    refuse(res, 415, "Bitte als JSON (application/json) senden.");
    return false;
}

std::string address(const httplib::Request& req) {
    return clientAddress(req.remote_addr, req.get_header_value("X-Forwarded-For"));
}

std::string bearer(const httplib::Request& req) {
    const std::string header = req.get_header_value("Authorization");
    constexpr std::string_view kScheme = "Bearer ";
    return header.rfind(kScheme, 0) == 0 ? header.substr(kScheme.size()) : std::string();
}

} // namespace

void logLine(const std::string& line) {
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    std::cerr << "zifferix-klassen: " << line << std::endl;
}

long long systemSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

Server::Server(Storage& storage, const Config& config, Clock clock)
    : storage_(storage), config_(config), clock_(std::move(clock)), limits_(config.rateFactor) {
    http_.new_task_queue = [] { return new Connections(); };
    http_.set_payload_max_length(kMaxBody);
    http_.set_tcp_nodelay(true);
    http_.set_read_timeout(std::chrono::seconds(5));
    http_.set_write_timeout(std::chrono::seconds(5));
    http_.set_keep_alive_timeout(kIdleSeconds);
    http_.set_keep_alive_max_count(1000);
    http_.set_default_headers({{"Cache-Control", "no-store"},
                               {"X-Content-Type-Options", "nosniff"},
                               {"Referrer-Policy", "no-referrer"}});
    guard();
    routes();
    if (!config_.site.empty()) {
        serveSite(config_.site);
    }
}

int Server::bind(const std::string& host, int port) {
    if (port == 0) {
        return http_.bind_to_any_port(host);
    }
    return http_.bind_to_port(host, port) ? port : -1;
}

bool Server::run() {
    return http_.listen_after_bind();
}

void Server::stop() {
    http_.stop();
}

// Before any route: other sites' pages are refused, floods are answered 429, and every error
// is JSON with a German message.
void Server::guard() {
    http_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (req.has_header("Origin") &&
            !sameSite(req.get_header_value("Origin"), req.get_header_value("Host"),
                      req.get_header_value("X-Forwarded-Host"))) {
            refuse(res, 403, "Anfragen von anderen Seiten nimmt der Dienst nicht an.");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (req.path.rfind("/api/", 0) == 0 && !limits_.perAddress.take(address(req))) {
            refuse(res, 429, kTooMany);
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    http_.set_error_handler(
        httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty()) {
                return httplib::Server::HandlerResponse::Unhandled;
            }
            const char* fehler = kStatusTexts[0].fehler;
            for (const StatusText& known : kStatusTexts) {
                fehler = known.status == res.status ? known.fehler : fehler;
            }
            res.set_content(errorJson(fehler), kJson);
            return httplib::Server::HandlerResponse::Handled;
        }));
    http_.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& error) {
                logLine(std::string("error: ") + error.what());
            } catch (...) {
                logLine("error: unknown");
            }
            refuse(res, 500, kStatusTexts.back().fehler);
        });
}

void Server::routes() {
    const auto handler =
        [this](void (Server::*route)(const httplib::Request&, httplib::Response&)) {
            return httplib::Server::Handler(
                [this, route](const httplib::Request& req, httplib::Response& res) {
                    (this->*route)(req, res);
                });
        };
    const std::string klasse = kClassPath;
    http_.Post("/api/klassen", handler(&Server::openClass));
    http_.Get(klasse, handler(&Server::publicClass));
    http_.Post(klasse + "/ergebnisse", handler(&Server::addResult));
    http_.Get(klasse + "/tafel", handler(&Server::board));
    http_.Get(klasse + "/kinder/(.+)", handler(&Server::child));
    http_.Get(klasse + "/export\\.csv", handler(&Server::csv));
    http_.Delete(klasse + "/kinder/(.+)", handler(&Server::deleteChild));
    http_.Delete(klasse, handler(&Server::deleteClass));
    http_.Get("/api/openapi.yaml", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(kOpenApi), "application/yaml; charset=utf-8");
    });
    http_.Get("/api/gesund", [this](const httplib::Request&, httplib::Response& res) {
        answer(res, 200, healthJson(!config_.password.empty(), config_.maxDays));
    });
}

void Server::serveSite(const std::string& dir) {
    http_.set_mount_point("/", dir);
    http_.set_file_extension_and_mimetype_mapping("html", "text/html; charset=utf-8");
    http_.set_file_extension_and_mimetype_mapping("mjs", "text/javascript");
    http_.set_file_extension_and_mimetype_mapping("webmanifest", "application/manifest+json");
    http_.set_file_request_handler([](const httplib::Request& req, httplib::Response& res) {
        // As the school's server sends the site: a file named after its content is kept for
        // good, since a new build names its own anew; the pages, the worker and the manifest
        // are asked for again at every visit.
        static const std::regex named(R"(\.[0-9a-f]{8}\.[a-z0-9]+$)");
        res.headers.erase("Cache-Control");
        res.set_header("Cache-Control", std::regex_search(req.path, named)
                                            ? "public, max-age=31536000, immutable"
                                            : "no-cache");
        if (req.path.ends_with("/lehrer.html")) {
            res.set_header("Content-Security-Policy", kTeacherPolicy);
        }
        res.set_header("X-Frame-Options", "DENY");
    });
}

void Server::openClass(const httplib::Request& req, httplib::Response& res) {
    if (!sentAsJson(req, res)) {
        return;
    }
    std::string fehler;
    const auto body = parseClass(req.body, fehler);
    if (!body) {
        refuse(res, 400, fehler);
        return;
    }
    if (!config_.password.empty() &&
        !sameInConstantTime(sha256Hex(body->password.value_or("")), sha256Hex(config_.password))) {
        limits_.failedSecrets.take(address(req));
        refuse(res, 403, "Das Passwort stimmt nicht.");
        return;
    }
    const int days = body->days.value_or(std::min(90, config_.maxDays));
    if (days > config_.maxDays) {
        refuse(res, 400, "„tage“ darf höchstens " + std::to_string(config_.maxDays) + " sein.");
        return;
    }
    if (!limits_.newClasses.take(address(req))) {
        refuse(res, 429, kTooMany);
        return;
    }
    answer(res, 201, openedJson(storage_.openClass(*body, days, clock_())));
}

void Server::publicClass(const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.matches[1];
    const auto found = isClassId(id) ? storage_.publicClass(id, clock_()) : std::nullopt;
    if (!found) {
        refuse(res, 404, kNoClass);
        return;
    }
    answer(res, 200, publicJson(*found));
}

void Server::addResult(const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.matches[1];
    if (!isClassId(id)) {
        refuse(res, 404, kNoClass);
        return;
    }
    if (!sentAsJson(req, res)) {
        return;
    }
    if (!limits_.resultsPerClass.take(id)) {
        refuse(res, 429, kTooMany);
        return;
    }
    std::string fehler;
    const auto result = parseResult(req.body, fehler);
    if (!result) {
        refuse(res, 400, fehler);
        return;
    }
    constexpr std::array<int, 3> kStatus{201, 200, 404}; // by Added
    const Added added = storage_.addResult(id, *result, clock_());
    const int status = kStatus[static_cast<std::size_t>(added)];
    answer(res, status, added == Added::NoClass ? errorJson(kNoClass) : idJson(result->id));
}

std::optional<ClassHead> Server::teacher(const httplib::Request& req, httplib::Response& res) {
    const std::string who = address(req);
    if (!limits_.failedSecrets.has(who)) {
        refuse(res, 429, kTooMany);
        return std::nullopt;
    }
    const std::string id = req.matches[1];
    const std::string secret = bearer(req);
    auto head = isClassId(id) ? storage_.teacherClass(id, secret, clock_()) : std::nullopt;
    if (!head) {
        limits_.failedSecrets.take(who);
        refuse(res, 404, kNoClass);
    }
    return head;
}

void Server::board(const httplib::Request& req, httplib::Response& res) {
    const auto head = teacher(req, res);
    if (!head) {
        return;
    }
    const std::string tag = "\"" + std::to_string(head->stand) + "\"";
    res.set_header("ETag", tag);
    if (req.get_header_value("If-None-Match") == tag) {
        res.status = 304;
        return;
    }
    answer(res, 200, boardJson(storage_.board(req.matches[1], *head)));
}

void Server::child(const httplib::Request& req, httplib::Response& res) {
    if (!teacher(req, res)) {
        return;
    }
    const std::string name = req.matches[2];
    if (!isChildName(name)) {
        refuse(res, 404, "Dieses Kind gibt es in der Klasse nicht.");
        return;
    }
    answer(res, 200, childJson(name, storage_.results(req.matches[1], name)));
}

void Server::csv(const httplib::Request& req, httplib::Response& res) {
    if (!teacher(req, res)) {
        return;
    }
    res.set_header("Content-Disposition", "attachment; filename=\"klasse.csv\"");
    res.set_content(csvExport(storage_.results(req.matches[1])), "text/csv; charset=utf-8");
}

void Server::deleteChild(const httplib::Request& req, httplib::Response& res) {
    if (!teacher(req, res)) {
        return;
    }
    const std::string name = req.matches[2];
    if (isChildName(name)) {
        storage_.deleteChild(req.matches[1], name);
    }
    res.status = 204;
}

void Server::deleteClass(const httplib::Request& req, httplib::Response& res) {
    if (!teacher(req, res)) {
        return;
    }
    storage_.deleteClass(req.matches[1]);
    res.status = 204;
}

} // namespace zifferix::service
