// The book window's printed month: on the default printer, as a PDF file, or in a print preview,
// of the tank shown or of the whole site.

#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>

#include "bookreport/reportoutput.h"
#include "bookwindow/exportpath.h"
#include "bookwindow/figuretexts.h"
#include "bookwindow/frmbook.h"
#include "host/host.h"
#include "host/windowprinting.h"
#include "ui_frmBook.h"

namespace brimwell {

std::optional<bookreport::Document> frmBook::monthPages(bool site) {
    if (!session_ || (!site && tank_.empty())) {
        return std::nullopt;
    }
    const std::string month = monthShown_.toString(QStringLiteral("yyyy-MM")).toStdString();
    auto pages = session_->monthPages(site ? std::nullopt : std::optional(tank_), month);
    if (!pages) {
        host_.showMessage(this, fromStd(pages.error()));
        return std::nullopt;
    }
    return *std::move(pages);
}

void frmBook::printMonth(bool site) {
    const auto pages = monthPages(site);
    if (!pages) {
        return;
    }
    const std::unique_ptr<QPrinter> printer = host_.defaultPrinter(pages->title);
    if (!printer) {
        host_.showMessage(this, tr(kPrintProblemMessage));
        return;
    }
    if (const auto printed = bookreport::printDocument(*pages, *printer); !printed) {
        host_.showMessage(this, tr("%1 %2").arg(tr(kPrintProblemMessage), printed.error()));
    }
}

void frmBook::saveMonthPdf(bool site) {
    const auto pages = monthPages(site);
    if (!pages) {
        return;
    }
    QString name = pages->title + QStringLiteral(".pdf");
    name.replace('/', '-');
    const QString suggested = QFileInfo(session_->path()).dir().filePath(name);
    const QString chosen = host_.chooseSaveFile(this, tr("PDF files|*.pdf"), suggested);
    if (chosen.isEmpty()) {
        return;
    }
    if (isBookFile(chosen, session_->path())) {
        host_.showMessage(
            this, tr("%1 is the book itself. Save the month to a file of its own.").arg(chosen));
        return;
    }
    if (const auto written = bookreport::writePdf(*pages, chosen); !written) {
        host_.showMessage(this, written.error());
    }
}

void frmBook::previewMonth(bool site) {
    const auto pages = monthPages(site);
    if (!pages) {
        return;
    }
    QPrintPreviewDialog preview(this);
    preview.setWindowTitle(tr("Print preview: %1").arg(pages->title));
    connect(
        &preview, &QPrintPreviewDialog::paintRequested, this, [this, &pages](QPrinter* printer) {
            if (const auto printed = bookreport::printDocument(*pages, *printer); !printed) {
                host_.showMessage(this, tr("%1 %2").arg(tr(kPrintProblemMessage), printed.error()));
            }
        });
    preview.exec();
}

}  // namespace brimwell
