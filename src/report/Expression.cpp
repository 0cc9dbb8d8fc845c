#include "report/Expression.h"

#include "core/data/Errors.h"
#include "core/data/Formats.h"

#include <cmath>

namespace gz::report {

double Value::toNumber() const {
    switch (type) {
    case Type::Number:
    case Type::Bool:
        return num;
    case Type::Text: {
        bool ok = false;
        const double v = str.trimmed().toDouble(&ok);
        return ok ? v : 0.0;
    }
    default:
        return 0.0;
    }
}

bool Value::truthy() const {
    switch (type) {
    case Type::Number:
    case Type::Bool:
        return num != 0;
    case Type::Text:
        return !str.isEmpty();
    case Type::Date:
        return date.isValid();
    default:
        return false;
    }
}

QString formatDate(const QDate& d, const QString& picture) {
    if (!d.isValid()) return {};
    if (picture.isEmpty()) return appDateFormat().format(d);
    // Our pictures write months as "mm" (there are no minutes in a date).
    QString qt = picture;
    qt.replace(QLatin1String("mm"), QLatin1String("MM"));
    qt.replace(QLatin1String("YY"), QLatin1String("yy"));
    return d.toString(qt);
}

QString Value::toText(const QString& picture) const {
    switch (type) {
    case Type::Number:
        return formatNumber(num, picture);
    case Type::Text:
        return str;
    case Type::Date:
        return formatDate(date, picture);
    case Type::Bool:
        return num != 0 ? QStringLiteral("√") : QString();
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------------------------

class Node {
public:
    enum class Op {
        Const,
        Field,
        Page,
        Pages,
        Line,
        Today,
        Agg,
        Neg,
        Not,
        Add,
        Sub,
        Mul,
        Div,
        Join,
        Eq,
        Ne,
        Lt,
        Gt,
        Le,
        Ge,
        And,
        Or,
        If,
        Format,
        Round,
        Abs,
        Trim
    };
    Op op = Op::Const;
    Value constant;
    const DataSource* src = nullptr;
    int col = -1;
    DataSource::Kind kind = DataSource::Kind::Text;
    int aggId = -1;
    std::vector<std::shared_ptr<const Node>> args;
};

namespace {

Value fieldValue(const Node& n, const Scope& scope) {
    const int row = scope.rowOf(n.src);
    if (row < 0 || row >= n.src->rowCount() || n.src->isNull(row, n.col)) return {};
    switch (n.kind) {
    case DataSource::Kind::Number:
        return Value::number(n.src->real(row, n.col));
    case DataSource::Kind::Bool:
        return Value::boolean(n.src->real(row, n.col) != 0);
    case DataSource::Kind::Date:
        return Value::fromDate(dateFromStored(n.src->text(row, n.col)));
    default:
        return Value::text(n.src->text(row, n.col));
    }
}

int compare(const Value& a, const Value& b) {
    if (a.type == Value::Type::Date && b.type == Value::Type::Date)
        return a.date < b.date ? -1 : (a.date > b.date ? 1 : 0);
    const bool numeric = (a.type == Value::Type::Number || a.type == Value::Type::Bool || a.isNull()) &&
                         (b.type == Value::Type::Number || b.type == Value::Type::Bool || b.isNull());
    if (numeric || a.type == Value::Type::Number || b.type == Value::Type::Number) {
        const double x = a.toNumber(), y = b.toNumber();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toText(), b.toText());
}

} // namespace

Value evalNode(const Node& n, const Scope& scope) {
    auto arg = [&](int i) { return evalNode(*n.args[static_cast<std::size_t>(i)], scope); };
    switch (n.op) {
    case Node::Op::Const:
        return n.constant;
    case Node::Op::Field:
        return fieldValue(n, scope);
    case Node::Op::Page:
        return Value::number(scope.page());
    case Node::Op::Pages:
        return Value::number(scope.pages());
    case Node::Op::Line:
        return Value::number(scope.line());
    case Node::Op::Today:
        return Value::fromDate(scope.today());
    case Node::Op::Agg:
        return scope.aggregate(n.aggId);
    case Node::Op::Neg:
        return Value::number(-arg(0).toNumber());
    case Node::Op::Not:
        return Value::boolean(!arg(0).truthy());
    case Node::Op::Add: {
        const Value a = arg(0), b = arg(1);
        if (a.type == Value::Type::Text || b.type == Value::Type::Text)
            return Value::text(a.toText() + b.toText());
        return Value::number(a.toNumber() + b.toNumber());
    }
    case Node::Op::Sub:
        return Value::number(arg(0).toNumber() - arg(1).toNumber());
    case Node::Op::Mul:
        return Value::number(arg(0).toNumber() * arg(1).toNumber());
    case Node::Op::Div: {
        const double d = arg(1).toNumber();
        if (d == 0) return {}; // nothing to show rather than infinity
        return Value::number(arg(0).toNumber() / d);
    }
    case Node::Op::Join:
        return Value::text(arg(0).toText() + arg(1).toText());
    case Node::Op::Eq:
        return Value::boolean(compare(arg(0), arg(1)) == 0);
    case Node::Op::Ne:
        return Value::boolean(compare(arg(0), arg(1)) != 0);
    case Node::Op::Lt:
        return Value::boolean(compare(arg(0), arg(1)) < 0);
    case Node::Op::Gt:
        return Value::boolean(compare(arg(0), arg(1)) > 0);
    case Node::Op::Le:
        return Value::boolean(compare(arg(0), arg(1)) <= 0);
    case Node::Op::Ge:
        return Value::boolean(compare(arg(0), arg(1)) >= 0);
    case Node::Op::And:
        return Value::boolean(arg(0).truthy() && arg(1).truthy());
    case Node::Op::Or:
        return Value::boolean(arg(0).truthy() || arg(1).truthy());
    case Node::Op::If:
        return arg(0).truthy() ? arg(1) : arg(2);
    case Node::Op::Format:
        return Value::text(arg(0).toText(arg(1).toText()));
    case Node::Op::Round: {
        const double v = arg(0).toNumber();
        const int places = n.args.size() > 1 ? static_cast<int>(arg(1).toNumber()) : 0;
        // Round the way the number pictures do, so a rounded figure and a printed one agree.
        const QString t =
            formatNumber(v, places > 0 ? QStringLiteral("0.") + QString(places, u'0') : QStringLiteral("0"));
        return Value::number(t.toDouble());
    }
    case Node::Op::Abs:
        return Value::number(std::fabs(arg(0).toNumber()));
    case Node::Op::Trim:
        return Value::text(arg(0).toText().trimmed());
    }
    return {};
}

namespace {

class Parser {
public:
    Parser(const QString& src, Compiler& c) : s_(src), c_(c) {}

    std::shared_ptr<const Node> parse() {
        auto n = parseOr();
        skip();
        if (pos_ < s_.size()) fail(QStringLiteral("多余的 \"%1\"").arg(s_.mid(pos_)));
        return n;
    }
    bool usesPages = false;

private:
    [[noreturn]] void fail(const QString& what) const {
        throw conversionError(QStringLiteral("报表表达式 \"%1\" 有误: %2").arg(s_, what));
    }
    void skip() {
        while (pos_ < s_.size() && s_[pos_].isSpace())
            ++pos_;
    }
    bool eat(const QString& tok) {
        skip();
        if (s_.mid(pos_, tok.size()).compare(tok, Qt::CaseInsensitive) != 0) return false;
        // Words must end at a word boundary ("or" is not the start of "order").
        if (tok[0].isLetter()) {
            const int end = pos_ + static_cast<int>(tok.size());
            if (end < s_.size() && (s_[end].isLetterOrNumber() || s_[end] == u'_')) return false;
        }
        pos_ += static_cast<int>(tok.size());
        return true;
    }
    static std::shared_ptr<Node> make(Node::Op op, std::vector<std::shared_ptr<const Node>> args) {
        auto n = std::make_shared<Node>();
        n->op = op;
        n->args = std::move(args);
        return n;
    }

    std::shared_ptr<const Node> parseOr() {
        auto l = parseAnd();
        while (eat(QStringLiteral("or")))
            l = make(Node::Op::Or, {l, parseAnd()});
        return l;
    }
    std::shared_ptr<const Node> parseAnd() {
        auto l = parseCmp();
        while (eat(QStringLiteral("and")))
            l = make(Node::Op::And, {l, parseCmp()});
        return l;
    }
    std::shared_ptr<const Node> parseCmp() {
        auto l = parseAdd();
        static const std::pair<const char*, Node::Op> ops[] = {{"<>", Node::Op::Ne}, {"<=", Node::Op::Le},
                                                               {">=", Node::Op::Ge}, {"<", Node::Op::Lt},
                                                               {">", Node::Op::Gt},  {"=", Node::Op::Eq}};
        for (const auto& [tok, op] : ops)
            if (eat(QLatin1String(tok))) return make(op, {l, parseAdd()});
        return l;
    }
    std::shared_ptr<const Node> parseAdd() {
        auto l = parseMul();
        for (;;) {
            if (eat(QStringLiteral("+")))
                l = make(Node::Op::Add, {l, parseMul()});
            else if (eat(QStringLiteral("-")))
                l = make(Node::Op::Sub, {l, parseMul()});
            else if (eat(QStringLiteral("&")))
                l = make(Node::Op::Join, {l, parseMul()});
            else
                return l;
        }
    }
    std::shared_ptr<const Node> parseMul() {
        auto l = parseUnary();
        for (;;) {
            if (eat(QStringLiteral("*")))
                l = make(Node::Op::Mul, {l, parseUnary()});
            else if (eat(QStringLiteral("/")))
                l = make(Node::Op::Div, {l, parseUnary()});
            else
                return l;
        }
    }
    std::shared_ptr<const Node> parseUnary() {
        if (eat(QStringLiteral("-"))) return make(Node::Op::Neg, {parseUnary()});
        if (eat(QStringLiteral("not"))) return make(Node::Op::Not, {parseUnary()});
        return parsePrimary();
    }

    QString identifier() {
        skip();
        const int start = pos_;
        while (pos_ < s_.size() && (s_[pos_].isLetterOrNumber() || s_[pos_] == u'_'))
            ++pos_;
        return s_.mid(start, pos_ - start);
    }

    std::shared_ptr<const Node> fieldNode(const QString& channel, const QString& field) {
        const DataSource* src = c_.resolveChannel(channel);
        auto n = std::make_shared<Node>();
        n->op = Node::Op::Field;
        if (!src) {
            // An unbound channel reads as closed: its fields are empty.
            n->op = Node::Op::Const;
            return n;
        }
        n->src = src;
        n->col = src->columnIndex(field);
        if (n->col < 0)
            throw databaseError(QStringLiteral("报表数据通道 %1 中没有字段 %2").arg(channel, field));
        n->kind = src->kind(n->col);
        return n;
    }

    std::shared_ptr<const Node> parsePrimary() {
        skip();
        if (pos_ >= s_.size()) fail(QStringLiteral("表达式不完整"));
        const QChar ch = s_[pos_];
        if (ch == u'(') {
            ++pos_;
            auto n = parseOr();
            if (!eat(QStringLiteral(")"))) fail(QStringLiteral("缺少 \")\""));
            return n;
        }
        if (ch == u'"' || ch == u'\'') {
            const int end = s_.indexOf(ch, pos_ + 1);
            if (end < 0) fail(QStringLiteral("引号不成对"));
            auto n = std::make_shared<Node>();
            n->constant = Value::text(s_.mid(pos_ + 1, end - pos_ - 1));
            pos_ = end + 1;
            return n;
        }
        if (ch.isDigit() || ch == u'.') {
            const int start = pos_;
            while (pos_ < s_.size() && (s_[pos_].isDigit() || s_[pos_] == u'.'))
                ++pos_;
            bool ok = false;
            const double v = s_.mid(start, pos_ - start).toDouble(&ok);
            if (!ok) fail(QStringLiteral("数字 \"%1\" 无效").arg(s_.mid(start, pos_ - start)));
            auto n = std::make_shared<Node>();
            n->constant = Value::number(v);
            return n;
        }
        const QString id = identifier();
        if (id.isEmpty()) fail(QStringLiteral("无法理解 \"%1\"").arg(s_.mid(pos_)));
        const QString up = id.toUpper();
        skip();
        if (pos_ < s_.size() && s_[pos_] == u'.') {
            ++pos_;
            QString field;
            skip();
            if (pos_ < s_.size() && s_[pos_] == u'"') { // RMDBDataSet1."field"
                const int end = s_.indexOf(u'"', pos_ + 1);
                if (end < 0) fail(QStringLiteral("引号不成对"));
                field = s_.mid(pos_ + 1, end - pos_ - 1);
                pos_ = end + 1;
            } else {
                field = identifier();
            }
            if (field.isEmpty()) fail(QStringLiteral("缺少字段名"));
            return fieldNode(id, field);
        }
        if (pos_ < s_.size() && s_[pos_] == u'(') {
            ++pos_;
            std::vector<std::shared_ptr<const Node>> args;
            skip();
            if (!eat(QStringLiteral(")"))) {
                do {
                    args.push_back(parseOr());
                } while (eat(QStringLiteral(",")));
                if (!eat(QStringLiteral(")"))) fail(QStringLiteral("缺少 \")\""));
            }
            return call(up, args);
        }
        auto n = std::make_shared<Node>();
        if (up == QLatin1String("PAGE")) {
            n->op = Node::Op::Page;
        } else if (up == QLatin1String("PAGES")) {
            n->op = Node::Op::Pages;
            usesPages = true;
        } else if (up == QLatin1String("LINE")) {
            n->op = Node::Op::Line;
        } else if (up == QLatin1String("TODAY")) {
            n->op = Node::Op::Today;
        } else if (up == QLatin1String("TRUE") || up == QLatin1String("FALSE")) {
            n->constant = Value::boolean(up == QLatin1String("TRUE"));
        } else {
            const QString channel = c_.defaultChannel();
            if (channel.isEmpty()) fail(QStringLiteral("\"%1\" 没有指明数据通道").arg(id));
            return fieldNode(channel, id);
        }
        return n;
    }

    std::shared_ptr<const Node> call(const QString& name,
                                     const std::vector<std::shared_ptr<const Node>>& args) {
        auto need = [&](std::size_t lo, std::size_t hi) {
            if (args.size() < lo || args.size() > hi)
                fail(QStringLiteral("函数 %1 的参数个数不对").arg(name));
        };
        static const std::pair<const char*, AggKind> aggs[] = {{"SUM", AggKind::Sum},
                                                               {"COUNT", AggKind::Count},
                                                               {"AVG", AggKind::Avg},
                                                               {"MIN", AggKind::Min},
                                                               {"MAX", AggKind::Max}};
        for (const auto& [fn, kind] : aggs) {
            if (name != QLatin1String(fn)) continue;
            std::shared_ptr<const Node> value;
            QString scope;
            if (kind == AggKind::Count) {
                need(0, 1);
                if (args.size() == 1) scope = scopeName(args[0]);
            } else {
                need(1, 2);
                value = args[0];
                if (args.size() == 2) scope = scopeName(args[1]);
            }
            auto n = std::make_shared<Node>();
            n->op = Node::Op::Agg;
            n->aggId = c_.registerAggregate(kind, value, scope);
            return n;
        }
        auto n = std::make_shared<Node>();
        n->args = args;
        if (name == QLatin1String("IF")) {
            need(3, 3);
            n->op = Node::Op::If;
        } else if (name == QLatin1String("FORMAT")) {
            need(2, 2);
            n->op = Node::Op::Format;
        } else if (name == QLatin1String("ROUND")) {
            need(1, 2);
            n->op = Node::Op::Round;
        } else if (name == QLatin1String("ABS")) {
            need(1, 1);
            n->op = Node::Op::Abs;
        } else if (name == QLatin1String("TRIM")) {
            need(1, 1);
            n->op = Node::Op::Trim;
        } else {
            fail(QStringLiteral("未知的函数 %1").arg(name));
        }
        return n;
    }

    QString scopeName(const std::shared_ptr<const Node>& n) const {
        const QString s = n->op == Node::Op::Const ? n->constant.str.toLower() : QString();
        if (s != QLatin1String("group") && s != QLatin1String("page") && s != QLatin1String("report"))
            fail(QStringLiteral("汇总范围应为 'group'、'page' 或 'report'"));
        return s;
    }

    const QString& s_;
    Compiler& c_;
    int pos_ = 0;
};

} // namespace

Expression Expression::compile(const QString& source, Compiler& compiler) {
    Parser p(source, compiler);
    Expression e;
    e.root_ = p.parse();
    e.source_ = source;
    e.usesPages_ = p.usesPages;
    return e;
}

Value Expression::eval(const Scope& scope) const {
    return root_ ? evalNode(*root_, scope) : Value();
}

TextTemplate TextTemplate::compile(const QString& text, Compiler& compiler) {
    TextTemplate t;
    QString literal;
    int i = 0;
    while (i < text.size()) {
        const QChar ch = text[i];
        if (ch == u'[' && i + 1 < text.size() && text[i + 1] == u'[') {
            literal += u'[';
            i += 2;
            continue;
        }
        if (ch != u'[') {
            literal += ch;
            ++i;
            continue;
        }
        // Find the closing bracket outside quotes.
        int j = i + 1;
        QChar quote;
        for (; j < text.size(); ++j) {
            const QChar c = text[j];
            if (!quote.isNull()) {
                if (c == quote) quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u']') {
                break;
            }
        }
        if (j >= text.size())
            throw conversionError(QStringLiteral("报表文字 \"%1\" 中的 \"[\" 没有对应的 \"]\"").arg(text));
        if (!literal.isEmpty()) {
            t.parts_.push_back({false, literal, {}});
            literal.clear();
        }
        t.parts_.push_back({true, {}, Expression::compile(text.mid(i + 1, j - i - 1), compiler)});
        i = j + 1;
    }
    if (!literal.isEmpty()) t.parts_.push_back({false, literal, {}});
    return t;
}

QString TextTemplate::render(const Scope& scope, const QString& picture) const {
    if (parts_.size() == 1)
        return parts_[0].isExpr ? parts_[0].expr.eval(scope).toText(picture) : parts_[0].literal;
    QString out;
    for (const Part& p : parts_)
        out += p.isExpr ? p.expr.eval(scope).toText(picture) : p.literal;
    return out;
}

bool TextTemplate::usesPages() const {
    for (const Part& p : parts_)
        if (p.isExpr && p.expr.usesPages()) return true;
    return false;
}

bool TextTemplate::pagesDirectOnly() const {
    for (const Part& p : parts_)
        if (p.isExpr && p.expr.usesPages() &&
            p.expr.source().trimmed().compare(QLatin1String("PAGES"), Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

bool TextTemplate::isConstant() const {
    for (const Part& p : parts_)
        if (p.isExpr) return false;
    return true;
}

} // namespace gz::report
