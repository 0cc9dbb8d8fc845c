#include "core/data/Errors.h"
#include "core/session/Password.h"

#include <QtTest>

using namespace gz;

class TestPasswordAndErrors : public QObject {
    Q_OBJECT
private slots:
    void encode_data() {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("encoded");
        // Offsets of the first six positions: 6, 27, 34, 47, 46, 29.
        QTest::newRow("administrator preset") << "813"
                                              << ">>LLUU";
        QTest::newRow("six zeros") << "000000" << QString::fromLatin1("66KKRR__^^MM");
        QTest::newRow("blanks removed") << " 813 "
                                        << ">>LLUU";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only blanks") << "   "
                                     << "";
    }
    void encode() {
        QFETCH(QString, plain);
        QFETCH(QString, encoded);
        QCOMPARE(encodePassword(plain), encoded);
    }

    void sixCharactersGiveTwelve() { QCOMPARE(encodePassword(QStringLiteral("123456")).size(), 12); }

    void wrapsPastByteRange() {
        // '~' (126) + 47 at position 4 passes 255 and wraps: 173.
        const QString e = encodePassword(QStringLiteral("000~"));
        QCOMPARE(e.at(6).unicode(), ushort((126 + 47) % 256));
        QCOMPARE(e.at(7), e.at(6));
    }

    void categories_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("conversion") << int(ErrorKind::Conversion) << "输入的数据类型错误";
        QTest::newRow("int div zero") << int(ErrorKind::IntDivZero) << "整数除0溢出";
        QTest::newRow("int overflow keeps its blank") << int(ErrorKind::IntOverflow) << "整数溢出 ";
        QTest::newRow("range") << int(ErrorKind::RangeCheck) << "整数越界";
        QTest::newRow("int other") << int(ErrorKind::IntOther) << "整数计算异常(基类)";
        QTest::newRow("float invalid") << int(ErrorKind::FloatInvalid) << "无效浮点操作指令";
        QTest::newRow("float overflow") << int(ErrorKind::FloatOverflow) << "浮点操作上溢";
        QTest::newRow("float underflow") << int(ErrorKind::FloatUnderflow) << "浮点操作下溢";
        QTest::newRow("float div zero") << int(ErrorKind::FloatDivZero) << "浮点计算除0";
        QTest::newRow("float other") << int(ErrorKind::FloatOther) << "浮点数计算异常(基类)";
        QTest::newRow("cast") << int(ErrorKind::InvalidCast) << "类型转换异常";
        QTest::newRow("database") << int(ErrorKind::Database) << "数据库错误";
        QTest::newRow("file") << int(ErrorKind::FileOpen) << "文件不能打开";
        QTest::newRow("memory") << int(ErrorKind::AccessViolation) << "访问了无效的内存区域!";
        QTest::newRow("other") << int(ErrorKind::Other) << "系统错误!";
    }
    void categories() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QCOMPARE(categoryText(ErrorKind(kind)), text);
    }

    void integerDivisionByZeroIsItsOwnKind() {
        try {
            checkedDiv(7, 0);
            QFAIL("no error");
        } catch (...) {
            QCOMPARE(classify(std::current_exception()).kind, ErrorKind::IntDivZero);
        }
    }

    void overflowIsCaught() {
        QVERIFY_THROWS_EXCEPTION(Error, checkedAdd(std::numeric_limits<qint64>::max(), 1));
        QVERIFY_THROWS_EXCEPTION(Error, checkedMul(std::numeric_limits<qint64>::max(), 2));
        QCOMPARE(checkedAdd(2501000001LL, 1), 2501000002LL);
    }

    void standardExceptionsClassified() {
        auto kindOf = [](auto thrower) {
            try {
                thrower();
            } catch (...) {
                return classify(std::current_exception()).kind;
            }
            return ErrorKind::Other;
        };
        QCOMPARE(kindOf([] { throw std::bad_cast(); }), ErrorKind::InvalidCast);
        QCOMPARE(kindOf([] { throw std::out_of_range("x"); }), ErrorKind::RangeCheck);
        QCOMPARE(kindOf([] { throw std::invalid_argument("x"); }), ErrorKind::Conversion);
        QCOMPARE(kindOf([] { throw 42; }), ErrorKind::Other);
    }
};

QTEST_GUILESS_MAIN(TestPasswordAndErrors)
#include "tst_password.moc"
