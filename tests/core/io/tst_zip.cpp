#include "common/ZipWriter.h"
#include "core/data/Errors.h"
#include "core/io/ZipReader.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace gz;

class TestZip : public QObject {
    Q_OBJECT
private slots:
    void readsEntries_data() {
        QTest::addColumn<bool>("store");
        QTest::newRow("deflated") << false;
        QTest::newRow("stored") << true;
    }
    void readsEntries() {
        QFETCH(bool, store);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.xlsx"));
        QByteArray big;
        for (int i = 0; i < 20000; ++i)
            big += "<row>一车间</row>";
        QVERIFY(test::writeZip(path, {{QStringLiteral("a.xml"), "<a/>"}, {QStringLiteral("xl/big.xml"), big}},
                               store));
        ZipReader zip(path);
        QCOMPARE(zip.read(QStringLiteral("a.xml")).value(), QByteArray("<a/>"));
        QCOMPARE(zip.read(QStringLiteral("xl/big.xml")).value(), big);
        QVERIFY(!zip.read(QStringLiteral("missing.xml")).has_value());
    }

    void notAZip() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plain.xlsx"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("id,name\n1,王\n");
        f.close();
        try {
            ZipReader zip(path);
            QFAIL("accepted");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::FileOpen);
            QVERIFY(e.message().contains(QStringLiteral("plain.xlsx")));
        }
    }

    void damagedEntry() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.xlsx"));
        QVERIFY(test::writeZip(path, {{QStringLiteral("a.xml"), QByteArray(5000, 'a')}}));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray d = f.readAll();
        for (int i = 36; i < 40; ++i)
            d[i] = char(0xff); // inside the compressed data
        f.seek(0);
        f.write(d);
        f.close();
        try {
            ZipReader zip(path);
            zip.read(QStringLiteral("a.xml"));
            QFAIL("a damaged entry was read");
        } catch (const Error& e) {
            QCOMPARE(e.kind(), ErrorKind::FileOpen);
            QVERIFY2(e.message().contains(QStringLiteral("a.xml")), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestZip)
#include "tst_zip.moc"
