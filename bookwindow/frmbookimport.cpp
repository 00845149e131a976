// The book window's import of a CSV of days: read a slice at a time with its progress shown and
// Cancel heard, every fault named by its line, then written whole or not at all.

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "book/dayimport.h"
#include "bookwindow/figuretexts.h"
#include "bookwindow/frmbook.h"
#include "host/host.h"
#include "ui_frmBook.h"

namespace brimwell {
namespace {

// The faults named in the message; the rest are counted.
constexpr int kFaultsNamed = 10;
// Reading gives the window its events back this often, in milliseconds.
constexpr int kSlice = 30;

}  // namespace

void frmBook::importDays() {
    if (!session_ || importing_ || !leaveDay()) {
        return;
    }
    const QString path = host_.chooseFile(this, tr("Days as CSV|*.csv"));
    if (path.isEmpty()) {
        return;
    }
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        host_.showMessage(this, tr("%1 cannot be read: %2").arg(path, file.errorString()));
        return;
    }
    auto started = book::DayImport::start(file.readLine().toStdString());
    if (!started) {
        host_.showMessage(this, tr("%1: %2. Nothing was imported.")
                                    .arg(name, fromStd(started.error())));
        return;
    }
    book::DayImport import = *std::move(started);
    const book::ImportTankOf tankOf = session_->importTanks();
    beginImport(name, file.size());
    if (readImport(file, import, tankOf, name)) {
        writeImport(import, tankOf, name);
    }
}

// The window takes nothing else while it imports.
void frmBook::beginImport(const QString& name, qint64 size) {
    importing_ = true;
    importCancelled_ = false;
    ui_->splitSite->setEnabled(false);
    ui_->menubar->setEnabled(false);
    ui_->importRow->show();
    ui_->btnCancelImport->setEnabled(true);
    ui_->lblImport->setText(tr("Reading %1").arg(name));
    ui_->barImport->setRange(0, static_cast<int>(std::min<qint64>(size, INT_MAX)));
    ui_->barImport->setValue(0);
}

void frmBook::endImport() {
    ui_->importRow->hide();
    ui_->splitSite->setEnabled(true);
    ui_->menubar->setEnabled(true);
    importing_ = false;
}

// Reads the file's rows a slice at a time, the file's faults all gathered; true when every row
// reads, else the import is ended with the reason told.
bool frmBook::readImport(QFile& file, book::DayImport& import, const book::ImportTankOf& tankOf,
                         const QString& name) {
    QStringList faults;
    int faultCount = 0;
    QElapsedTimer slice;
    while (!file.atEnd()) {
        slice.start();
        while (!file.atEnd() && slice.elapsed() < kSlice) {
            const auto read = import.readLine(file.readLine().toStdString(), tankOf);
            if (!read && ++faultCount <= kFaultsNamed) {
                faults << fromStd(read.error());
            }
        }
        ui_->barImport->setValue(static_cast<int>(std::min<qint64>(file.pos(), INT_MAX)));
        QCoreApplication::processEvents();
        if (importCancelled_) {
            endImport();
            statusBar()->showMessage(tr("Import of %1 cancelled: nothing imported").arg(name));
            return false;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        endImport();
        host_.showMessage(this,
                          tr("%1 cannot be read: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    if (faultCount > 0) {
        endImport();
        if (faultCount > kFaultsNamed) {
            faults << tr("and %1 more").arg(faultCount - kFaultsNamed);
        }
        host_.showMessage(this, tr("%1: nothing was imported; the book refuses %2:\n%3")
                                    .arg(name,
                                         faultCount == 1 ? tr("1 line")
                                                         : tr("%1 lines").arg(faultCount),
                                         faults.join('\n')));
        return false;
    }
    return true;
}

// The days are written in one change, which cannot be stopped part-way: the bar moves on,
// repainted as the rows go in, while no other event is taken.
void frmBook::writeImport(const book::DayImport& import, const book::ImportTankOf& tankOf,
                          const QString& name) {
    const std::size_t total = import.rows().size();
    ui_->btnCancelImport->setEnabled(false);
    ui_->lblImport->setText(total == 1 ? tr("Writing 1 day") : tr("Writing %1 days").arg(total));
    ui_->barImport->setRange(0, static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
    ui_->barImport->setValue(0);
    ui_->importRow->repaint();
    const auto written = session_->importDays(import, tankOf, [this](std::size_t rows) {
        ui_->barImport->setValue(static_cast<int>(rows));
        ui_->barImport->repaint();
    });
    endImport();
    if (!written) {
        host_.showMessage(this, tr("%1: nothing was imported: %2")
                                    .arg(name, fromStd(written.error().message)));
        return;
    }
    statusBar()->showMessage(total == 1 ? tr("Imported 1 day from %1").arg(name)
                                        : tr("Imported %1 days from %2").arg(total).arg(name));
    // The tank's next unrecorded day may have moved on.
    fillSite();
    tank_.clear();
    dayChosen();
}

}  // namespace brimwell
