#include "tank/chartfile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <string_view>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "tank/chartstream.h"

namespace brimwell {
namespace {

// Writes and flushes; the reason of the first failure, if any.
SaveResult writeAndFlush(QFileDevice& file, const ContentWriter& write) {
    if (!write(file) || !file.flush()) {
        return Unexpected(file.errorString());
    }
    return {};
}

SaveResult writeDirectly(const QString& path, const ContentWriter& write) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Unexpected(file.errorString());
    }
    return writeAndFlush(file, write);
}

// A short write is tried again for the rest, so that a failure is the one that carries the
// system's reason.
bool writeAll(QIODevice& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Gives the new file the replaced file's owner, group and permission bits. Qt copies the
// permissions as the user saving sees them, which for root adds the write bit to a read-only file,
// and the new file would belong to the one saving. Only root may give a file to another user; a
// group the user belongs to is kept all the same.
void keepOwnerAndMode(const QSaveFile& file, const QString& path) {
#ifndef _WIN32
    struct stat replaced {};
    struct stat written {};
    if (::stat(QFile::encodeName(path).constData(), &replaced) != 0 ||
        ::fstat(file.handle(), &written) != 0) {
        return;  // a new file: the system's defaults
    }
    if (replaced.st_dev == written.st_dev && replaced.st_ino == written.st_ino) {
        return;  // written in place
    }
    if (::fchown(file.handle(), replaced.st_uid, replaced.st_gid) != 0) {
        [[maybe_unused]] const int ignored =
            ::fchown(file.handle(), static_cast<uid_t>(-1), replaced.st_gid);
    }
    ::fchmod(file.handle(), replaced.st_mode & 07777);
#else
    Q_UNUSED(file);
    Q_UNUSED(path);
#endif
}

}  // namespace

SaveResult saveFile(const QString& path, const ContentWriter& write) {
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        return writeDirectly(path, write);
    }
    QSaveFile file(path);
    // A folder that refuses a new file may still hold a file the user may write: shared folders
    // are often set up so. Qt then writes that file in place, and only then.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        return Unexpected(file.errorString());
    }
    keepOwnerAndMode(file, path);
    // The last bytes are flushed here, not by commit(), which would drop a failure to write them
    // and put a cut-short file in place.
    if (auto written = writeAndFlush(file, write); !written) {
        file.cancelWriting();
        file.commit();  // discards the temporary file
        return written;
    }
    if (!file.commit()) {
        return Unexpected(file.errorString());
    }
    return {};
}

SaveResult writeStandardOutput(const ContentWriter& write) {
#ifdef _WIN32
    // Binary, so that the system adds no carriage return of its own to the line ends. Elsewhere
    // output is always binary, and reopening standard output would empty a file it appends to.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        return Unexpected(out.errorString());
    }
    return writeAndFlush(out, write);
}

ContentWriter blockWriter(std::function<bool(const ChartSink&)> stream) {
    return [stream = std::move(stream)](QIODevice& file) {
        return stream([&file](std::string_view block) { return writeAll(file, block); });
    };
}

ContentWriter tankChartWriter(const TankChartParams& params, FailureReporter& reporter) {
    return blockWriter([&params, &reporter](const ChartSink& sink) {
        return streamTankChart(params, reporter, sink);
    });
}

}  // namespace brimwell
