// The program as a process: one instance per program folder, and the start up to the login.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestProgram : public QObject {
    Q_OBJECT

    static QProcessEnvironment env(const QString& script) {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        e.insert(QStringLiteral("GZ_PROMPTER_SCRIPT"), script);
        return e;
    }
    static QString shown(const QString& script) {
        QFile f(script + QStringLiteral(".shown"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll());
    }

private slots:
    void secondInstanceRefused() {
        QTemporaryDir home;
        const QString script1 = home.filePath(QStringLiteral("first.answers"));
        const QString script2 = home.filePath(QStringLiteral("second.answers"));
        QProcess first;
        first.setProcessEnvironment(env(script1));
        first.start(QStringLiteral(PKVGZGL_BIN), {QStringLiteral("--home"), home.path()});
        QVERIFY(first.waitForStarted());
        // it is running once it holds its lock (it then waits at the splash and the login)
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath(QStringLiteral("pkvgzgl.lock"))), 20000);

        QProcess second;
        second.setProcessEnvironment(env(script2));
        second.start(QStringLiteral(PKVGZGL_BIN), {QStringLiteral("--home"), home.path()});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(shown(script2), QStringLiteral("message|朔禾软件|该程序正在运行!\n"));
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        first.waitForFinished(5000);
        // a lock left by a process that is gone does not keep the program from starting
        QProcess third;
        third.setProcessEnvironment(env(script2 + QStringLiteral("3")));
        third.start(QStringLiteral(PKVGZGL_BIN),
                    {QStringLiteral("--home"), home.path(), QStringLiteral("--exit-at-login")});
        QVERIFY(third.waitForFinished(30000));
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(third.readAllStandardOutput().contains("login-shown"));
    }

    void startsOnAFreshFolder() {
        QTemporaryDir home;
        QProcess p;
        p.setProcessEnvironment(env(home.filePath(QStringLiteral("a"))));
        p.start(QStringLiteral(PKVGZGL_BIN),
                {QStringLiteral("--home"), home.path(), QStringLiteral("--exit-at-login"),
                 QStringLiteral("--today"), QStringLiteral("2026-12-28")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().contains("login-shown"));
        QVERIFY(QFile::exists(home.filePath(QStringLiteral("works/shdb.mdb"))));
        // the year-end reminder came before the login
        QVERIFY(shown(home.filePath(QStringLiteral("a"))).contains(QStringLiteral("又到年底了")));
    }

    void badDate() {
        QTemporaryDir home;
        QProcess p;
        p.setProcessEnvironment(env(home.filePath(QStringLiteral("a"))));
        p.start(QStringLiteral(PKVGZGL_BIN), {QStringLiteral("--home"), home.path(),
                                              QStringLiteral("--today"), QStringLiteral("2026-13-01")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(!QFile::exists(home.filePath(QStringLiteral("works/shdb.mdb"))));
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
