#pragma once
// Runs gzgl in a test and captures its output and exit code.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace gz::test {

struct CliResult {
    int code = -1;
    QString out;
    QString err;
};

inline CliResult runGzgl(const QString& home, const QStringList& args, const QString& user = {},
                         const QString& password = {}) {
    QStringList all{QStringLiteral("--home"), home};
    if (!user.isEmpty()) all << QStringLiteral("--user") << user << QStringLiteral("--password") << password;
    all << args;
    QProcess p;
    p.start(QStringLiteral(GZGL_BIN), all);
    p.waitForFinished(120000);
    CliResult r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

inline CliResult runAdmin(const QString& home, const QStringList& args) {
    return runGzgl(home, args, QStringLiteral("813"), QStringLiteral("813"));
}

} // namespace gz::test
