// brimwell-book: a tank book of daily inventory records, deliveries checked against their bills
// and the monthly reconciliation, from the command line.

#include <unistd.h>
#include <QCoreApplication>
#include <iostream>

#include "cli/bookcli.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brimwell"));
    const std::vector<std::string> args(argv + 1, argv + argc);
    return brimwell::runBook(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
