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

GridColumn col(const char* field, const char* title, int width = 0, bool hidden = false) {
    return {QString::fromLatin1(field), QString::fromUtf8(title), width, hidden, false};
}

std::vector<GridColumn> hiddenTail() {
    return {col("overtime", "加班时间", 0, true), col("overje", "加班工资", 0, true),
            col("deduce", "扣除", 0, true), col("je", "金额", 0, true)};
}

std::vector<GridColumn> pieceEntry() {
    std::vector<GridColumn> c = {
        col("etdate", "日期", 72),     col("gh", "工号", 52),          col("xm", "姓名"),
        col("basegz", "固定工资", 63), col("prowork", "加工品名", 82), col("sl", "加工量", 47),
        col("dj", "加工价", 56),       col("jge", "加工额", 59)};
    c[0].readOnly = true;
    for (const GridColumn& h : hiddenTail())
        c.push_back(h);
    c.push_back(col("remark", "备注", 166));
    return c;
}

std::vector<GridColumn> pointsEntry() {
    std::vector<GridColumn> c = pieceEntry();
    c[5] = col("dj", "工分价", 71);
    c[6] = col("sl", "分数", 54);
    return c;
}

std::vector<GridColumn> posted(const char* priceTitle, const char* qtyTitle) {
    std::vector<GridColumn> c = {col("etdate", "日期", 71),      col("gh", "工号", 48),
                                 col("xm", "姓名", 60),          col("basegz", "固定工资", 63),
                                 col("prowork", "加工品名", 88), col("dj", priceTitle, 68),
                                 col("sl", qtyTitle, 55),        col("jge", "加工额", 72)};
    for (const GridColumn& h : hiddenTail())
        c.push_back(h);
    c.push_back(col("remark", "备注"));
    for (GridColumn& g : c)
        g.readOnly = true;
    return c;
}

std::vector<GridColumn> timeEntry() {
    std::vector<GridColumn> c = {col("etdate", "日期"),
                                 col("gh", "工号", 49),
                                 col("xm", "姓名", 82),
                                 col("basegz", "固定工资", 58),
                                 col("prowork", "加工品名", 80),
                                 col("dj", "班工价", 63),
                                 col("sl", "班数", 44),
                                 col("jge", "加工额", 48),
                                 col("overtime", "加班时间", 53),
                                 col("overje", "加班工资", 55),
                                 col("superscale", "借款金额", 68),
                                 col("remark", "备注", 132),
                                 col("deduce", "扣除", 0, true),
                                 col("je", "金额", 0, true)};
    c[0].readOnly = true;
    return c;
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
    k.priceLabel = QStringLiteral("加工价");
    k.quantityLabel = QStringLiteral("加工量");
    k.entryColumns = pieceEntry();
    k.postedColumns = posted("加工价", "加工量");
    k.recalcOnLeave = {3, 4, 6, 7};
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
    k.priceLabel = QStringLiteral("工分价");
    k.quantityLabel = QStringLiteral("分数");
    k.entryColumns = pointsEntry();
    k.postedColumns = posted("工分价", "分数");
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
    k.priceLabel = QStringLiteral("班单价");
    k.quantityLabel = QStringLiteral("班数");
    k.entryColumns = timeEntry();
    k.postedColumns = timeEntry();
    for (GridColumn& g : k.postedColumns)
        g.readOnly = true;
    k.recalcOnLeave = {3, 5, 6, 8, 9, 10};
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
