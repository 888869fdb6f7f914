#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

enum class TExprOp {
    Constant,
    Name,
    Call,
    Neg,
    Not,
    Add,
    Sub,
    Mul,
    Div,
    Concat,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    And,
    Or
};

// One node of a parsed expression. The engine binds names to data fields, variables and
// built-ins once, through the ref fields, before the report runs.
struct RExprNode
{
    TExprOp op = TExprOp::Constant;
    QVariant constant;
    // Name: as written ("d0.Code", "u_Company"); Call: the function name in upper case.
    QString name;
    QList<std::shared_ptr<RExprNode>> args;
    int refKind = 0;
    int ref1 = -1;
    int ref2 = -1;
};
using PExprNode = std::shared_ptr<RExprNode>;

// What an expression asks its surroundings while it is evaluated.
class TReportEvalContext
{
public:
    virtual ~TReportEvalContext();
    virtual QVariant nameValue(const RExprNode& node) = 0;
    // Functions that depend on the report (aggregates, captions); *handled false when unknown.
    virtual QVariant callValue(const RExprNode& node, bool* handled) = 0;
};

// A text with [expressions] in brackets, parsed once and evaluated for every row.
// Expressions: data fields "d0.Code", variables "u_Company", built-in names, numbers, 'text',
// + - * / & with brackets, comparisons = <> < > <= >=, and/or/not, and functions such as
// Sum(d0.Qty), Count(d0), IIF(c, a, b), FormatFloat('0.00', x).
class TReportExpression
{
public:
    TReportExpression() = default;
    // Parses a text with bracketed expressions; a bracket that does not parse stays as written.
    static TReportExpression parseText(const QString& text);
    // Parses a bare expression (a group condition, a print condition, a bar code's data).
    static TReportExpression parseExpression(const QString& expression);

    bool isEmpty() const { return m_segments.isEmpty(); }
    bool isConstant() const;
    // The text is exactly one expression: its value is what the text shows.
    bool isSingleExpression() const { return m_segments.size() == 1 && m_segments.first().node != nullptr; }
    QStringList errors() const { return m_errors; }

    QString evaluateText(TReportEvalContext& context, const QString& displayFormat = QString()) const;
    // The value of a single expression; for mixed text the text itself.
    QVariant evaluate(TReportEvalContext& context) const;

    void forEachNode(const std::function<void(RExprNode&)>& visit) const;

    static QVariant evaluateNode(const RExprNode& node, TReportEvalContext& context);
    static bool isTrue(const QVariant& value);

private:
    struct RSegment
    {
        QString literal;
        PExprNode node;
    };
    QList<RSegment> m_segments;
    QStringList m_errors;
};
