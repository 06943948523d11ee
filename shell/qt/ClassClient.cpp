#include "qt/ClassClient.h"

#include "qt/ResultOutbox.h"
#include "qt/StateFolder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace qt {
namespace {

constexpr int kLongestName = 24;

// The class as the service describes it, {"name": ..., "kinder": [...]}; nothing when the
// answer is not that.
std::optional<ClassFound> described(const QByteArray& body) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const QJsonValue name = object.value(QStringLiteral("name"));
    const QJsonValue children = object.value(QStringLiteral("kinder"));
    if (!name.isString() || !(children.isArray() || children.isUndefined())) {
        return std::nullopt;
    }
    ClassFound found;
    found.state = ClassFound::State::Open;
    found.info.name = name.toString().toStdString();
    for (const QJsonValue& child : children.toArray()) {
        if (child.isString() && isChildName(child.toString())) {
            found.info.children.push_back(child.toString().toStdString());
        }
    }
    return found;
}

} // namespace

bool isChildName(const QString& name) {
    const auto characters = name.toUcs4();
    return !characters.isEmpty() && characters.size() <= kLongestName && name.trimmed() == name &&
           std::none_of(characters.begin(), characters.end(),
                        [](char32_t c) { return QChar::category(c) == QChar::Other_Control; });
}

ClassClient::ClassClient(QNetworkAccessManager& network, ResultOutbox& outbox, const QUrl& site,
                         const QString& id, const QString& stateFolder,
                         std::chrono::milliseconds timeout)
    : network_(network), outbox_(outbox), site_(site), id_(id), stateFolder_(stateFolder),
      timeout_(timeout) {}

QUrl ClassClient::classUrl() const {
    return site_.resolved(QUrl(QStringLiteral("api/klassen/") + id_));
}

QUrl ClassClient::resultsUrl() const {
    return site_.resolved(
        QUrl(QStringLiteral("api/klassen/") + id_ + QStringLiteral("/ergebnisse")));
}

QString ClassClient::nameFile() const {
    return stateFolder_ + QStringLiteral("/klassen/") + id_ + QStringLiteral(".name");
}

void ClassClient::fetch(std::function<void(const ClassFound&)> done) {
    done_ = std::move(done);
    QNetworkRequest request(classUrl());
    request.setRawHeader("Accept", "application/json");
    QNetworkReply* reply = network_.get(request);
    // Aborting finishes the reply, which then answers as unreachable.
    QTimer::singleShot(timeout_, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { answered(reply); });
}

void ClassClient::answered(QNetworkReply* reply) {
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    ClassFound found;
    if (status == 404) {
        found.state = ClassFound::State::Gone;
    } else if (status == 200 && reply->error() == QNetworkReply::NoError) {
        if (auto open = described(reply->readAll())) {
            found = std::move(*open);
        }
    }
    if (found.state != ClassFound::State::Gone) {
        found.info.child = remembered();
    }
    if (auto done = std::exchange(done_, nullptr)) {
        done(found);
    }
}

void ClassClient::joined(const std::string& child) {
    const QString name = QString::fromStdString(child);
    if (name.isEmpty()) {
        QFile::remove(nameFile());
        return;
    }
    if (isChildName(name) && name.toStdString() != remembered()) {
        writeWhole(nameFile(), name.toUtf8() + '\n');
    }
}

void ClassClient::ended(const std::string& resultJson) {
    outbox_.add(resultsUrl(), QByteArray::fromStdString(resultJson));
}

std::string ClassClient::remembered() const {
    QFile file(nameFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString name = QString::fromUtf8(file.read(1024)).trimmed();
    return isChildName(name) ? name.toStdString() : std::string();
}

} // namespace qt
