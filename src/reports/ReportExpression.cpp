#include "ReportExpression.h"

#include "ReportFormat.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

TReportEvalContext::~TReportEvalContext() = default;

namespace {

enum class TTok { End, Number, String, Ident, Op, LParen, RParen, Comma, Error };

struct RToken
{
    TTok kind = TTok::End;
    QString text;
    double number = 0;
};

class TLexer
{
public:
    explicit TLexer(const QString& s) : m_s(s) {}

    RToken next()
    {
        while (m_pos < m_s.size() && m_s.at(m_pos).isSpace())
            ++m_pos;
        if (m_pos >= m_s.size())
            return {TTok::End, {}, 0};
        const QChar c = m_s.at(m_pos);
        if (c.isDigit() || (c == QLatin1Char('.') && m_pos + 1 < m_s.size() && m_s.at(m_pos + 1).isDigit())) {
            const qsizetype start = m_pos;
            while (m_pos < m_s.size() && (m_s.at(m_pos).isDigit() || m_s.at(m_pos) == QLatin1Char('.')))
                ++m_pos;
            bool ok = false;
            const QString t = m_s.mid(start, m_pos - start);
            const double v = t.toDouble(&ok);
            if (!ok)
                return {TTok::Error, t, 0};
            return {TTok::Number, t, v};
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString out;
            ++m_pos;
            while (m_pos < m_s.size()) {
                if (m_s.at(m_pos) == c) {
                    if (m_pos + 1 < m_s.size() && m_s.at(m_pos + 1) == c) {
                        out.append(c);
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    return {TTok::String, out, 0};
                }
                out.append(m_s.at(m_pos++));
            }
            return {TTok::Error, out, 0};
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype start = m_pos;
            while (m_pos < m_s.size()) {
                const QChar d = m_s.at(m_pos);
                if (d.isLetterOrNumber() || d == QLatin1Char('_') || d == QLatin1Char('.') ||
                    d == QLatin1Char('#'))
                    ++m_pos;
                else
                    break;
            }
            return {TTok::Ident, m_s.mid(start, m_pos - start), 0};
        }
        ++m_pos;
        switch (c.unicode()) {
        case '(':
            return {TTok::LParen, QStringLiteral("("), 0};
        case ')':
            return {TTok::RParen, QStringLiteral(")"), 0};
        case ',':
            return {TTok::Comma, QStringLiteral(","), 0};
        case '+':
        case '-':
        case '*':
        case '/':
        case '&':
        case '=':
            return {TTok::Op, QString(c), 0};
        case '<':
            if (m_pos < m_s.size() &&
                (m_s.at(m_pos) == QLatin1Char('>') || m_s.at(m_pos) == QLatin1Char('='))) {
                const QString op = QString(c) + m_s.at(m_pos++);
                return {TTok::Op, op, 0};
            }
            return {TTok::Op, QStringLiteral("<"), 0};
        case '>':
            if (m_pos < m_s.size() && m_s.at(m_pos) == QLatin1Char('=')) {
                ++m_pos;
                return {TTok::Op, QStringLiteral(">="), 0};
            }
            return {TTok::Op, QStringLiteral(">"), 0};
        default:
            return {TTok::Error, QString(c), 0};
        }
    }

private:
    const QString& m_s;
    qsizetype m_pos = 0;
};

class TParser
{
public:
    explicit TParser(const QString& s) : m_lexer(s) { advance(); }

    PExprNode parseAll(QString* error)
    {
        PExprNode n = parseOr();
        if (n && m_tok.kind != TTok::End)
            fail(QStringLiteral("多余的内容 \"%1\"").arg(m_tok.text));
        if (!m_error.isEmpty()) {
            *error = m_error;
            return nullptr;
        }
        return n;
    }

private:
    void advance() { m_tok = m_lexer.next(); }
    bool isKeyword(const char* k) const
    {
        return m_tok.kind == TTok::Ident && m_tok.text.compare(QLatin1String(k), Qt::CaseInsensitive) == 0;
    }
    bool isOp(const char* op) const { return m_tok.kind == TTok::Op && m_tok.text == QLatin1String(op); }
    PExprNode fail(const QString& message)
    {
        if (m_error.isEmpty())
            m_error = message;
        return nullptr;
    }
    static PExprNode make(TExprOp op, PExprNode a, PExprNode b = nullptr)
    {
        auto n = std::make_shared<RExprNode>();
        n->op = op;
        n->args.append(a);
        if (b)
            n->args.append(b);
        return n;
    }

    PExprNode parseOr()
    {
        PExprNode left = parseAnd();
        while (left && isKeyword("or")) {
            advance();
            PExprNode right = parseAnd();
            if (!right)
                return nullptr;
            left = make(TExprOp::Or, left, right);
        }
        return left;
    }
    PExprNode parseAnd()
    {
        PExprNode left = parseNot();
        while (left && isKeyword("and")) {
            advance();
            PExprNode right = parseNot();
            if (!right)
                return nullptr;
            left = make(TExprOp::And, left, right);
        }
        return left;
    }
    PExprNode parseNot()
    {
        if (isKeyword("not")) {
            advance();
            PExprNode a = parseNot();
            return a ? make(TExprOp::Not, a) : nullptr;
        }
        return parseCompare();
    }
    PExprNode parseCompare()
    {
        PExprNode left = parseAdd();
        if (!left || m_tok.kind != TTok::Op)
            return left;
        static const struct
        {
            const char* text;
            TExprOp op;
        } ops[] = {{"=", TExprOp::Eq},  {"<>", TExprOp::Ne}, {"<", TExprOp::Lt},
                   {"<=", TExprOp::Le}, {">", TExprOp::Gt},  {">=", TExprOp::Ge}};
        for (const auto& o : ops) {
            if (isOp(o.text)) {
                advance();
                PExprNode right = parseAdd();
                return right ? make(o.op, left, right) : nullptr;
            }
        }
        return left;
    }
    PExprNode parseAdd()
    {
        PExprNode left = parseMul();
        while (left && (isOp("+") || isOp("-") || isOp("&"))) {
            const TExprOp op = isOp("+") ? TExprOp::Add : isOp("-") ? TExprOp::Sub : TExprOp::Concat;
            advance();
            PExprNode right = parseMul();
            if (!right)
                return nullptr;
            left = make(op, left, right);
        }
        return left;
    }
    PExprNode parseMul()
    {
        PExprNode left = parseUnary();
        while (left && (isOp("*") || isOp("/"))) {
            const TExprOp op = isOp("*") ? TExprOp::Mul : TExprOp::Div;
            advance();
            PExprNode right = parseUnary();
            if (!right)
                return nullptr;
            left = make(op, left, right);
        }
        return left;
    }
    PExprNode parseUnary()
    {
        if (isOp("-")) {
            advance();
            PExprNode a = parseUnary();
            return a ? make(TExprOp::Neg, a) : nullptr;
        }
        if (isOp("+")) {
            advance();
            return parseUnary();
        }
        return parsePrimary();
    }
    PExprNode parsePrimary()
    {
        auto n = std::make_shared<RExprNode>();
        switch (m_tok.kind) {
        case TTok::Number:
            n->op = TExprOp::Constant;
            n->constant = m_tok.number;
            advance();
            return n;
        case TTok::String:
            n->op = TExprOp::Constant;
            n->constant = m_tok.text;
            advance();
            return n;
        case TTok::Ident: {
            const QString name = m_tok.text;
            advance();
            if (m_tok.kind != TTok::LParen) {
                n->op = TExprOp::Name;
                n->name = name;
                return n;
            }
            advance();
            n->op = TExprOp::Call;
            n->name = name.toUpper();
            if (m_tok.kind != TTok::RParen) {
                for (;;) {
                    PExprNode a = parseOr();
                    if (!a)
                        return nullptr;
                    n->args.append(a);
                    if (m_tok.kind == TTok::Comma) {
                        advance();
                        continue;
                    }
                    break;
                }
            }
            if (m_tok.kind != TTok::RParen)
                return fail(QStringLiteral("函数 %1 缺少右括号").arg(name));
            advance();
            return n;
        }
        case TTok::LParen: {
            advance();
            PExprNode inner = parseOr();
            if (!inner)
                return nullptr;
            if (m_tok.kind != TTok::RParen)
                return fail(QStringLiteral("缺少右括号"));
            advance();
            return inner;
        }
        case TTok::End:
            return fail(QStringLiteral("表达式不完整"));
        default:
            return fail(QStringLiteral("无法识别 \"%1\"").arg(m_tok.text));
        }
    }

    TLexer m_lexer;
    RToken m_tok;
    QString m_error;
};

bool isText(const QVariant& v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QChar;
}

int compareValues(const QVariant& a, const QVariant& b)
{
    if (TReportFormat::isDate(a) && TReportFormat::isDate(b)) {
        const QDateTime x = a.typeId() == QMetaType::QDate ? a.toDate().startOfDay() : a.toDateTime();
        const QDateTime y = b.typeId() == QMetaType::QDate ? b.toDate().startOfDay() : b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (!isText(a) && !isText(b)) {
        const double x = TReportFormat::toNumber(a);
        const double y = TReportFormat::toNumber(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (isText(a) != isText(b)) {
        // A number against a text that reads as a number compares as numbers.
        bool okA = false;
        bool okB = false;
        const double x = TReportFormat::toNumber(a, &okA);
        const double y = TReportFormat::toNumber(b, &okB);
        if (okA && okB)
            return x < y ? -1 : (x > y ? 1 : 0);
    }
    return TReportFormat::toText(a).compare(TReportFormat::toText(b));
}

QVariant number(double v)
{
    if (!std::isfinite(v))
        return QVariant();
    return QVariant(v);
}

QVariant builtinCall(const RExprNode& n, TReportEvalContext& ctx, bool* handled)
{
    *handled = true;
    const auto arg = [&](int i) {
        return i < n.args.size() ? TReportExpression::evaluateNode(*n.args.at(i), ctx) : QVariant();
    };
    if (n.name == QLatin1String("IIF")) {
        return TReportExpression::isTrue(arg(0)) ? arg(1) : arg(2);
    }
    if (n.name == QLatin1String("FORMATFLOAT")) {
        return TReportFormat::formatNumber(TReportFormat::toNumber(arg(1)), TReportFormat::toText(arg(0)));
    }
    if (n.name == QLatin1String("FORMATDATETIME")) {
        const QVariant v = arg(1);
        if (!TReportFormat::isDate(v))
            return TReportFormat::toText(v);
        return TReportFormat::format(v, TReportFormat::toText(arg(0)));
    }
    if (n.name == QLatin1String("ROUND")) {
        const double p = std::pow(10.0, std::clamp(TReportFormat::toNumber(arg(1)), 0.0, 10.0));
        // A nudge keeps 2.345 from rounding down through its binary form.
        const double v = TReportFormat::toNumber(arg(0)) * p;
        return number(std::round(v + (v >= 0 ? 1e-9 : -1e-9)) / p);
    }
    if (n.name == QLatin1String("ABS")) {
        return number(std::fabs(TReportFormat::toNumber(arg(0))));
    }
    if (n.name == QLatin1String("STR")) {
        return TReportFormat::toText(arg(0));
    }
    if (n.name == QLatin1String("TRIM")) {
        return TReportFormat::toText(arg(0)).trimmed();
    }
    *handled = false;
    return {};
}

} // namespace

TReportExpression TReportExpression::parseExpression(const QString& expression)
{
    TReportExpression e;
    if (expression.trimmed().isEmpty())
        return e;
    QString error;
    PExprNode node = TParser(expression).parseAll(&error);
    if (!node) {
        e.m_errors.append(QStringLiteral("表达式 \"%1\" 有误:%2").arg(expression, error));
        return e;
    }
    e.m_segments.append({QString(), node});
    return e;
}

TReportExpression TReportExpression::parseText(const QString& text)
{
    TReportExpression e;
    QString literal;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('[')) {
            literal.append(c);
            ++i;
            continue;
        }
        // Find the closing bracket, skipping quoted texts inside the expression.
        qsizetype j = i + 1;
        QChar quote;
        while (j < text.size()) {
            const QChar d = text.at(j);
            if (!quote.isNull()) {
                if (d == quote)
                    quote = QChar();
            } else if (d == QLatin1Char('\'') || d == QLatin1Char('"')) {
                quote = d;
            } else if (d == QLatin1Char(']')) {
                break;
            }
            ++j;
        }
        if (j >= text.size()) {
            literal.append(text.mid(i));
            break;
        }
        const QString source = text.mid(i + 1, j - i - 1);
        QString error;
        PExprNode node = source.trimmed().isEmpty() ? nullptr : TParser(source).parseAll(&error);
        if (!node) {
            if (!error.isEmpty())
                e.m_errors.append(QStringLiteral("表达式 \"%1\" 有误:%2").arg(source, error));
            literal.append(text.mid(i, j - i + 1));
        } else {
            if (!literal.isEmpty())
                e.m_segments.append({literal, nullptr});
            literal.clear();
            e.m_segments.append({QString(), node});
        }
        i = j + 1;
    }
    if (!literal.isEmpty())
        e.m_segments.append({literal, nullptr});
    return e;
}

bool TReportExpression::isConstant() const
{
    for (const RSegment& s : m_segments) {
        if (s.node)
            return false;
    }
    return true;
}

QString TReportExpression::evaluateText(TReportEvalContext& context, const QString& displayFormat) const
{
    QString out;
    for (const RSegment& s : m_segments) {
        if (s.node)
            out += TReportFormat::format(evaluateNode(*s.node, context), displayFormat);
        else
            out += s.literal;
    }
    return out;
}

QVariant TReportExpression::evaluate(TReportEvalContext& context) const
{
    if (isSingleExpression())
        return evaluateNode(*m_segments.first().node, context);
    if (m_segments.isEmpty())
        return {};
    return evaluateText(context);
}

void TReportExpression::forEachNode(const std::function<void(RExprNode&)>& visit) const
{
    std::function<void(RExprNode&)> walk = [&](RExprNode& n) {
        visit(n);
        for (const PExprNode& a : n.args) {
            if (a)
                walk(*a);
        }
    };
    for (const RSegment& s : m_segments) {
        if (s.node)
            walk(*s.node);
    }
}

bool TReportExpression::isTrue(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (TReportFormat::isNumber(value))
        return value.toDouble() != 0;
    if (isText(value)) {
        const QString s = value.toString().trimmed();
        return !s.isEmpty() && s != QLatin1String("0") &&
               s.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
    }
    return true;
}

QVariant TReportExpression::evaluateNode(const RExprNode& n, TReportEvalContext& ctx)
{
    const auto a = [&]() { return evaluateNode(*n.args.at(0), ctx); };
    const auto b = [&]() { return evaluateNode(*n.args.at(1), ctx); };
    switch (n.op) {
    case TExprOp::Constant:
        return n.constant;
    case TExprOp::Name:
        return ctx.nameValue(n);
    case TExprOp::Call: {
        bool handled = false;
        QVariant v = builtinCall(n, ctx, &handled);
        if (handled)
            return v;
        return ctx.callValue(n, &handled);
    }
    case TExprOp::Neg:
        return number(-TReportFormat::toNumber(a()));
    case TExprOp::Not:
        return !isTrue(a());
    case TExprOp::Add: {
        const QVariant x = a();
        const QVariant y = b();
        if (isText(x) || isText(y))
            return QString(TReportFormat::toText(x) + TReportFormat::toText(y));
        return number(TReportFormat::toNumber(x) + TReportFormat::toNumber(y));
    }
    case TExprOp::Sub:
        return number(TReportFormat::toNumber(a()) - TReportFormat::toNumber(b()));
    case TExprOp::Mul:
        return number(TReportFormat::toNumber(a()) * TReportFormat::toNumber(b()));
    case TExprOp::Div: {
        const double d = TReportFormat::toNumber(b());
        if (d == 0)
            return QVariant();
        return number(TReportFormat::toNumber(a()) / d);
    }
    case TExprOp::Concat:
        return QString(TReportFormat::toText(a()) + TReportFormat::toText(b()));
    case TExprOp::Eq:
        return compareValues(a(), b()) == 0;
    case TExprOp::Ne:
        return compareValues(a(), b()) != 0;
    case TExprOp::Lt:
        return compareValues(a(), b()) < 0;
    case TExprOp::Le:
        return compareValues(a(), b()) <= 0;
    case TExprOp::Gt:
        return compareValues(a(), b()) > 0;
    case TExprOp::Ge:
        return compareValues(a(), b()) >= 0;
    case TExprOp::And:
        return isTrue(a()) && isTrue(b());
    case TExprOp::Or:
        return isTrue(a()) || isTrue(b());
    }
    return {};
}
