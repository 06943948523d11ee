#pragma once

// The results of a class's games on their way to the class service. Each is kept at once, as
// one file in the state folder's "warten/", with its own id and the address it goes to, and
// sent from there: one at a time, oldest first, never holding up the window. An answer that it
// is stored (201) or was already there (200) removes it; no answer, a server's error or "too
// many" keeps it and tries again later, waiting longer each time, and at the next run; any
// other refusal is for good, and the result is moved to "abgelehnt/".

#include <QDir>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <deque>

class QNetworkAccessManager;
class QNetworkReply;

namespace qt {

struct Backoff {
    std::chrono::milliseconds first = std::chrono::seconds(5);
    std::chrono::milliseconds last = std::chrono::minutes(5);
};

class ResultOutbox : public QObject {
  public:
    ResultOutbox(QNetworkAccessManager& network, const QString& stateFolder, Backoff backoff = {},
                 std::chrono::milliseconds timeout = std::chrono::seconds(20));

    // Gives a result (a JSON object without "id") an id, keeps it and sends it to the address;
    // the id, or nothing when the result is no JSON object or could not be kept.
    QString add(const QUrl& to, const QByteArray& resultJson);
    // Sends what an earlier run left waiting.
    void resume();

    QString waitingFolder() const;
    QString refusedFolder() const;
    // Whether a result is on its way or waiting to be tried again.
    bool busy() const { return sending_ != nullptr || retry_.isActive() || !queue_.empty(); }

  private:
    struct Waiting {
        QString id;
        QUrl to;
        QByteArray body;
    };
    void queue(Waiting waiting);
    void next();
    void answered(QNetworkReply* reply);
    void refuse(const Waiting& waiting, const QString& why);
    QString waitingFile(const QString& id) const;

    QNetworkAccessManager& network_;
    QString stateFolder_;
    Backoff backoff_;
    std::chrono::milliseconds timeout_;
    std::chrono::milliseconds delay_ = backoff_.first;
    std::deque<Waiting> queue_; // the one being sent first
    QNetworkReply* sending_ = nullptr;
    QTimer retry_;
};

} // namespace qt
