#include "bookreport/reportoutput.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include "bookreport/pagepainter.h"

namespace brimwell::bookreport {
namespace {

constexpr int kPdfResolution = 600;
const QMarginsF kMargins(10, 10, 10, 10);  // millimetres

// Draws the document on the device, which the painter has begun on.
bool drawOn(const Document& document, QPainter& painter, QPagedPaintDevice& device,
            int resolution) {
    const QSizeF size = device.pageLayout().paintRectPixels(resolution).size();
    return drawDocument(document, painter, size, [&device] { return device.newPage(); });
}

}  // namespace

QPageSize::PageSizeId paperOf(const QLocale& locale) {
    const QLocale::Territory territory = locale.territory();
    return territory == QLocale::UnitedStates || territory == QLocale::Canada ? QPageSize::Letter
                                                                              : QPageSize::A4;
}

Expected<void, QString> writePdf(const Document& document, const QString& path,
                                 const QLocale& locale) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Unexpected(QObject::tr("%1 cannot be written: %2").arg(path, file.errorString()));
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Brimwell"));
        writer.setPageLayout(QPageLayout(QPageSize(paperOf(locale)), QPageLayout::Landscape,
                                         kMargins, QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer) || !drawOn(document, painter, writer, kPdfResolution) ||
            !painter.end()) {
            file.cancelWriting();
            return Unexpected(
                QObject::tr("%1 cannot be written: the pages could not be drawn").arg(path));
        }
    }
    if (!file.commit()) {
        return Unexpected(QObject::tr("%1 cannot be written: %2").arg(path, file.errorString()));
    }
    return {};
}

Expected<void, QString> printDocument(const Document& document, QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(kMargins, QPageLayout::Millimeter);
    if (printer.docName().isEmpty()) {
        printer.setDocName(document.title);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return Unexpected(
            QObject::tr("the printer %1 did not take the job").arg(printer.printerName()));
    }
    const bool drawn = drawOn(document, painter, printer, printer.resolution());
    const bool ended = painter.end();
    if (!drawn || !ended || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        return Unexpected(QObject::tr("the printer %1 failed the job").arg(printer.printerName()));
    }
    return {};
}

std::unique_ptr<QPrinter> defaultPrinter(const QString& jobName) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || info.state() == QPrinter::Error || info.state() == QPrinter::Aborted) {
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(jobName);
    return printer;
}

}  // namespace brimwell::bookreport
