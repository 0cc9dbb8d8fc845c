#include "report/Engine.h"

#include "core/data/Errors.h"
#include "core/data/Formats.h"
#include "report/Barcode.h"
#include "report/Expression.h"
#include "report/PageFlow.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace gz::report {

namespace {

// Decimals and thousands separators of a number picture's first section ("#,##0.00" → 2, yes).
void pictureDigits(const QString& picture, int* decimals, bool* thousands) {
    *decimals = -1;
    *thousands = false;
    if (picture.isEmpty()) return;
    QString first = picture.section(u';', 0, 0);
    // Ignore quoted text.
    QString plain;
    bool quoted = false;
    for (QChar c : first) {
        if (c == u'"' || c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (!quoted) plain += c;
    }
    const int dot = plain.indexOf(u'.');
    *thousands = plain.left(dot < 0 ? plain.size() : dot).contains(u',');
    *decimals = 0;
    if (dot >= 0)
        for (int i = dot + 1; i < plain.size() && (plain[i] == u'0' || plain[i] == u'#'); ++i)
            ++*decimals;
}

int frameBits(const QString& f) {
    if (f == QLatin1String("all")) return 15;
    int bits = 0;
    if (f.contains(u'l')) bits |= 1;
    if (f.contains(u't')) bits |= 2;
    if (f.contains(u'r')) bits |= 4;
    if (f.contains(u'b')) bits |= 8;
    return bits;
}

struct CompiledObject {
    const ReportObject* o = nullptr;
    TextTemplate text;
    Expression highlight;
    Expression data; // picture field or barcode data
    QImage fileImage;
    int decimals = -1;
    bool thousands = false;
    int frame = 0;
    bool constant = false;
    bool pages = false; // its text reads the page count
    // The last picture read from a field, so a logo on every page is decoded once.
    mutable QByteArray lastBlob;
    mutable QImage lastImage;
};

struct CompiledBand {
    const Band* band = nullptr;
    std::vector<CompiledObject> objects;
    Expression groupBy;
};

struct Aggregate {
    AggKind kind = AggKind::Sum;
    std::shared_ptr<const Node> arg;
    int scope = 0; // 0 report, 1 page, 2 + n group n
    double sum = 0;
    long long count = 0;
    double min = 0, max = 0;
    void reset() {
        sum = 0;
        count = 0;
        min = max = 0;
    }
};

class Engine : public Compiler, public Scope {
public:
    Engine(const Template& t, const Channels& ch, const PrepareOptions& opt) : t_(t), ch_(ch), opt_(opt) {}

    PreparedReport run() {
        compileAll();
        if (!usesPages_) {
            PreparedReport out = pass(0);
            out.title = t_.title;
            return out;
        }
        if (pagesIndirect_) {
            // PAGES inside a calculation: lay out once to count the pages, then again.
            const int pages = static_cast<int>(pass(0).pages.size());
            PreparedReport out = pass(pages);
            out.title = t_.title;
            return out;
        }
        // PAGES alone: print a stand-in and write the count in once it is known.
        PreparedReport out = pass(kPagesStandIn);
        const QString standIn = QString::number(kPagesStandIn);
        const QString count = QString::number(out.pages.size());
        for (const auto& [page, item] : pagesItems_) {
            PageItem& it = out.pages[static_cast<std::size_t>(page)].items[static_cast<std::size_t>(item)];
            it.text.replace(standIn, count);
            if (it.hasNumber && it.number == kPagesStandIn) it.number = static_cast<double>(out.pages.size());
        }
        out.title = t_.title;
        return out;
    }

    // Compiler
    const DataSource* resolveChannel(const QString& channel) override { return ch_.source(channel); }
    QString defaultChannel() const override {
        return compilingChannel_.isEmpty() && master_ ? master_->channel : compilingChannel_;
    }
    int registerAggregate(AggKind kind, std::shared_ptr<const Node> arg, const QString& scope) override {
        Aggregate a;
        a.kind = kind;
        a.arg = std::move(arg);
        if (scope == QLatin1String("report"))
            a.scope = 0;
        else if (scope == QLatin1String("page"))
            a.scope = 1;
        else if (scope == QLatin1String("group"))
            a.scope = compilingGroup_ >= 0 ? 2 + compilingGroup_ : 0;
        else
            a.scope = compilingScope_;
        aggs_.push_back(a);
        return static_cast<int>(aggs_.size()) - 1;
    }

    // Scope
    int rowOf(const DataSource* src) const override {
        if (src == masterSrc_) return row_;
        return src ? src->currentRow() : -1;
    }
    int page() const override { return page_; }
    int pages() const override { return pages_; }
    int line() const override { return row_ + 1; }
    QDate today() const override { return opt_.today; }
    Value aggregate(int id) const override {
        const Aggregate& a = aggs_[static_cast<std::size_t>(id)];
        switch (a.kind) {
        case AggKind::Sum:
            return Value::number(a.sum);
        case AggKind::Count:
            return Value::number(static_cast<double>(a.count));
        case AggKind::Avg:
            return a.count ? Value::number(a.sum / static_cast<double>(a.count)) : Value::number(0);
        case AggKind::Min:
            return a.count ? Value::number(a.min) : Value();
        case AggKind::Max:
            return a.count ? Value::number(a.max) : Value();
        }
        return {};
    }

private:
    CompiledBand compileBand(const Band& b, int scope, int group) {
        CompiledBand cb;
        cb.band = &b;
        compilingScope_ = scope;
        compilingGroup_ = group;
        compilingChannel_ = b.kind == BandKind::MasterData ? b.channel : QString();
        if (!b.groupBy.isEmpty()) cb.groupBy = compileExpr(b.groupBy);
        for (const ReportObject& o : b.objects) {
            CompiledObject co;
            co.o = &o;
            co.frame = frameBits(o.frame);
            switch (o.kind) {
            case ObjectKind::Text:
                co.text = compileText(o.text);
                co.constant = co.text.isConstant();
                co.pages = co.text.usesPages();
                usesPages_ = usesPages_ || co.pages;
                // A picture with thousands separators would split the stand-in for the count.
                if (co.pages && (!co.text.pagesDirectOnly() || o.format.contains(u',')))
                    pagesIndirect_ = true;
                if (!o.highlight.isEmpty()) co.highlight = compileExpr(o.highlight);
                pictureDigits(o.format, &co.decimals, &co.thousands);
                break;
            case ObjectKind::Picture:
                if (!o.expr.isEmpty()) co.data = compileExpr(o.expr);
                if (!o.file.isEmpty()) {
                    const QString path =
                        QFileInfo(o.file).isAbsolute() ? o.file : QDir(opt_.baseDir).filePath(o.file);
                    co.fileImage.load(path);
                }
                break;
            case ObjectKind::Barcode:
                co.data = compileExpr(o.expr.isEmpty() ? o.text : o.expr);
                break;
            default:
                break;
            }
            cb.objects.push_back(std::move(co));
        }
        compilingChannel_.clear();
        return cb;
    }

    Expression compileExpr(const QString& src) {
        try {
            Expression e = Expression::compile(src, *this);
            if (e.usesPages()) usesPages_ = pagesIndirect_ = true; // outside a text: count first
            return e;
        } catch (const Error& e) {
            throw Error(e.kind(), named(e.message()));
        }
    }
    TextTemplate compileText(const QString& src) {
        try {
            return TextTemplate::compile(src, *this);
        } catch (const Error& e) {
            throw Error(e.kind(), named(e.message()));
        }
    }
    QString named(const QString& m) const {
        return t_.title.isEmpty() ? m : QStringLiteral("%1: %2").arg(t_.title, m);
    }

    void compileAll() {
        for (const Band& b : t_.bands)
            if (b.kind == BandKind::MasterData && !master_) master_ = &b;
        masterSrc_ = master_ ? ch_.source(master_->channel) : nullptr;
        int headers = 0, footers = 0;
        for (const Band& b : t_.bands) {
            switch (b.kind) {
            case BandKind::Title:
                if (!title_) title_.emplace(compileBand(b, 0, -1));
                break;
            case BandKind::PageHeader:
                if (!pageHeader_) pageHeader_.emplace(compileBand(b, 1, -1));
                break;
            case BandKind::ColumnHeader:
                if (!columnHeader_) columnHeader_.emplace(compileBand(b, 0, -1));
                break;
            case BandKind::PageFooter:
                if (!pageFooter_) pageFooter_.emplace(compileBand(b, 1, -1));
                break;
            case BandKind::Summary:
                if (!summary_) summary_.emplace(compileBand(b, 0, -1));
                break;
            case BandKind::MasterData:
                if (&b == master_) masterBand_.emplace(compileBand(b, 0, -1));
                break;
            case BandKind::GroupHeader:
                groupHeaders_.push_back(compileBand(b, 2 + headers, headers));
                ++headers;
                break;
            case BandKind::GroupFooter:
                groupFooters_.push_back(compileBand(b, 2 + footers, footers));
                ++footers;
                break;
            }
        }
        // A group needs its header (which says what to group by).
        while (groupHeaders_.size() < groupFooters_.size())
            groupFooters_.pop_back();
    }

    static double h(const std::optional<CompiledBand>& b) { return b ? b->band->height : 0; }

    PreparedReport pass(int pages) {
        pages_ = pages;
        page_ = 0;
        pagesItems_.clear();
        row_ = 0; // bands before the rows (title, headers) show the first row, as the classic designers do
        for (Aggregate& a : aggs_)
            a.reset();
        PreparedReport out;
        out_ = &out;
        PageFlow::Frame frame;
        frame.bodyHeight = t_.page.pageHeight() - t_.page.top - t_.page.bottom;
        frame.pageHeaderHeight = h(pageHeader_);
        frame.columnHeaderHeight = h(columnHeader_);
        frame.pageFooterHeight = h(pageFooter_);
        PageFlow flow(frame);

        enum Tag { TTitle = -10, TSummary = -11, TMaster = -12 };
        // Group header n has tag n, group footer n tag 1000 + n.
        auto placeAll = [&](const std::vector<PageFlow::Placed>& placed) {
            for (const PageFlow::Placed& p : placed) {
                if (p.page != page_) startPage(p.page);
                switch (p.role) {
                case PageFlow::Role::PageHeader:
                    render(*pageHeader_, p.y);
                    break;
                case PageFlow::Role::ColumnHeader:
                    render(*columnHeader_, p.y);
                    break;
                case PageFlow::Role::PageFooter:
                    render(*pageFooter_, p.y);
                    break;
                case PageFlow::Role::Body:
                    if (p.tag == TTitle)
                        render(*title_, p.y);
                    else if (p.tag == TSummary)
                        render(*summary_, p.y);
                    else if (p.tag == TMaster) {
                        accumulate();
                        render(*masterBand_, p.y);
                    } else if (p.tag >= 1000)
                        render(groupFooters_[static_cast<std::size_t>(p.tag - 1000)], p.y);
                    else
                        render(groupHeaders_[static_cast<std::size_t>(p.tag)], p.y);
                    break;
                }
            }
        };

        if (title_) placeAll(flow.add(TTitle, h(title_)));
        if (columnHeader_) placeAll(flow.addColumnHeader());

        const int rows = masterSrc_ && masterBand_ ? masterSrc_->rowCount() : 0;
        const int groups = static_cast<int>(groupHeaders_.size());
        std::vector<QString> keys(static_cast<std::size_t>(groups));
        const double masterH = masterBand_ ? masterBand_->band->height : 0;
        for (int r = 0; r < rows; ++r) {
            row_ = r;
            int changed = groups;
            for (int g = 0; g < groups; ++g) {
                const QString k = groupHeaders_[static_cast<std::size_t>(g)].groupBy.eval(*this).toText();
                if ((r == 0 || k != keys[static_cast<std::size_t>(g)]) && changed == groups) changed = g;
                keys[static_cast<std::size_t>(g)] = k;
            }
            if (r == 0) changed = 0;
            if (changed < groups) {
                if (r > 0) {
                    row_ = r - 1; // footers show the last row of their group
                    for (int g = static_cast<int>(groupFooters_.size()) - 1; g >= changed; --g)
                        placeAll(flow.add(1000 + g, groupFooters_[static_cast<std::size_t>(g)].band->height));
                    row_ = r;
                }
                for (int g = changed; g < groups; ++g) {
                    resetScope(2 + g);
                    double below = masterH;
                    for (int n = g + 1; n < groups; ++n)
                        below += groupHeaders_[static_cast<std::size_t>(n)].band->height;
                    const Band& gb = *groupHeaders_[static_cast<std::size_t>(g)].band;
                    placeAll(flow.add(g, gb.height, below, gb.newPage && r > 0));
                }
            }
            placeAll(flow.add(TMaster, masterH));
        }
        if (rows > 0) {
            row_ = rows - 1;
            for (int g = static_cast<int>(groupFooters_.size()) - 1; g >= 0; --g)
                placeAll(flow.add(1000 + g, groupFooters_[static_cast<std::size_t>(g)].band->height));
        }
        if (summary_) placeAll(flow.add(TSummary, h(summary_)));
        placeAll(flow.finish());
        if (out.pages.empty()) startPage(1); // an empty report is still one (blank) page
        out_ = nullptr;
        return out;
    }

    void startPage(int page) {
        page_ = page;
        resetScope(1);
        while (static_cast<int>(out_->pages.size()) < page) {
            PreparedPage p;
            p.width = t_.page.pageWidth();
            p.height = t_.page.pageHeight();
            out_->pages.push_back(std::move(p));
        }
    }

    void resetScope(int scope) {
        for (Aggregate& a : aggs_)
            if (a.scope == scope || (scope >= 2 && a.scope > scope)) a.reset();
    }

    void accumulate() {
        for (Aggregate& a : aggs_) {
            double v = 0;
            if (a.arg) {
                const Value x = evalNode(*a.arg, *this);
                if (x.isNull()) continue;
                v = x.toNumber();
            }
            if (a.count == 0) {
                a.min = a.max = v;
            } else {
                a.min = std::min(a.min, v);
                a.max = std::max(a.max, v);
            }
            a.sum += v;
            ++a.count;
        }
    }

    void render(const CompiledBand& cb, double bandY) {
        PreparedPage& page = out_->pages[static_cast<std::size_t>(page_ - 1)];
        const double ox = t_.page.left, oy = t_.page.top + bandY;
        for (const CompiledObject& co : cb.objects) {
            const ReportObject& o = *co.o;
            PageItem it;
            it.rect = QRectF(ox + o.x, oy + o.y, o.w, o.h);
            it.frame = co.frame;
            it.lineWidth = o.lineWidth;
            it.lineStyle = static_cast<int>(o.lineStyle);
            it.color = o.color;
            it.fill = o.fill;
            switch (o.kind) {
            case ObjectKind::Text: {
                it.type = PageItem::Type::Text;
                if (co.constant) {
                    it.text = co.text.render(*this, QString());
                } else if (co.text.isSingleExpression()) {
                    const Value v = co.text.single(*this);
                    it.text = v.toText(o.format);
                    if (v.type == Value::Type::Number) {
                        it.hasNumber = true;
                        it.decimals = co.decimals;
                        it.thousands = co.thousands;
                        // The value as printed, so spreadsheet sums equal the printed figures.
                        it.number = co.decimals >= 0
                                        ? formatNumber(v.num, co.decimals > 0 ? QStringLiteral("0.") +
                                                                                    QString(co.decimals, u'0')
                                                                              : QStringLiteral("0"))
                                              .toDouble()
                                        : v.num;
                    }
                } else {
                    it.text = co.text.render(*this, o.format);
                }
                if (it.text.isEmpty() && !it.frame && !it.fill.isValid()) continue;
                it.fontFamily = o.fontFamily.isEmpty() ? t_.fontFamily : o.fontFamily;
                it.fontSize = o.fontSize;
                it.bold = o.bold;
                it.italic = o.italic;
                it.align = static_cast<int>(o.align);
                it.valign = static_cast<int>(o.valign);
                it.wrap = o.wrap;
                if (co.highlight.isValid() && co.highlight.eval(*this).truthy()) it.color = o.highlightColor;
                break;
            }
            case ObjectKind::Line:
                it.type = PageItem::Type::Line;
                it.rect = QRectF(QPointF(ox + o.x, oy + o.y), QPointF(ox + o.x2, oy + o.y2));
                break;
            case ObjectKind::Rect:
                it.type = PageItem::Type::Rect;
                if (!it.frame) it.frame = 15;
                break;
            case ObjectKind::Picture: {
                it.type = PageItem::Type::Picture;
                if (co.data.isValid()) {
                    const QByteArray bytes = pictureBytes(co);
                    if (bytes != co.lastBlob) {
                        co.lastBlob = bytes;
                        co.lastImage = QImage::fromData(bytes);
                    }
                    it.image = co.lastImage;
                } else {
                    it.image = co.fileImage;
                }
                if (it.image.isNull() && !it.frame) continue;
                if (!it.image.isNull() && o.keepAspect) {
                    QSizeF s = QSizeF(it.image.size()).scaled(it.rect.size(), Qt::KeepAspectRatio);
                    it.rect = QRectF(it.rect.topLeft(), s);
                }
                break;
            }
            case ObjectKind::Barcode: {
                it.type = PageItem::Type::Barcode;
                const QString data = co.data.eval(*this).toText().trimmed();
                it.bars = barcodeBars(o.barcode, data, it.rect.size());
                it.text = data;
                if (it.bars.empty()) continue;
                break;
            }
            }
            if (co.pages) pagesItems_.emplace_back(page_ - 1, static_cast<int>(page.items.size()));
            page.items.push_back(std::move(it));
        }
    }

    // The bytes of a picture field: the field the expression names, read as binary.
    QByteArray pictureBytes(const CompiledObject& co) const {
        const QString src = co.o->expr;
        const int dot = src.indexOf(u'.');
        const QString channel = dot > 0 ? src.left(dot).trimmed() : defaultChannelFor();
        const QString field = dot > 0 ? src.mid(dot + 1).trimmed() : src.trimmed();
        const DataSource* s = ch_.source(channel);
        if (!s) return {};
        const int col = s->columnIndex(field);
        const int row = rowOf(s);
        if (col < 0 || row < 0 || row >= s->rowCount() || s->isNull(row, col)) return {};
        return s->blob(row, col);
    }
    QString defaultChannelFor() const { return master_ ? master_->channel : QString(); }

    const Template& t_;
    const Channels& ch_;
    PrepareOptions opt_;
    const Band* master_ = nullptr;
    const DataSource* masterSrc_ = nullptr;
    std::optional<CompiledBand> title_, pageHeader_, columnHeader_, pageFooter_, summary_, masterBand_;
    std::vector<CompiledBand> groupHeaders_, groupFooters_;
    std::vector<Aggregate> aggs_;
    bool usesPages_ = false;
    bool pagesIndirect_ = false;
    static constexpr int kPagesStandIn = 1987654321;
    std::vector<std::pair<int, int>> pagesItems_; // page, item of texts holding the stand-in
    int compilingScope_ = 0;
    int compilingGroup_ = -1;
    QString compilingChannel_;
    int row_ = -1;
    int page_ = 0;
    int pages_ = 0;
    PreparedReport* out_ = nullptr;
};

} // namespace

PreparedReport prepare(const Template& t, const Channels& channels, const PrepareOptions& options) {
    Engine e(t, channels, options);
    return e.run();
}

} // namespace gz::report

namespace gz::report {

PreparedReport prepareFile(const QString& templatePath, const Channels& channels,
                           const PrepareOptions& options) {
    const LoadedTemplate lt = loadTemplate(templatePath);
    if (!lt.existed)
        throw fileError(QStringLiteral("报表模板 %1 不存在").arg(QDir::toNativeSeparators(templatePath)));
    PrepareOptions opt = options;
    if (opt.baseDir.isEmpty()) opt.baseDir = QFileInfo(templatePath).absolutePath();
    return prepare(lt.report, channels, opt);
}

} // namespace gz::report
