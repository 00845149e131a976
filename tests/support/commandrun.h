#pragma once

// Running a command-line program of the project as a user would, and the files around it.

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <unistd.h>

namespace brimwell::testing {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the program to its end; `standardOutput`, when given, is a file the output is appended to.
inline Run runCommand(const QString& program, const QStringList& args,
                      const QString& standardOutput = {}) {
    QProcess process;
    if (!standardOutput.isEmpty()) {
        process.setStandardOutputFile(standardOutput, QIODevice::Append);
    }
    process.start(program, args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Runs the program as a user whom permission bits stop: `nobody` when the test runs as root.
inline Run runUnprivileged(const QString& program, const QStringList& args) {
    if (geteuid() != 0) {
        return runCommand(program, args);
    }
    return runCommand("setpriv", QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                             program} + args);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace brimwell::testing
