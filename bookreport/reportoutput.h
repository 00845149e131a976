#pragma once

// A document on paper or in a PDF file, landscape: on the default printer in the paper size it
// gives, or as PDF in the paper size of the user's locale (Letter in the United States and
// Canada, A4 elsewhere).

#include <QLocale>
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <memory>

#include "bookreport/pagemodel.h"
#include "model/expected.h"

namespace brimwell::bookreport {

QPageSize::PageSizeId paperOf(const QLocale& locale);

// Writes the PDF beside `path` and puts it in its place only once it is whole: a failure leaves
// whatever was there before. The error names the file and what went wrong.
Expected<void, QString> writePdf(const Document& document, const QString& path,
                                 const QLocale& locale = QLocale());

// Prints on `printer`, landscape; the error says why nothing or not everything was printed.
Expected<void, QString> printDocument(const Document& document, QPrinter& printer);

// The default printer named for the job, or none when there is none or it is stopped.
std::unique_ptr<QPrinter> defaultPrinter(const QString& jobName);

}  // namespace brimwell::bookreport
