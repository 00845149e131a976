#pragma once

#include <QString>

namespace brimwell {

// Whether the print queue of that name refuses new jobs. Qt reports a stopped queue as being in
// error, but not a queue that refuses jobs: it would hand the job over and the page would be
// silently lost. Where the print system is CUPS, its library (which Qt's own printing loads
// anyway) is asked, loaded at run time so that Brimwell still runs where it is missing; elsewhere
// there is nothing to ask and the answer is no.
bool queueRefusesJobs(const QString& printerName);

}  // namespace brimwell
