#include "FilterExpr.h"

#include "DataSet.h"
#include "Exceptions.h"

#include <QDateTime>

#include <cstring>
#include <string_view>
#include <vector>

namespace {

enum class Tok { End, Ident, String, Number, LParen, RParen, Op };

struct Token
{
    Tok kind = Tok::End;
    QString text;
    int pos = 0;
};

class Lexer
{
public:
    explicit Lexer(const QString& s) : m_s(s) {}

    Token next()
    {
        while (m_i < m_s.size() && m_s[m_i].isSpace())
            ++m_i;
        Token t;
        t.pos = int(m_i);
        if (m_i >= m_s.size())
            return t;
        const QChar c = m_s[m_i];
        if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            t.kind = c == QLatin1Char('(') ? Tok::LParen : Tok::RParen;
            ++m_i;
            return t;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const QChar quote = c;
            ++m_i;
            QString v;
            for (;;) {
                if (m_i >= m_s.size())
                    throw EDataSetError(
                        QStringLiteral("过滤条件有误: 位置 %1 的字符串没有结束").arg(t.pos + 1));
                if (m_s[m_i] == quote) {
                    if (m_i + 1 < m_s.size() && m_s[m_i + 1] == quote) {
                        v += quote;
                        m_i += 2;
                        continue;
                    }
                    ++m_i;
                    break;
                }
                v += m_s[m_i++];
            }
            t.kind = Tok::String;
            t.text = v;
            return t;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype close = m_s.indexOf(QLatin1Char(']'), m_i);
            if (close < 0)
                throw EDataSetError(QStringLiteral("过滤条件有误: 位置 %1 的 [ 没有结束").arg(t.pos + 1));
            t.kind = Tok::Ident;
            t.text = m_s.mid(m_i + 1, close - m_i - 1);
            m_i = close + 1;
            return t;
        }
        if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('.')) && m_i + 1 < m_s.size() &&
                            (m_s[m_i + 1].isDigit() || m_s[m_i + 1] == QLatin1Char('.')))) {
            qsizetype j = m_i + 1;
            while (j < m_s.size() && (m_s[j].isDigit() || m_s[j] == QLatin1Char('.')))
                ++j;
            t.kind = Tok::Number;
            t.text = m_s.mid(m_i, j - m_i);
            m_i = j;
            return t;
        }
        if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            QString op(c);
            ++m_i;
            if (m_i < m_s.size() &&
                ((c == QLatin1Char('<') && (m_s[m_i] == QLatin1Char('>') || m_s[m_i] == QLatin1Char('='))) ||
                 (c == QLatin1Char('>') && m_s[m_i] == QLatin1Char('='))))
                op += m_s[m_i++];
            t.kind = Tok::Op;
            t.text = op;
            return t;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype j = m_i + 1;
            while (j < m_s.size() &&
                   (m_s[j].isLetterOrNumber() || m_s[j] == QLatin1Char('_') || m_s[j] == QLatin1Char('.')))
                ++j;
            t.kind = Tok::Ident;
            t.text = m_s.mid(m_i, j - m_i);
            m_i = j;
            return t;
        }
        throw EDataSetError(
            QStringLiteral("过滤条件有误: 位置 %1 的字符 '%2' 无法识别").arg(t.pos + 1).arg(c));
    }

private:
    const QString& m_s;
    qsizetype m_i = 0;
};

// An operand: a field of the set or a constant.
struct Operand
{
    int field = -1;
    QVariant value; // constant
    bool isNumber = false;
};

class OrNode final : public TFilterExpr
{
public:
    std::vector<std::unique_ptr<TFilterExpr>> parts;
    bool isAnd = false;
    bool Match(const TDataSet& ds, int r) const override
    {
        for (const auto& p : parts) {
            const bool m = p->Match(ds, r);
            if (isAnd && !m)
                return false;
            if (!isAnd && m)
                return true;
        }
        return isAnd;
    }
};

class NotNode final : public TFilterExpr
{
public:
    std::unique_ptr<TFilterExpr> inner;
    bool Match(const TDataSet& ds, int r) const override { return !inner->Match(ds, r); }
};

class LikeNode final : public TFilterExpr
{
public:
    int field = -1;
    QByteArray pattern; // lower-cased ASCII
    bool negate = false;
    enum Kind { General, Contains, Prefix, Suffix, Exact } kind = General;
    QByteArray core;
    bool coreHasLetters = false;

    void compile()
    {
        const auto isWild = [](char c) { return c == '%' || c == '*' || c == '_'; };
        const QByteArray& p = pattern;
        qsizetype lead = 0, trail = 0;
        while (lead < p.size() && (p[lead] == '%' || p[lead] == '*'))
            ++lead;
        while (trail < p.size() - lead && (p[p.size() - 1 - trail] == '%' || p[p.size() - 1 - trail] == '*'))
            ++trail;
        core = p.mid(lead, p.size() - lead - trail);
        bool inner = false;
        for (char c : core)
            inner = inner || isWild(c);
        for (char c : core)
            coreHasLetters = coreHasLetters || (c >= 'a' && c <= 'z');
        if (inner)
            kind = General;
        else if (lead && trail)
            kind = Contains;
        else if (trail)
            kind = Prefix;
        else if (lead)
            kind = Suffix;
        else
            kind = Exact;
    }

    static bool eqFold(const char* a, const char* b, qsizetype n, bool fold)
    {
        if (!fold)
            return std::memcmp(a, b, size_t(n)) == 0;
        for (qsizetype i = 0; i < n; ++i) {
            char x = a[i];
            if (x >= 'A' && x <= 'Z')
                x = char(x + 32);
            if (x != b[i])
                return false;
        }
        return true;
    }

    bool test(const char* s, int len) const
    {
        const qsizetype n = core.size();
        switch (kind) {
        case Exact:
            return len == n && eqFold(s, core.constData(), n, coreHasLetters);
        case Prefix:
            return len >= n && eqFold(s, core.constData(), n, coreHasLetters);
        case Suffix:
            return len >= n && eqFold(s + len - n, core.constData(), n, coreHasLetters);
        case Contains:
            if (n == 0)
                return true;
            if (!coreHasLetters)
                return std::string_view(s, size_t(len)).find(std::string_view(core.constData(), size_t(n))) !=
                       std::string_view::npos;
            for (qsizetype i = 0; i + n <= len; ++i)
                if (eqFold(s + i, core.constData(), n, true))
                    return true;
            return false;
        case General:
            break;
        }
        return LikeMatch(s, len, pattern);
    }

    bool Match(const TDataSet& ds, int r) const override
    {
        const auto& col = ds.column(field);
        bool m;
        if (col.isNull(r)) {
            m = false;
        } else if (IsTextType(col.type)) {
            int len;
            const char* p = col.textAt(r, len);
            m = test(p, len);
        } else {
            const QByteArray t = ds.Fields(field)->DataType == ftUnknown
                                     ? QByteArray()
                                     : FormatFieldValue(col.get(r), col.type, QString()).toUtf8();
            m = test(t.constData(), int(t.size()));
        }
        return negate ? !m : m;
    }
};

class IsNullNode final : public TFilterExpr
{
public:
    int field = -1;
    bool negate = false;
    bool Match(const TDataSet& ds, int r) const override
    {
        const auto& col = ds.column(field);
        bool n = col.isNull(r);
        if (!n && IsTextType(col.type)) {
            int len;
            col.textAt(r, len);
            n = false;
        }
        return negate ? !n : n;
    }
};

class CompareNode final : public TFilterExpr
{
public:
    Operand left, right;
    QString op;
    // Prepared constant of the right side, converted to the left field's type.
    qint64 rInt = 0;
    double rDouble = 0;
    QString rText;
    bool rValid = true;

    bool decide(int c) const
    {
        if (op == QLatin1String("="))
            return c == 0;
        if (op == QLatin1String("<>"))
            return c != 0;
        if (op == QLatin1String("<"))
            return c < 0;
        if (op == QLatin1String(">"))
            return c > 0;
        if (op == QLatin1String("<="))
            return c <= 0;
        return c >= 0;
    }

    void prepare(const TDataSet& ds)
    {
        if (left.field < 0 || right.field >= 0)
            return;
        const TFieldType t = ds.Fields(left.field)->DataType;
        bool ok = true;
        if (IsIntegerType(t) || t == ftBoolean) {
            const QString s = right.value.toString();
            if (t == ftBoolean && (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                                   s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)) {
                rDouble = s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ? 1 : 0;
            } else {
                rDouble = s.toDouble(&ok);
            }
        } else if (IsFloatType(t)) {
            rDouble = right.value.toString().toDouble(&ok);
        } else if (IsDateType(t)) {
            const QDateTime dt = ParseDateTimeText(right.value.toString());
            ok = dt.isValid();
            rInt = ok ? EncodeDateTime(dt) : 0;
        } else {
            rText = right.value.toString();
        }
        rValid = ok;
    }

    QVariant operandValue(const TDataSet& ds, const Operand& o, int r) const
    {
        return o.field >= 0 ? ds.StoredValue(r, o.field) : o.value;
    }

    bool Match(const TDataSet& ds, int r) const override
    {
        if (left.field >= 0 && right.field < 0) {
            const auto& col = ds.column(left.field);
            if (col.isNull(r) || !rValid) {
                // A null equals only the empty text, as null text reads as empty.
                if (IsTextType(col.type) && col.isNull(r))
                    return decide(QString().compare(rText, Qt::CaseInsensitive));
                return op == QLatin1String("<>") && rValid;
            }
            if (IsTextType(col.type)) {
                int len;
                const char* p = col.textAt(r, len);
                return decide(QString::fromUtf8(p, len).compare(rText, Qt::CaseInsensitive));
            }
            if (IsIntegerType(col.type) || col.type == ftBoolean) {
                const double x = double(col.intAt(r));
                return decide(x < rDouble ? -1 : (x > rDouble ? 1 : 0));
            }
            if (IsFloatType(col.type)) {
                const double x = col.doubleAt(r);
                return decide(x < rDouble ? -1 : (x > rDouble ? 1 : 0));
            }
            if (IsDateType(col.type)) {
                const qint64 x = col.intAt(r);
                return decide(x < rInt ? -1 : (x > rInt ? 1 : 0));
            }
            return false;
        }
        const QVariant a = operandValue(ds, left, r), b = operandValue(ds, right, r);
        if (a.isNull() || b.isNull())
            return op == QLatin1String("<>") ? a.isNull() != b.isNull() : false;
        const int c = QVariant::compare(a, b) == QPartialOrdering::Less      ? -1
                      : QVariant::compare(a, b) == QPartialOrdering::Greater ? 1
                      : QVariant::compare(a, b) == QPartialOrdering::Equivalent
                          ? 0
                          : a.toString().compare(b.toString(), Qt::CaseInsensitive);
        return decide(c);
    }
};

class Parser
{
public:
    Parser(const QString& text, const TDataSet& ds) : m_lex(text), m_ds(ds), m_text(text) { advance(); }

    std::unique_ptr<TFilterExpr> parse()
    {
        auto e = parseOr();
        if (m_tok.kind != Tok::End)
            fail(QStringLiteral("多余的内容 '%1'").arg(m_text.mid(m_tok.pos)));
        return e;
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw EDataSetError(QStringLiteral("过滤条件有误: %1\r\n%2").arg(what, m_text));
    }
    void advance() { m_tok = m_lex.next(); }
    bool isWord(const char* w) const
    {
        return m_tok.kind == Tok::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<TFilterExpr> parseOr()
    {
        auto first = parseAnd();
        if (!isWord("or"))
            return first;
        auto node = std::make_unique<OrNode>();
        node->parts.push_back(std::move(first));
        while (isWord("or")) {
            advance();
            node->parts.push_back(parseAnd());
        }
        return node;
    }

    std::unique_ptr<TFilterExpr> parseAnd()
    {
        auto first = parseNot();
        if (!isWord("and"))
            return first;
        auto node = std::make_unique<OrNode>();
        node->isAnd = true;
        node->parts.push_back(std::move(first));
        while (isWord("and")) {
            advance();
            node->parts.push_back(parseNot());
        }
        return node;
    }

    std::unique_ptr<TFilterExpr> parseNot()
    {
        if (isWord("not")) {
            advance();
            auto n = std::make_unique<NotNode>();
            n->inner = parseNot();
            return n;
        }
        if (m_tok.kind == Tok::LParen) {
            advance();
            auto e = parseOr();
            if (m_tok.kind != Tok::RParen)
                fail(QStringLiteral("缺少右括号"));
            advance();
            return e;
        }
        return parseComparison();
    }

    Operand parseOperand()
    {
        Operand o;
        if (m_tok.kind == Tok::Ident) {
            const TField* f = m_ds.FindField(m_tok.text);
            if (!f)
                fail(QStringLiteral("找不到字段 '%1'").arg(m_tok.text));
            o.field = f->Index();
        } else if (m_tok.kind == Tok::String) {
            o.value = m_tok.text;
        } else if (m_tok.kind == Tok::Number) {
            bool ok;
            const double d = m_tok.text.toDouble(&ok);
            if (!ok)
                fail(QStringLiteral("'%1' 不是有效的数值").arg(m_tok.text));
            o.value = d;
            o.isNumber = true;
        } else {
            fail(m_tok.kind == Tok::End ? QStringLiteral("条件不完整")
                                        : QStringLiteral("位置 %1 应为字段或值").arg(m_tok.pos + 1));
        }
        advance();
        return o;
    }

    std::unique_ptr<TFilterExpr> parseComparison()
    {
        Operand left = parseOperand();
        bool negate = false;
        if (isWord("is")) {
            advance();
            if (isWord("not")) {
                negate = true;
                advance();
            }
            if (!isWord("null"))
                fail(QStringLiteral("is 之后应为 null"));
            advance();
            if (left.field < 0)
                fail(QStringLiteral("is null 之前应为字段"));
            auto n = std::make_unique<IsNullNode>();
            n->field = left.field;
            n->negate = negate;
            return n;
        }
        if (isWord("not")) {
            negate = true;
            advance();
            if (!isWord("like"))
                fail(QStringLiteral("not 之后应为 like"));
        }
        if (isWord("like")) {
            advance();
            if (left.field < 0)
                fail(QStringLiteral("like 之前应为字段"));
            if (m_tok.kind != Tok::String)
                fail(QStringLiteral("like 之后应为带引号的文字"));
            auto n = std::make_unique<LikeNode>();
            n->field = left.field;
            n->negate = negate;
            n->pattern = m_tok.text.toUtf8();
            for (char& c : n->pattern)
                if (c >= 'A' && c <= 'Z')
                    c = char(c + 32);
            n->compile();
            advance();
            return n;
        }
        if (m_tok.kind != Tok::Op)
            fail(m_tok.kind == Tok::End ? QStringLiteral("条件不完整")
                                        : QStringLiteral("位置 %1 应为比较运算符").arg(m_tok.pos + 1));
        auto n = std::make_unique<CompareNode>();
        n->op = m_tok.text;
        advance();
        n->left = left;
        n->right = parseOperand();
        if (n->left.field < 0 && n->right.field >= 0) {
            std::swap(n->left, n->right);
            // Mirror the operator so that "5 < Qty" reads as "Qty > 5".
            if (n->op == QLatin1String("<"))
                n->op = QStringLiteral(">");
            else if (n->op == QLatin1String(">"))
                n->op = QStringLiteral("<");
            else if (n->op == QLatin1String("<="))
                n->op = QStringLiteral(">=");
            else if (n->op == QLatin1String(">="))
                n->op = QStringLiteral("<=");
        }
        n->prepare(m_ds);
        return n;
    }

    Lexer m_lex;
    const TDataSet& m_ds;
    const QString& m_text;
    Token m_tok;
};

// Decodes one UTF-8 sequence and returns its length.
int utf8Len(unsigned char c)
{
    return c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
}

bool likeAt(const char* s, const char* se, const char* p, const char* pe)
{
    while (p < pe) {
        const char pc = *p;
        if (pc == '%' || pc == '*') {
            while (p < pe && (*p == '%' || *p == '*'))
                ++p;
            if (p == pe)
                return true;
            for (const char* t = s; t <= se; t += (t < se ? utf8Len(static_cast<unsigned char>(*t)) : 1))
                if (likeAt(t, se, p, pe))
                    return true;
            return false;
        }
        if (s >= se)
            return false;
        if (pc == '_') {
            s += utf8Len(static_cast<unsigned char>(*s));
            ++p;
            continue;
        }
        char sc = *s;
        if (sc >= 'A' && sc <= 'Z')
            sc = char(sc + 32);
        if (sc != pc)
            return false;
        ++s;
        ++p;
    }
    return s == se;
}

} // namespace

bool LikeMatch(const char* text, int len, const QByteArray& pattern)
{
    return likeAt(text, text + len, pattern.constData(), pattern.constData() + pattern.size());
}

std::unique_ptr<TFilterExpr> TFilterExpr::Parse(const QString& text, const TDataSet& ds)
{
    Parser p(text, ds);
    return p.parse();
}
