#pragma once

// Where the desktop keeps what must outlast a run, which is only ever a class's: the user's
// state folder, $XDG_STATE_HOME/zifferix, else ~/.local/state/zifferix.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

namespace qt {

inline QString stateFolder() {
    // A relative XDG_STATE_HOME is to be ignored.
    const QString given = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = !given.isEmpty() && QDir::isAbsolutePath(given)
                             ? given
                             : QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/zifferix");
}

// Writes a file whole or not at all, readable by its owner only, making its folder (and the
// state folder) first; false when the disk refused.
inline bool writeWhole(const QString& path, const QByteArray& content) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        return false;
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return file.write(content) == content.size() && file.commit();
}

} // namespace qt
