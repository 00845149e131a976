#include "tank/chartfile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <string_view>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
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

}  // namespace

SaveResult saveFile(const QString& path, const ContentWriter& write) {
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        return writeDirectly(path, write);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Unexpected(file.errorString());
    }
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
