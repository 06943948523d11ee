#include "qt/ResultOutbox.h"

#include "qt/StateFolder.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUuid>

#include <algorithm>
#include <cstdio>

namespace qt {
namespace {

enum class Outcome { Sent, Again, Refused };

// What an answer's status means for a result, the first range that holds it; no status at all
// (no connection, a time-out) and whatever no range holds are tried again.
struct StatusRange {
    int from;
    int to;
    Outcome outcome;
};
constexpr StatusRange kOutcomes[] = {
    {200, 201, Outcome::Sent},    // stored, or stored before
    {408, 408, Outcome::Again},   // the request took too long
    {429, 429, Outcome::Again},   // too many at once
    {400, 499, Outcome::Refused}, // the service will never take it
    {500, 599, Outcome::Again},   // the server is in trouble
};

Outcome outcomeOf(int status) {
    for (const StatusRange& range : kOutcomes) {
        if (status >= range.from && status <= range.to) {
            return range.outcome;
        }
    }
    return Outcome::Again;
}

// A kept result's file: where it goes and the body sent there.
QByteArray kept(const QUrl& to, const QJsonObject& result) {
    return QJsonDocument(QJsonObject{{QStringLiteral("an"), to.toString(QUrl::FullyEncoded)},
                                     {QStringLiteral("ergebnis"), result}})
        .toJson(QJsonDocument::Compact);
}

const QString kSuffix = QStringLiteral(".json");

} // namespace

ResultOutbox::ResultOutbox(QNetworkAccessManager& network, const QString& stateFolder,
                           Backoff backoff, std::chrono::milliseconds timeout)
    : network_(network), stateFolder_(stateFolder), backoff_(backoff), timeout_(timeout) {
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, [this] { next(); });
}

QString ResultOutbox::waitingFolder() const {
    return stateFolder_ + QStringLiteral("/warten");
}

QString ResultOutbox::refusedFolder() const {
    return stateFolder_ + QStringLiteral("/abgelehnt");
}

QString ResultOutbox::waitingFile(const QString& id) const {
    return waitingFolder() + '/' + id + kSuffix;
}

QString ResultOutbox::add(const QUrl& to, const QByteArray& resultJson) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(resultJson, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        std::fputs("zifferix: Ein Ergebnis war kein JSON-Objekt und wird nicht gesendet.\n",
                   stderr);
        return {};
    }
    QJsonObject result = document.object();
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    result.insert(QStringLiteral("id"), id);
    // Sent even when the disk is full, only then not kept for a later run.
    if (!writeWhole(waitingFile(id), kept(to, result))) {
        std::fprintf(stderr, "zifferix: Ein Ergebnis ließ sich nicht in %s ablegen.\n",
                     qPrintable(waitingFolder()));
    }
    queue({id, to, QJsonDocument(result).toJson(QJsonDocument::Compact)});
    // A new result tries at once, whatever waited for the next try.
    retry_.stop();
    next();
    return id;
}

void ResultOutbox::resume() {
    const QDir folder(waitingFolder());
    const QStringList files =
        folder.entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QString& name : files) {
        const QString id = name.chopped(kSuffix.size());
        QFile file(folder.filePath(name));
        const QJsonObject object = file.open(QIODevice::ReadOnly)
                                       ? QJsonDocument::fromJson(file.readAll()).object()
                                       : QJsonObject{};
        const QUrl to(object.value(QStringLiteral("an")).toString(), QUrl::StrictMode);
        const QJsonObject result = object.value(QStringLiteral("ergebnis")).toObject();
        Waiting waiting{id, to, QJsonDocument(result).toJson(QJsonDocument::Compact)};
        const QString scheme = to.scheme();
        if (result.value(QStringLiteral("id")).toString() != id || !to.isValid() ||
            (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))) {
            refuse(waiting, QStringLiteral("unlesbar"));
            continue;
        }
        queue(std::move(waiting));
    }
    next();
}

void ResultOutbox::queue(Waiting waiting) {
    const bool known = std::any_of(queue_.begin(), queue_.end(),
                                   [&](const Waiting& other) { return other.id == waiting.id; });
    if (!known) {
        queue_.push_back(std::move(waiting));
    }
}

void ResultOutbox::next() {
    if (sending_ != nullptr || retry_.isActive() || queue_.empty()) {
        return;
    }
    const Waiting& waiting = queue_.front();
    QNetworkRequest request(waiting.to);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setRawHeader("Accept", "application/json");
    sending_ = network_.post(request, waiting.body);
    QTimer::singleShot(timeout_, sending_, &QNetworkReply::abort);
    QNetworkReply* reply = sending_;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { answered(reply); });
}

void ResultOutbox::answered(QNetworkReply* reply) {
    reply->deleteLater();
    sending_ = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (outcomeOf(status)) {
    case Outcome::Sent:
        QFile::remove(waitingFile(queue_.front().id));
        queue_.pop_front();
        delay_ = backoff_.first;
        break;
    case Outcome::Refused:
        refuse(queue_.front(), QStringLiteral("HTTP %1").arg(status));
        queue_.pop_front();
        break;
    case Outcome::Again:
        retry_.start(delay_);
        delay_ = std::min(delay_ * 2, backoff_.last);
        return;
    }
    next();
}

void ResultOutbox::refuse(const Waiting& waiting, const QString& why) {
    const QString target = refusedFolder() + '/' + waiting.id + kSuffix;
    const QString source = waitingFile(waiting.id);
    QDir().mkpath(refusedFolder());
    QFile::remove(target);
    if (!QFile::rename(source, target)) {
        writeWhole(target, kept(waiting.to, QJsonDocument::fromJson(waiting.body).object()));
    }
    // One line, with no name and nothing of the result.
    std::fprintf(stderr,
                 "zifferix: Der Klassendienst hat ein Ergebnis abgelehnt (%s); es liegt in %s.\n",
                 qPrintable(why), qPrintable(refusedFolder()));
}

} // namespace qt
