// Page breaking as a table: band heights in, pages and positions out.

#include "report/PageFlow.h"

#include <QtTest>

using gz::report::PageFlow;
using Role = PageFlow::Role;

Q_DECLARE_METATYPE(PageFlow::Frame)

namespace {
// One step: a body band (tag, height, keepWithNext, newPage) or the column header (tag -2).
struct Step {
    int tag;
    double height;
    double keep = 0;
    bool newPage = false;
};
using Steps = std::vector<Step>;
// Expected placements written compactly: role letter H (page header), C (column header),
// B<tag> (body), F (page footer), with page and y.
struct Want {
    char role;
    int tag;
    int page;
    double y;
};
using Wants = std::vector<Want>;
} // namespace
Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(Wants)

class TstPageFlow : public QObject {
    Q_OBJECT
private slots:
    void flow_data() {
        QTest::addColumn<PageFlow::Frame>("frame");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<Wants>("want");
        QTest::addColumn<int>("pages");

        QTest::newRow("all fit on one page")
            << PageFlow::Frame{100, 10, 5, 8} << Steps{{0, 20}, {-2, 0}, {1, 10}, {1, 10}}
            << Wants{{'H', -1, 1, 0}, {'B', 0, 1, 10}, {'C', -1, 1, 30},
                     {'B', 1, 1, 35}, {'B', 1, 1, 45}, {'F', -1, 1, 92}}
            << 1;
        // Limit is 100 - 8 = 92: rows at 35..85 fit, the row at 85 would end at 95 > 92.
        QTest::newRow("row that does not fit moves on, headers repeat")
            << PageFlow::Frame{100, 10, 5, 8}
            << Steps{{0, 20}, {-2, 0}, {1, 10}, {1, 10}, {1, 10}, {1, 10}, {1, 10}, {1, 10}}
            << Wants{{'H', -1, 1, 0},  {'B', 0, 1, 10}, {'C', -1, 1, 30}, {'B', 1, 1, 35},  {'B', 1, 1, 45},
                     {'B', 1, 1, 55},  {'B', 1, 1, 65}, {'B', 1, 1, 75},  {'F', -1, 1, 92}, {'H', -1, 2, 0},
                     {'C', -1, 2, 10}, {'B', 1, 2, 15}, {'F', -1, 2, 92}}
            << 2;
        QTest::newRow("exact fit stays on the page")
            << PageFlow::Frame{50, 0, 0, 10} << Steps{{1, 20}, {1, 20}, {1, 1}}
            << Wants{{'B', 1, 1, 0}, {'B', 1, 1, 20}, {'F', -1, 1, 40}, {'B', 1, 2, 0}, {'F', -1, 2, 40}}
            << 2;
        QTest::newRow("summary never overlaps the page footer")
            << PageFlow::Frame{60, 0, 0, 15} << Steps{{1, 20}, {1, 20}, {9, 10}}
            << Wants{{'B', 1, 1, 0}, {'B', 1, 1, 20}, {'F', -1, 1, 45}, {'B', 9, 2, 0}, {'F', -1, 2, 45}}
            << 2;
        QTest::newRow("group header kept with its first row")
            << PageFlow::Frame{50, 0, 0, 0} << Steps{{1, 20}, {1, 20}, {5, 6, 10}, {1, 10}}
            << Wants{{'B', 1, 1, 0}, {'B', 1, 1, 20}, {'B', 5, 2, 0}, {'B', 1, 2, 6}} << 2;
        QTest::newRow("group starting a new page")
            << PageFlow::Frame{100, 5, 0, 0} << Steps{{5, 6, 0, true}, {1, 10}, {5, 6, 0, true}, {1, 10}}
            << Wants{{'H', -1, 1, 0}, {'B', 5, 1, 5}, {'B', 1, 1, 11},
                     {'H', -1, 2, 0}, {'B', 5, 2, 5}, {'B', 1, 2, 11}}
            << 2;
        QTest::newRow("band taller than a page is placed once, not looped")
            << PageFlow::Frame{50, 5, 0, 5} << Steps{{1, 10}, {2, 80}, {1, 10}}
            << Wants{{'H', -1, 1, 0},  {'B', 1, 1, 5},  {'F', -1, 1, 45}, {'H', -1, 2, 0}, {'B', 2, 2, 5},
                     {'F', -1, 2, 45}, {'H', -1, 3, 0}, {'B', 1, 3, 5},   {'F', -1, 3, 45}}
            << 3;
        QTest::newRow("column header at the foot moves with the rows")
            << PageFlow::Frame{50, 0, 8, 0} << Steps{{0, 45}, {-2, 0}, {1, 10}}
            << Wants{{'B', 0, 1, 0}, {'C', -1, 2, 0}, {'B', 1, 2, 8}} << 2;
        QTest::newRow("empty report is one page")
            << PageFlow::Frame{50, 0, 0, 5} << Steps{} << Wants{{'F', -1, 1, 45}} << 1;
    }
    void flow() {
        QFETCH(PageFlow::Frame, frame);
        QFETCH(Steps, steps);
        QFETCH(Wants, want);
        QFETCH(int, pages);
        PageFlow f(frame);
        std::vector<PageFlow::Placed> got;
        for (const Step& s : steps) {
            auto part = s.tag == -2 ? f.addColumnHeader() : f.add(s.tag, s.height, s.keep, s.newPage);
            got.insert(got.end(), part.begin(), part.end());
        }
        auto last = f.finish();
        got.insert(got.end(), last.begin(), last.end());
        QString seen;
        for (const auto& p : got) {
            const char r = p.role == Role::PageHeader     ? 'H'
                           : p.role == Role::ColumnHeader ? 'C'
                           : p.role == Role::Body         ? 'B'
                                                          : 'F';
            seen += QStringLiteral("%1%2@%3:%4 ").arg(QChar::fromLatin1(r)).arg(p.tag).arg(p.page).arg(p.y);
        }
        QString expected;
        for (const Want& w : want)
            expected +=
                QStringLiteral("%1%2@%3:%4 ").arg(QChar::fromLatin1(w.role)).arg(w.tag).arg(w.page).arg(w.y);
        QCOMPARE(seen, expected);
        QCOMPARE(f.pageCount(), pages);
        // Nothing but the footer reaches below the limit, except a band taller than a page.
        for (const auto& p : got)
            if (p.role != Role::PageFooter &&
                p.height <= frame.bodyHeight - frame.pageFooterHeight - frame.pageHeaderHeight)
                QVERIFY2(p.y + p.height <= f.limit() + 1e-9, qPrintable(seen));
    }
};

QTEST_GUILESS_MAIN(TstPageFlow)
#include "tst_pageflow.moc"
