// Wage documents from the command line: doc new, line, recalc, post, reverse, discard, copy, show.
// Each command runs the entry window's or the posted view's commands through the same document
// session, without questions but with every check; a refused command leaves the data file as it
// was.

#include "cli/Cli.h"
#include "core/data/Dataset.h"
#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "core/master/Lookup.h"
#include "core/session/Session.h"
#include "core/wages/DocumentSession.h"
#include "core/wages/LineArithmetic.h"

#include <QDate>

namespace gz::cli {
namespace {

const DocumentKind& kindArg(Context& ctx) {
    const QString code = ctx.positional(1, QStringLiteral("KIND"));
    const DocumentKind* k = documentKindByCode(code);
    if (!k) throw UsageError{QStringLiteral("KIND is jj, jf or js: %1").arg(code)};
    return *k;
}

void refuseIf(const Check& c) {
    if (c) throw Refusal{*c};
}

// The finer rights of an operator who logged in (the administrator has them all).
void requireRight(Context& ctx, const QString& area, bool AreaRights::*right) {
    Database& db = ctx.db();
    if (ctx.user.isEmpty() || isAdministrator(ctx.user)) return;
    if (!(areaRights(db, ctx.user, area).*right)) throw Refusal{msg::noRight()};
}

DocumentHeader existing(Context& ctx, const DocumentKind& kind, const QString& docNo) {
    auto h = readHeader(ctx.db(), kind, docNo);
    if (!h) throw Refusal{DocumentSession::notFoundMessage()};
    return *h;
}

double numberArg(const QString& option, const QString& text) {
    try {
        return parseNumber(text).value_or(0);
    } catch (const Error&) {
        throw UsageError{QStringLiteral("%1 needs a number: %2").arg(option, text)};
    }
}

int cmdNew(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_blist"), &AreaRights::create);
    Database& db = ctx.db();
    const QDate today = QDate::currentDate();
    Transaction tx(db);
    DocumentSession s = DocumentSession::startNew(db, kind, today);
    if (auto b = ctx.option(QStringLiteral("--branch"))) {
        s.boxes().branchId = *b;
        refuseIf(s.leaveWorkshopBox());
    }
    if (auto gh = ctx.option(QStringLiteral("--gh"))) {
        s.boxes().gh = *gh;
        refuseIf(s.leaveDedicatedEmployeeBox());
    }
    if (auto d = ctx.option(QStringLiteral("--date"))) s.boxes().billDate = ctx.dateArg(*d);
    if (auto d = ctx.option(QStringLiteral("--workdate"))) s.boxes().workDate = ctx.dateArg(*d);
    if (auto r = ctx.option(QStringLiteral("--remark"))) s.boxes().remark = *r;
    // The first line of a new document is an empty one; lines come with "doc line".
    while (s.lineCount() > 0)
        s.removeLine(0);
    s.storeHeader();
    tx.commit();
    ctx.out << s.number() << "\n";
    return Done;
}

int cmdLine(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_blist"), &AreaRights::open);
    const QString docNo = ctx.positional(2, QStringLiteral("DOCNO"));
    Database& db = ctx.db();
    if (existing(ctx, kind, docNo).pass) throw Refusal{DocumentSession::postedMessage()};

    // Numbers are checked before anything is written.
    struct NumberOption {
        const char* option;
        const char* field;
    };
    static const NumberOption numberOptions[] = {{"--sl", "sl"},
                                                 {"--dj", "dj"},
                                                 {"--basegz", "basegz"},
                                                 {"--overtime", "overtime"},
                                                 {"--overje", "overje"},
                                                 {"--latetime", "latetime"},
                                                 {"--lateje", "lateje"},
                                                 {"--superscale", "superscale"},
                                                 {"--spelltime", "spelltime"}};
    std::vector<std::pair<QString, double>> numbers;
    for (const NumberOption& o : numberOptions)
        if (auto v = ctx.option(QString::fromLatin1(o.option)))
            numbers.emplace_back(QString::fromLatin1(o.field), numberArg(QString::fromLatin1(o.option), *v));

    Transaction tx(db);
    DocumentSession s = DocumentSession::open(db, kind, docNo, QDate::currentDate());
    Result<QString> added = s.addLine();
    refuseIf(added.check());
    const int row = s.lines().current();
    if (auto gh = ctx.option(QStringLiteral("--gh")))
        refuseIf(s.typeEmployeeIntoLine(row, padEmployeeNumber(*gh)));
    if (auto id = ctx.option(QStringLiteral("--id"))) {
        auto p = findProduct(db, id->trimmed());
        if (!p) throw Refusal{QStringLiteral("查无此货号！")};
        s.productIntoLine(row, *p);
    }
    bool overjeGiven = false, latejeGiven = false;
    for (const auto& [field, value] : numbers) {
        s.setLineText(row, field, QString::number(value, 'g', 17));
        overjeGiven |= field == QLatin1String("overje");
        latejeGiven |= field == QLatin1String("lateje");
    }
    if (auto r = ctx.option(QStringLiteral("--remark"))) s.setLineText(row, QStringLiteral("remark"), *r);

    Dataset& ls = s.lines();
    auto real = [&](const char* f) { return ls.real(row, ls.columnIndex(QString::fromLatin1(f))); };
    // As the time editor computes them on leaving 加班时间 and 迟到时间.
    if (kind.id == KindId::Time && ctx.option(QStringLiteral("--overtime")) && !overjeGiven) {
        const double multiplier =
            db.scalar(QStringLiteral("SELECT djbl FROM config ORDER BY ID LIMIT 1")).toDouble();
        Result<double> pay = overtimePay(real("dj"), real("overtime"), multiplier, real("spelltime"));
        refuseIf(pay.check());
        s.setLineText(row, QStringLiteral("overje"), QString::number(pay.value(), 'f', 2));
    }
    if (kind.id == KindId::Time && ctx.option(QStringLiteral("--latetime")) && !latejeGiven)
        s.setLineText(row, QStringLiteral("lateje"),
                      QString::number(latenessDeduction(kDefaultLateRate, real("latetime")), 'f', 2));
    LineFigures f;
    f.price = real("dj");
    f.quantity = real("sl");
    f.proinf = real("proinf");
    f.qsinf = real("qsinf");
    f.superscale = kind.id == KindId::Time ? 0 : real("superscale");
    f.backtime = real("backtime");
    s.setLineText(row, QStringLiteral("jge"), QString::number(lineAmount(f), 'g', 17));
    tx.commit();
    ctx.out << added.value() << "\n";
    return Done;
}

int cmdRecalc(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_blist"), &AreaRights::open);
    const QString docNo = ctx.positional(2, QStringLiteral("DOCNO"));
    if (existing(ctx, kind, docNo).pass) throw Refusal{DocumentSession::postedMessage()};
    DocumentSession s = DocumentSession::open(ctx.db(), kind, docNo, QDate::currentDate());
    Check c = s.recalculate();
    if (c && !c->isEmpty()) throw Refusal{*c};
    return Done;
}

int cmdPost(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_blist"), &AreaRights::open);
    const QString docNo = ctx.positional(2, QStringLiteral("DOCNO"));
    existing(ctx, kind, docNo);
    DocumentSession s = DocumentSession::open(ctx.db(), kind, docNo, QDate::currentDate());
    Check c = s.post();
    // The window stops without a word on a document without lines; here that must not look done.
    if (c && c->isEmpty()) throw Refusal{QStringLiteral("明细表为空,不能过帐！")};
    refuseIf(c);
    return Done;
}

int cmdReverse(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_bdetail"), &AreaRights::reverse);
    const QString docNo = ctx.positional(2, QStringLiteral("DOCNO"));
    refuseIf(DocumentSession::reverse(ctx.db(), kind, docNo));
    return Done;
}

int cmdDiscard(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_blist"), &AreaRights::open);
    const QString docNo = ctx.positional(2, QStringLiteral("DOCNO"));
    existing(ctx, kind, docNo);
    DocumentSession s = DocumentSession::open(ctx.db(), kind, docNo, QDate::currentDate());
    refuseIf(s.discard());
    return Done;
}

int cmdCopy(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_blist"), &AreaRights::create);
    const QString docNo = ctx.positional(2, QStringLiteral("DOCNO"));
    const DocumentHeader h = existing(ctx, kind, docNo);
    Database& db = ctx.db();
    const QDate today = QDate::currentDate();
    if (h.pass) {
        Result<QString> r = DocumentSession::copyPosted(db, kind, docNo, today);
        refuseIf(r.check());
        ctx.out << r.value() << "\n";
        return Done;
    }
    // The entry window's copy also recalculates the new document; both happen together or not at all.
    Transaction tx(db);
    DocumentSession s = DocumentSession::open(db, kind, docNo, today);
    Result<QString> r = s.copy();
    refuseIf(r.check());
    tx.commit();
    ctx.out << r.value() << "\n";
    return Done;
}

int cmdShow(Context& ctx, const DocumentKind& kind) {
    requireRight(ctx, QStringLiteral("in_blist"), &AreaRights::open);
    const QString docNo = ctx.positional(2, QStringLiteral("DOCNO"));
    existing(ctx, kind, docNo);
    Database& db = ctx.db();
    Dataset header;
    header.open(db, QStringLiteral("SELECT * FROM %1 WHERE intno = :p1").arg(kind.headerTable), {docNo});
    ctx.printCsv(header);
    ctx.out << "\n";
    Dataset lines;
    lines.open(db,
               QStringLiteral("SELECT * FROM %1 WHERE mainintno = :p1 ORDER BY intno").arg(kind.lineTable),
               {docNo});
    ctx.printCsv(lines);
    return Done;
}

int cmdDoc(Context& ctx) {
    const QString verb = ctx.positional(0, QStringLiteral("new|line|recalc|post|reverse|discard|copy|show"));
    const DocumentKind& kind = kindArg(ctx);
    if (verb == QLatin1String("new")) return cmdNew(ctx, kind);
    if (verb == QLatin1String("line")) return cmdLine(ctx, kind);
    if (verb == QLatin1String("recalc")) return cmdRecalc(ctx, kind);
    if (verb == QLatin1String("post")) return cmdPost(ctx, kind);
    if (verb == QLatin1String("reverse")) return cmdReverse(ctx, kind);
    if (verb == QLatin1String("discard")) return cmdDiscard(ctx, kind);
    if (verb == QLatin1String("copy")) return cmdCopy(ctx, kind);
    if (verb == QLatin1String("show")) return cmdShow(ctx, kind);
    throw UsageError{QStringLiteral("unknown doc command %1").arg(verb)};
}

const bool registered = registerCommand(
    {QStringLiteral("doc"),
     QStringLiteral(
         "doc new KIND [--branch ID] [--gh NO] [--date DATE] [--workdate DATE] [--remark TEXT] | "
         "doc line KIND DOCNO [--gh NO] [--id ID] [--sl N] [--dj N] [--basegz N] [--overtime N] "
         "[--overje N] [--latetime N] [--lateje N] [--superscale N] [--spelltime N] [--remark TEXT] | "
         "doc recalc|post|reverse|discard|copy|show KIND DOCNO"),
     QStringLiteral("wage documents: new, add a line, 刷新, 过帐, 冲数, 作废, 转抄, show (KIND jj, jf, js)"),
     cmdDoc});

} // namespace
} // namespace gz::cli
