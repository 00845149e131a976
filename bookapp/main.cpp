// brimwell-book: the tank book. With a subcommand it is the command line; with none (or only
// --book FILE) it opens the book's window.

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <iostream>
#include <optional>

#include "bookwindow/frmbook.h"
#include "cli/bookcli.h"
#include "host/qthost.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool errorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

// The book the window should open when the arguments ask for the window, else nothing.
std::optional<QString> windowBook(const std::vector<std::string>& args) {
    if (args.empty()) {
        return QString();
    }
    if (args.size() == 2 && args[0] == "--book" && !args[1].empty()) {
        return QFile::decodeName(args[1].c_str());
    }
    if (args.size() == 1 && args[0].starts_with("--book=") && args[0].size() > 7) {
        return QFile::decodeName(args[0].substr(7).c_str());
    }
    return std::nullopt;
}

int runWindow(int argc, char** argv, const QString& book) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwell"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orvane.brimwell.book"));
    brimwell::QtHost host;
    brimwell::frmBook window(host);
    window.openBookWhenShown(book.isEmpty() ? brimwell::frmBook::lastBook() : book);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto book = windowBook(args)) {
        return runWindow(argc, argv, *book);
    }
    if (brimwell::bookDrawsPages(args)) {
        // The pages are drawn with fonts, which need a GUI application, but never on a screen:
        // offscreen, so that a terminal or a server without a display (or with one that does
        // not answer) prints alike.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        QGuiApplication application(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Brimwell"));
        // The windows' printer, which also asks the print system whether the queue takes jobs.
        return brimwell::runBook(args, std::cout, std::cerr, errorIsTerminal(),
                                 [](const QString& job) {
                                     return brimwell::QtHost().defaultPrinter(job);
                                 });
    }
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brimwell"));
    return brimwell::runBook(args, std::cout, std::cerr, errorIsTerminal());
}
