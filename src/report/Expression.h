#pragma once
// Expressions of report objects. A text holds fixed text with expressions in square brackets:
// "[RMDBDataSet3.name]工资表", "第[PAGE]页 共[PAGES]页", "[SUM(RMDBDataSet1.jge)]".
//
// An expression reads fields by channel and name (RMDBDataSet1.gh; a bare name is a field of the
// band's own channel), numbers, texts in quotes, + - * / & (text join), comparisons
// = <> < > <= >=, and, or, not, and the functions SUM, COUNT, AVG, MIN, MAX (over the group, page
// or report the band closes, or the scope named as a second argument: 'group', 'page',
// 'report'), IF(c, a, b), FORMAT(v, "0.00"), ROUND(v, n), ABS, TRIM, and the values PAGE, PAGES,
// LINE (row number within the band's channel, from 1), TODAY.
// Expressions are compiled once per template, with their fields resolved to columns, so a long
// report evaluates them without looking names up again.

#include "report/Channels.h"

#include <QDate>
#include <QString>
#include <memory>
#include <vector>

namespace gz::report {

struct Value {
    enum class Type { Null, Number, Text, Date, Bool };
    Type type = Type::Null;
    double num = 0;
    QString str;
    QDate date;

    static Value number(double v) {
        Value r;
        r.type = Type::Number;
        r.num = v;
        return r;
    }
    static Value text(QString s) {
        Value r;
        r.type = Type::Text;
        r.str = std::move(s);
        return r;
    }
    static Value fromDate(const QDate& d) {
        Value r;
        r.type = d.isValid() ? Type::Date : Type::Null;
        r.date = d;
        return r;
    }
    static Value boolean(bool b) {
        Value r;
        r.type = Type::Bool;
        r.num = b ? 1 : 0;
        return r;
    }
    bool isNull() const { return type == Type::Null; }
    double toNumber() const;
    bool truthy() const;
    // Display text; picture: a number picture for numbers, a date picture for dates, or empty.
    QString toText(const QString& picture = {}) const;
};

// Formats a date by a picture such as "yyyy-mm-dd" or "yyyy年mm月dd日"; empty: the application's
// short date format.
QString formatDate(const QDate& d, const QString& picture);

enum class AggKind { Sum, Count, Avg, Min, Max };

class Node;

// What a running report provides to evaluation.
class Scope {
public:
    virtual ~Scope() = default;
    virtual int rowOf(const DataSource* src) const = 0;
    virtual int page() const = 0;
    virtual int pages() const = 0;
    virtual int line() const = 0;
    virtual QDate today() const = 0;
    virtual Value aggregate(int id) const = 0;
};

// What compiling needs: fields resolved against the bound channels, aggregates registered.
class Compiler {
public:
    virtual ~Compiler() = default;
    // Raises an error naming the channel and field when the field does not exist.
    virtual const DataSource* resolveChannel(const QString& channel) = 0;
    virtual QString defaultChannel() const = 0;
    // scope: "group", "page", "report" or empty (the band's own).
    virtual int registerAggregate(AggKind kind, std::shared_ptr<const Node> arg, const QString& scope) = 0;
};

class Expression {
public:
    Expression() = default;
    // Raises a conversion error naming the expression and what is wrong.
    static Expression compile(const QString& source, Compiler& compiler);
    Value eval(const Scope& scope) const;
    bool isValid() const { return root_ != nullptr; }
    bool usesPages() const { return usesPages_; }
    const QString& source() const { return source_; }
    std::shared_ptr<const Node> node() const { return root_; }

private:
    std::shared_ptr<const Node> root_;
    QString source_;
    bool usesPages_ = false;
};

// A text with [expression] parts. "[[" stands for a literal "[".
class TextTemplate {
public:
    static TextTemplate compile(const QString& text, Compiler& compiler);
    // When the whole text is one expression: its value (for exports that keep numbers as numbers).
    bool isSingleExpression() const { return parts_.size() == 1 && parts_[0].isExpr; }
    Value single(const Scope& scope) const { return parts_[0].expr.eval(scope); }
    QString render(const Scope& scope, const QString& picture) const;
    bool usesPages() const;
    // True when every part that reads PAGES is PAGES alone (so a count known later can be
    // written into the text without evaluating it again).
    bool pagesDirectOnly() const;
    bool isConstant() const;

private:
    struct Part {
        bool isExpr = false;
        QString literal;
        Expression expr;
    };
    std::vector<Part> parts_;
};

// Evaluates a node (used by the engine to feed aggregates).
Value evalNode(const Node& n, const Scope& scope);

} // namespace gz::report
