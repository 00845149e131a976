#include "chartfile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <memory>
#include <string_view>

#include "chartstream.h"

namespace brimwell {

QString SaveFile(const QString& path, const std::function<bool(QIODevice&)>& write) {
    const QFileInfo target(path);
    const bool special = target.exists() && !target.isFile() && !target.isDir();
    std::unique_ptr<QFileDevice> file;
    if (special) {
        file = std::make_unique<QFile>(path);
    } else {
        file = std::make_unique<QSaveFile>(path);
    }
    if (!file->open(QIODevice::WriteOnly)) {
        return file->errorString();
    }
    bool written = write(*file);
    if (auto* saveFile = dynamic_cast<QSaveFile*>(file.get())) {
        if (!written) {
            saveFile->cancelWriting();
        }
        if (!saveFile->commit() || !written) {
            return saveFile->errorString();
        }
        return {};
    }
    written = written && file->flush();
    const QString reason = file->errorString();
    file->close();
    return written ? QString() : reason;
}

QString SaveTankChart(const TankChartParams& params, const QString& path,
                      FailureReporter& reporter) {
    return SaveFile(path, [&](QIODevice& file) {
        return StreamTankChart(params, reporter, [&file](std::string_view block) {
            const auto size = static_cast<qint64>(block.size());
            return file.write(block.data(), size) == size;
        });
    });
}

}  // namespace brimwell
