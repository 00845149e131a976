#include "host/printerqueue.h"

#if __has_include(<cups/cups.h>)
#include <QLibrary>
#include <cups/cups.h>
#endif

namespace brimwell {

#if __has_include(<cups/cups.h>)

bool queueRefusesJobs(const QString& printerName) {
    QLibrary cups(QStringLiteral("cups"), 2);
    const auto getNamedDest = reinterpret_cast<decltype(&cupsGetNamedDest)>(cups.resolve("cupsGetNamedDest"));
    const auto getOption = reinterpret_cast<decltype(&cupsGetOption)>(cups.resolve("cupsGetOption"));
    const auto freeDests = reinterpret_cast<decltype(&cupsFreeDests)>(cups.resolve("cupsFreeDests"));
    if (!getNamedDest || !getOption || !freeDests) {
        return false;
    }
    // A name "queue/instance" names an instance of the queue; the queue decides.
    const QByteArray queue = printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    cups_dest_t* destination = getNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!destination) {
        return true;  // the queue went away since Qt listed it
    }
    const char* accepting =
        getOption("printer-is-accepting-jobs", destination->num_options, destination->options);
    const bool refuses = accepting && qstrcmp(accepting, "false") == 0;
    freeDests(1, destination);
    return refuses;
}

#else

bool queueRefusesJobs(const QString&) { return false; }

#endif

}  // namespace brimwell
