#include "FilterExpr.h"

#include "Error.h"

#include <QDate>
#include <QRegularExpression>
#include <vector>

namespace store {

struct FilterExpr::Node {
    enum Kind { And, Or, Not, Compare, Like, IsNull, IsNotNull } kind;
    std::vector<std::shared_ptr<const Node>> children;
    QString field;
    QString op;
    QVariant literal;
    QRegularExpression likePattern;
};

namespace {

using NodePtr = std::shared_ptr<const FilterExpr::Node>;

struct Token {
    enum Type { Word, String, Number, Date, Op, LParen, RParen, End } type;
    QString text;
    int pos;
};

std::vector<Token> tokenize(const QString &s)
{
    std::vector<Token> tokens;
    int i = 0;
    const int n = s.size();
    auto fail = [&](const QString &why) { throw Error(QStringLiteral("过滤条件错误（%1）：%2").arg(why, s)); };
    while (i < n) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('(')) {
            tokens.push_back({Token::LParen, QStringLiteral("("), i++});
        } else if (c == QLatin1Char(')')) {
            tokens.push_back({Token::RParen, QStringLiteral(")"), i++});
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('#')) {
            const int start = i++;
            QString text;
            for (;;) {
                if (i >= n)
                    fail(QStringLiteral("引号不成对"));
                if (s.at(i) == c) {
                    if (c == QLatin1Char('\'') && i + 1 < n && s.at(i + 1) == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += s.at(i++);
            }
            tokens.push_back({c == QLatin1Char('#') ? Token::Date : Token::String, text, start});
        } else if (QStringLiteral("<>=").contains(c)) {
            const int start = i;
            QString op(c);
            ++i;
            if (i < n && (s.at(i) == QLatin1Char('=') || (c == QLatin1Char('<') && s.at(i) == QLatin1Char('>'))))
                op += s.at(i++);
            tokens.push_back({Token::Op, op, start});
        } else if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('.')) && i + 1 < n && s.at(i + 1).isDigit())) {
            const int start = i++;
            while (i < n && (s.at(i).isDigit() || s.at(i) == QLatin1Char('.')))
                ++i;
            tokens.push_back({Token::Number, s.mid(start, i - start), start});
        } else if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('[')) {
            const int start = i;
            if (c == QLatin1Char('[')) {
                const int close = s.indexOf(QLatin1Char(']'), i);
                if (close < 0)
                    fail(QStringLiteral("方括号不成对"));
                tokens.push_back({Token::Word, s.mid(i + 1, close - i - 1), start});
                i = close + 1;
                continue;
            }
            while (i < n && (s.at(i).isLetterOrNumber() || s.at(i) == QLatin1Char('_')))
                ++i;
            tokens.push_back({Token::Word, s.mid(start, i - start), start});
        } else {
            fail(QStringLiteral("无法识别的字符 %1").arg(c));
        }
    }
    tokens.push_back({Token::End, QString(), n});
    return tokens;
}

class Parser {
public:
    Parser(const QString &text) : m_text(text), m_tokens(tokenize(text)) {}

    NodePtr parseAll()
    {
        NodePtr root = parseOr();
        if (peek().type != Token::End)
            fail(QStringLiteral("多余的内容"));
        return root;
    }

private:
    const Token &peek() const { return m_tokens[m_pos]; }
    const Token &take() { return m_tokens[m_pos++]; }
    bool isKeyword(const Token &t, const char *word) const
    {
        return t.type == Token::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    [[noreturn]] void fail(const QString &why) const
    {
        throw Error(QStringLiteral("过滤条件错误（%1，位置 %2）：%3").arg(why).arg(peek().pos).arg(m_text));
    }

    NodePtr combine(FilterExpr::Node::Kind kind, NodePtr left, NodePtr right)
    {
        auto node = std::make_shared<FilterExpr::Node>();
        node->kind = kind;
        node->children = {std::move(left), std::move(right)};
        return node;
    }

    NodePtr parseOr()
    {
        NodePtr left = parseAnd();
        while (isKeyword(peek(), "or")) {
            take();
            left = combine(FilterExpr::Node::Or, left, parseAnd());
        }
        return left;
    }

    NodePtr parseAnd()
    {
        NodePtr left = parseNot();
        while (isKeyword(peek(), "and")) {
            take();
            left = combine(FilterExpr::Node::And, left, parseNot());
        }
        return left;
    }

    NodePtr parseNot()
    {
        if (isKeyword(peek(), "not")) {
            take();
            auto node = std::make_shared<FilterExpr::Node>();
            node->kind = FilterExpr::Node::Not;
            node->children = {parseNot()};
            return node;
        }
        if (peek().type == Token::LParen) {
            take();
            NodePtr inner = parseOr();
            if (take().type != Token::RParen)
                fail(QStringLiteral("缺少右括号"));
            return inner;
        }
        return parseComparison();
    }

    QVariant literal()
    {
        const Token t = take();
        switch (t.type) {
        case Token::String:
            return t.text;
        case Token::Number:
            return t.text.contains(QLatin1Char('.')) ? QVariant(t.text.toDouble()) : QVariant(t.text.toLongLong());
        case Token::Date: {
            const QDate d = QDate::fromString(t.text.trimmed(), Qt::ISODate);
            return d.isValid() ? QVariant(d) : QVariant(t.text);
        }
        default:
            --m_pos;
            fail(QStringLiteral("缺少比较值"));
        }
    }

    NodePtr parseComparison()
    {
        const Token field = take();
        if (field.type != Token::Word) {
            --m_pos;
            fail(QStringLiteral("缺少字段名"));
        }
        auto node = std::make_shared<FilterExpr::Node>();
        node->field = field.text;
        if (isKeyword(peek(), "like")) {
            take();
            node->kind = FilterExpr::Node::Like;
            node->literal = literal().toString();
            node->likePattern = likeRegex(node->literal.toString());
        } else if (isKeyword(peek(), "is")) {
            take();
            bool negated = false;
            if (isKeyword(peek(), "not")) {
                take();
                negated = true;
            }
            if (!isKeyword(peek(), "null"))
                fail(QStringLiteral("is 后应为 null"));
            take();
            node->kind = negated ? FilterExpr::Node::IsNotNull : FilterExpr::Node::IsNull;
        } else if (peek().type == Token::Op) {
            node->kind = FilterExpr::Node::Compare;
            node->op = take().text;
            node->literal = literal();
        } else {
            fail(QStringLiteral("缺少比较运算符"));
        }
        return node;
    }

    QString m_text;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
};

bool evaluate(const FilterExpr::Node &node, const FilterExpr::FieldLookup &field)
{
    using Node = FilterExpr::Node;
    switch (node.kind) {
    case Node::And:
        return evaluate(*node.children[0], field) && evaluate(*node.children[1], field);
    case Node::Or:
        return evaluate(*node.children[0], field) || evaluate(*node.children[1], field);
    case Node::Not:
        return !evaluate(*node.children[0], field);
    case Node::IsNull:
        return field(node.field).isNull();
    case Node::IsNotNull:
        return !field(node.field).isNull();
    case Node::Like: {
        const QVariant v = field(node.field);
        return !v.isNull() && node.likePattern.match(v.toString()).hasMatch();
    }
    case Node::Compare: {
        const QVariant v = field(node.field);
        if (v.isNull())
            return false;
        const int c = compareValues(v, node.literal);
        if (node.op == QLatin1String("="))
            return c == 0;
        if (node.op == QLatin1String("<>"))
            return c != 0;
        if (node.op == QLatin1String("<"))
            return c < 0;
        if (node.op == QLatin1String(">"))
            return c > 0;
        if (node.op == QLatin1String("<="))
            return c <= 0;
        if (node.op == QLatin1String(">="))
            return c >= 0;
        throw Error(QStringLiteral("未知的比较运算符 %1").arg(node.op));
    }
    }
    return false;
}

bool asNumber(const QVariant &v, double *out)
{
    switch (v.userType()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        *out = v.toDouble();
        return true;
    case QMetaType::QString: {
        bool ok = false;
        *out = v.toString().trimmed().toDouble(&ok);
        return ok;
    }
    default:
        return false;
    }
}

QString asText(const QVariant &v)
{
    if (v.userType() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    if (v.userType() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v.toString();
}

bool isNumeric(const QVariant &v)
{
    const int t = v.userType();
    return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Double || t == QMetaType::UInt ||
           t == QMetaType::ULongLong || t == QMetaType::Bool;
}

} // namespace

int compareValues(const QVariant &a, const QVariant &b)
{
    double x = 0, y = 0;
    // A number on either side makes it a numeric comparison when the other side reads as one.
    if ((isNumeric(a) || isNumeric(b)) && asNumber(a, &x) && asNumber(b, &y))
        return x < y ? -1 : (x > y ? 1 : 0);
    return QString::compare(asText(a), asText(b), Qt::CaseInsensitive);
}

QRegularExpression likeRegex(const QString &pattern)
{
    QString rx;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*') || c == QLatin1Char('%'))
            rx += QStringLiteral(".*");
        else
            rx += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(rx),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

bool likeMatches(const QString &value, const QString &pattern) { return likeRegex(pattern).match(value).hasMatch(); }

FilterExpr FilterExpr::parse(const QString &text)
{
    FilterExpr f;
    if (!text.trimmed().isEmpty())
        f.m_root = Parser(text).parseAll();
    return f;
}

bool FilterExpr::matches(const FieldLookup &field) const { return !m_root || evaluate(*m_root, field); }

} // namespace store
