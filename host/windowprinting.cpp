#include "host/windowprinting.h"

#include <QDateTime>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <algorithm>
#include <memory>

#include "host/host.h"

namespace brimwell {
namespace {

// The window below its menu bar: the central widget and the status bar as they stand.
QPixmap clientAreaPicture(QMainWindow& window) {
    QRect area = window.rect();
    const QWidget* menu = window.menuWidget();
    if (menu && menu->isVisibleTo(&window)) {
        area.setTop(menu->geometry().bottom() + 1);
    }
    return window.grab(area);
}

// Each printout gets its own document name, so that printouts of the same window stay apart
// in the print queue and in printers that file documents by name.
QString documentName(const QMainWindow& window) {
    return window.windowTitle() + QLatin1Char(' ') +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss.zzz"));
}

// The picture across the width of the printable area, at its top, in its own proportions
// (narrower if a tall picture would not fit the page otherwise).
QRectF placement(const QSizeF& picture, const QSizeF& page) {
    const double scale = std::min(page.width() / picture.width(), page.height() / picture.height());
    return QRectF(QPointF(0, 0), picture * scale);
}

bool printOnePage(QPrinter& printer, const QPixmap& picture) {
    if (picture.isNull()) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // The window's texts stay sharp: no lossy compression of its picture.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QSizeF page(printer.width(), printer.height());
    painter.drawPixmap(placement(picture.size(), page), picture, QRectF(picture.rect()));
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error &&
           printer.printerState() != QPrinter::Aborted;
}

}  // namespace

PrintResult printWindow(QMainWindow& window, Host& host) {
    const QPixmap picture = clientAreaPicture(window);
    const std::unique_ptr<QPrinter> printer = host.defaultPrinter(documentName(window));
    if (!printer) {
        return Unexpected(PrintFailure::NoPrinter);
    }
    if (!printOnePage(*printer, picture)) {
        return Unexpected(PrintFailure::NotPrinted);
    }
    return {};
}

}  // namespace brimwell
