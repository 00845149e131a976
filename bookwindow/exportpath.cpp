#include "bookwindow/exportpath.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace brimwell {
namespace {

// The file a path names once every link in it is followed, whether or not it is there yet.
QString resolved(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) {
        return info.canonicalFilePath();
    }
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

// The name's extension, when it has one: a suffix with a letter.
QString extension(const QString& name) {
    const QString suffix = QFileInfo(name).suffix();
    const bool named =
        std::any_of(suffix.begin(), suffix.end(), [](QChar c) { return c.isLetter(); });
    return named ? suffix : QString();
}

}  // namespace

QString csvPath(const QString& chosen) {
    return extension(chosen).isEmpty() ? chosen + QStringLiteral(".csv") : chosen;
}

QString besidePath(const QString& path, const QString& word) {
    const QString suffix = extension(path);
    const QString base = suffix.isEmpty() ? path : path.chopped(suffix.size() + 1);
    return base + ' ' + word + (suffix.isEmpty() ? QString() : '.' + suffix);
}

bool isBookFile(const QString& path, const QString& book) {
    const QString target = resolved(path);
    for (const char* companion : {"", "-journal", "-wal", "-shm"}) {
        if (target == resolved(book + QLatin1String(companion))) {
            return true;
        }
    }
    return false;
}

}  // namespace brimwell
