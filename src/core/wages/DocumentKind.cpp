#include "core/wages/DocumentKind.h"

namespace gz {

namespace {

QStringList baseTexts() {
    return {QStringLiteral("gh"),    QStringLiteral("xm"),      QStringLiteral("sphh"),
            QStringLiteral("id"),    QStringLiteral("product"), QStringLiteral("prowork"),
            QStringLiteral("remark")};
}

QStringList baseNumbers() {
    return {QStringLiteral("basegz"),   QStringLiteral("dj"),       QStringLiteral("sl"),
            QStringLiteral("proinf"),   QStringLiteral("qsinf"),    QStringLiteral("superscale"),
            QStringLiteral("backtime"), QStringLiteral("overtime"), QStringLiteral("overje"),
            QStringLiteral("deduce"),   QStringLiteral("jge"),      QStringLiteral("je")};
}

PayrollEffect add(const char* payroll, const char* line) {
    return {QString::fromLatin1(payroll), QString::fromLatin1(line), PayrollEffect::Add};
}
PayrollEffect set(const char* payroll, const char* line) {
    return {QString::fromLatin1(payroll), QString::fromLatin1(line), PayrollEffect::Set};
}

DocumentKind pieceKind() {
    DocumentKind k;
    k.id = KindId::Piece;
    k.code = QStringLiteral("jj");
    k.headerTable = QStringLiteral("jjgzlist");
    k.lineTable = QStringLiteral("jjgzdetail");
    k.counter = QStringLiteral("jjgzlist");
    k.listCaption = QStringLiteral("计件工资表");
    k.entryCaption = QStringLiteral("计件工资明细表");
    k.editorCaption = QStringLiteral("修改计件工资明细表");
    k.postedCaption = QStringLiteral("计件工资明细表(已过帐)");
    k.headerPickerMode = 6;
    k.linePickerMode = 16;
    k.keepsQuantityTotal = true;
    k.padsDedicatedEmployee = true;
    k.priceFromProduct = true;
    k.priceFromEmployee = false;
    k.newLineSpellTime = 0;
    k.hasPrintTemplate = true;
    k.payroll = {set("basegz", "basegz"), add("jge", "jge")};
    k.copiedTexts = baseTexts();
    k.copiedNumbers = baseNumbers();
    return k;
}

DocumentKind pointsKind() {
    DocumentKind k = pieceKind();
    k.id = KindId::Points;
    k.code = QStringLiteral("jf");
    k.headerTable = QStringLiteral("jfgzlist");
    k.lineTable = QStringLiteral("jfgzdetail");
    k.counter = QStringLiteral("jfgzlist");
    k.listCaption = QStringLiteral("计分工资表");
    k.entryCaption = QStringLiteral("计分工资明细表");
    k.editorCaption = QStringLiteral("修改计分工资明细表");
    k.postedCaption = QStringLiteral("计分工资明细表(已过帐)");
    k.headerPickerMode = 7;
    k.linePickerMode = 17;
    k.keepsQuantityTotal = false;
    k.padsDedicatedEmployee = false;
    k.priceFromProduct = false;
    k.hasPrintTemplate = false;
    k.payroll = {set("basegz", "basegz"), add("pointqty", "sl"), set("pointdj", "dj"), add("pointje", "jge")};
    return k;
}

DocumentKind timeKind() {
    DocumentKind k = pointsKind();
    k.id = KindId::Time;
    k.code = QStringLiteral("js");
    k.headerTable = QStringLiteral("jsgzlist");
    k.lineTable = QStringLiteral("jsgzdetail");
    k.counter = QStringLiteral("jsgzlist");
    k.listCaption = QStringLiteral("计时工资表");
    k.entryCaption = QStringLiteral("计时工资明细表");
    k.editorCaption = QStringLiteral("修改计时工资明细表");
    k.postedCaption = QStringLiteral("计时工资明细表(已过帐)");
    k.headerPickerMode = 8;
    k.linePickerMode = 18;
    k.priceFromEmployee = true;
    k.newLineSpellTime = 4;
    k.payroll = {set("basegz", "basegz"),     add("spellqty", "sl"),       set("spelldj", "dj"),
                 add("spellje", "jge"),       add("overtime", "overtime"), add("overje", "overje"),
                 add("latetime", "latetime"), add("lateje", "lateje"),     add("loan", "superscale")};
    k.copiedNumbers << QStringLiteral("spelltime") << QStringLiteral("latetime") << QStringLiteral("lateje");
    return k;
}

} // namespace

std::vector<PayrollEffect> DocumentKind::addedFields() const {
    std::vector<PayrollEffect> out;
    for (const PayrollEffect& e : payroll)
        if (e.mode == PayrollEffect::Add) out.push_back(e);
    return out;
}

const DocumentKind& documentKind(KindId id) {
    static const DocumentKind kinds[] = {pieceKind(), pointsKind(), timeKind()};
    return kinds[static_cast<int>(id)];
}

const std::vector<const DocumentKind*>& documentKinds() {
    static const std::vector<const DocumentKind*> all = {
        &documentKind(KindId::Piece), &documentKind(KindId::Points), &documentKind(KindId::Time)};
    return all;
}

const DocumentKind* documentKindByCode(const QString& code) {
    for (const DocumentKind* k : documentKinds())
        if (k->code == code) return k;
    return nullptr;
}

} // namespace gz
