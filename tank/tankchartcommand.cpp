// The tank chart generator of the tank window.

#include <QFileInfo>
#include <QSaveFile>
#include <memory>
#include <variant>

#include "chartparams.h"
#include "chartprintout.h"
#include "frmullex.h"
#include "host.h"
#include "appinfo.h"
#include "ui_frmUllex.h"
#include "usernumberformat.h"

namespace brimwell {
namespace {

const char* const kIncrementPrompt =
    "Tank chart will be generated in inches.  Input the increments in which you would like the "
    "tank chart generated. (Must be a number - eg. 0.10)";
const char* const kInappropriateUnit = "That is not an appropriate unit";
const char* const kSavedQuestion = "Tank Chart Saved OK. Do you want to print it out now ?";
const char* const kChartFilter = "text files|*.txt";

class MessageReporter : public FailureReporter {
public:
    MessageReporter(Host& host, QWidget* parent) : host_(host), parent_(parent) {}
    void reportFailure(std::string_view message) override {
        host_.showMessage(parent_, QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    }

private:
    Host& host_;
    QWidget* parent_;
};

// Writes the chart to a temporary file beside the path and puts it in place only when it is
// complete, so a failed save never leaves a half-written chart where a good file was. A path
// that names a device or a pipe is written directly: renaming over it would replace it.
// Returns the system's reason when the chart could not be saved.
QString saveChart(const TankChartParams& params, const QString& path, FailureReporter& reporter) {
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
    TankChart chart(params, reporter);
    QByteArray buffer;
    constexpr qsizetype kChunk = 1 << 16;
    buffer.reserve(kChunk + 256);
    bool written = true;
    while (const auto line = chart.nextLine()) {
        buffer.append(line->data(), static_cast<qsizetype>(line->size()));
        buffer.append("\r\n", 2);
        if (buffer.size() >= kChunk) {
            written = written && file->write(buffer) == buffer.size();
            buffer.clear();
        }
    }
    written = written && file->write(buffer) == buffer.size();
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

}  // namespace

void frmUllex::generatetankchart() {
    TankChartParams params;
    for (;;) {
        const QString increment =
            host.promptText(this, QString::fromUtf8(appinfo::kTitle), QString::fromUtf8(kIncrementPrompt));
        const ChartRequest request{ui->txtTankDiameter->text().toStdString(),
                                   ui->txtTankLength->text().toStdString(),
                                   ui->cboLengthUnits->currentText().toStdString(),
                                   ui->cboTankShape->currentText().toStdString(),
                                   ui->cboVolumeUnits->currentText().toStdString(),
                                   increment.toStdString()};
        const auto derived = DeriveChartParams(request, userNumberFormat());
        if (const auto* ready = std::get_if<TankChartParams>(&derived)) {
            params = *ready;
            break;
        }
        const ChartRefusal refusal = std::get<ChartRefusal>(derived);
        if (refusal == ChartRefusal::InappropriateIncrement) {
            host.showMessage(this, QString::fromUtf8(kInappropriateUnit));
            continue;
        }
        if (refusal == ChartRefusal::UnknownUnit) {
            host.showMessage(this, QString::fromUtf8(kInappropriateUnit));
        }
        return;
    }

    const QString path = host.chooseFile(this, QString::fromUtf8(kChartFilter));
    if (path.isEmpty()) {
        return;
    }
    MessageReporter reporter(host, this);
    if (const QString problem = saveChart(params, path, reporter); !problem.isEmpty()) {
        host.showMessage(this, tr("The tank chart could not be saved to %1: %2").arg(path, problem));
        return;
    }
    if (!host.askYesNo(this, QString::fromUtf8(kSavedQuestion))) {
        return;
    }
    printTankChart(params, host, this);
}

}  // namespace brimwell
