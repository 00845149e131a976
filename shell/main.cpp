#include <QApplication>

#include "host/appinfo.h"
#include "host/qthost.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // No display name: the platform would append it to the calculators' own captions.
    QApplication::setApplicationName(QString::fromUtf8(brimwell::appinfo::kTitle));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(brimwell::appinfo::kVersionMajor)
                                            .arg(brimwell::appinfo::kVersionMinor)
                                            .arg(brimwell::appinfo::kVersionRevision));
    // The desktop finds the menu entry, and with it the icon, for the windows by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orvane.brimwell"));

    brimwell::QtHost host;
    brimwell::Shell shell(host);
    shell.start();
    return QApplication::exec();
}
