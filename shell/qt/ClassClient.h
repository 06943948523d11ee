#pragma once

// A class the desktop joined by its link: what the class service says of it at start (its
// name and the children's first names, asked once with a short time-out), the name a child
// gave in it, remembered for the next run in the state folder, and every ended game handed to
// the results on their way.

#include "forms/ClassLink.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <string>

class QNetworkAccessManager;
class QNetworkReply;

namespace qt {

struct ClassFound {
    // Open: the service named the class. Gone: it has no such class (any more). Unreachable:
    // no answer in time or none that makes sense; the child plays and the results wait.
    enum class State { Open, Gone, Unreachable };
    State state = State::Unreachable;
    forms::ClassInfo info; // with the name remembered for the class, unless it is gone
};

class ResultOutbox;

class ClassClient : public QObject, public forms::ClassLink {
  public:
    // site: the folder of the page, ending in "/"; the service answers under site + "api/".
    ClassClient(QNetworkAccessManager& network, ResultOutbox& outbox, const QUrl& site,
                const QString& id, const QString& stateFolder,
                std::chrono::milliseconds timeout = std::chrono::seconds(3));

    // Asks the service for the class; calls done once, within the time-out.
    void fetch(std::function<void(const ClassFound&)> done);
    // Keeps the child's name for the class; an empty one forgets it.
    void joined(const std::string& child) override;
    std::string remembered() const;
    // Sends a game's result to the class.
    void ended(const std::string& resultJson) override;

    QUrl classUrl() const;
    QUrl resultsUrl() const;

  private:
    void answered(QNetworkReply* reply);
    QString nameFile() const;

    QNetworkAccessManager& network_;
    ResultOutbox& outbox_;
    QUrl site_;
    QString id_;
    QString stateFolder_;
    std::chrono::milliseconds timeout_;
    std::function<void(const ClassFound&)> done_;
};

// A first name as a child may give it: 1 to 24 characters, none of them a control character,
// without spaces around it.
bool isChildName(const QString& name);

} // namespace qt
