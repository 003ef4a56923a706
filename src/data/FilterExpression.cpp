#include "FilterExpression.h"

#include "DataError.h"

#include <QLocale>
#include <utility>
#include <vector>

namespace ballvane {

namespace {

const QString malformedPrefix = QStringLiteral("Filter expression incorrectly formed: ");

// Deeper nesting than this is no filter anyone typed; refusing it keeps the parser off the stack's edge.
constexpr int maxDepth = 200;

enum class TokenKind { Name, QuotedName, Text, Number, Operator, Open, Close, End };

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;           // the name, the unquoted text, the number or the operator
    qsizetype position = 0; // 0-based index into the filter text
    qsizetype length = 0;
};

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

QString positionText(qsizetype position) {
    return QStringLiteral("at position %1").arg(position + 1);
}

[[noreturn]] void malformed(const QString& what) {
    throw FilterError(malformedPrefix + what);
}

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'#'; }
bool isOperatorChar(QChar c) { return c == u'=' || c == u'<' || c == u'>' || c == u'!'; }

// Reads a quoted run whose closing quote is written twice to stand for itself.
QString readQuoted(const QString& text, qsizetype& i, QChar close, const QString& unterminated) {
    const qsizetype start = i;
    QString value;
    ++i;
    while (true) {
        if (i >= text.size()) malformed(unterminated + QStringLiteral(" starting ") + positionText(start));
        if (text[i] == close) {
            if (i + 1 < text.size() && text[i + 1] == close) {
                value += close;
                i += 2;
                continue;
            }
            ++i;
            return value;
        }
        value += text[i++];
    }
}

std::vector<Token> tokenize(const QString& text) {
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isDigitAt = [&](qsizetype at) { return at < n && text[at].isDigit(); };
    while (true) {
        while (i < n && text[i].isSpace()) ++i;
        Token token;
        token.position = i;
        if (i >= n) {
            tokens.push_back(token);
            return tokens;
        }
        const QChar c = text[i];
        if (c == u'(' || c == u')') {
            token.kind = c == u'(' ? TokenKind::Open : TokenKind::Close;
            token.text = c;
            ++i;
        } else if (c == u'\'') {
            token.kind = TokenKind::Text;
            token.text = readQuoted(text, i, u'\'', QStringLiteral("unterminated string constant"));
        } else if (c == u'"' || c == u'[') {
            token.kind = TokenKind::QuotedName;
            token.text = readQuoted(text, i, c == u'"' ? QChar(u'"') : QChar(u']'),
                                    QStringLiteral("unterminated field name"));
            if (token.text.trimmed().isEmpty())
                malformed(QStringLiteral("empty field name ") + positionText(token.position));
        } else if (isNameStart(c)) {
            token.kind = TokenKind::Name;
            while (i < n && isNamePart(text[i])) ++i;
            token.text = text.mid(token.position, i - token.position);
        } else if (c.isDigit() || ((c == u'+' || c == u'-' || c == u'.') &&
                                   (isDigitAt(i + 1) || (c != u'.' && i + 1 < n && text[i + 1] == u'.' &&
                                                         isDigitAt(i + 2))))) {
            token.kind = TokenKind::Number;
            if (c == u'+' || c == u'-') ++i;
            while (isDigitAt(i)) ++i;
            if (i < n && text[i] == u'.') {
                ++i;
                while (isDigitAt(i)) ++i;
            }
            token.text = text.mid(token.position, i - token.position);
        } else if (isOperatorChar(c)) {
            token.kind = TokenKind::Operator;
            while (i < n && isOperatorChar(text[i])) ++i;
            token.text = text.mid(token.position, i - token.position);
        } else {
            malformed(QStringLiteral("unexpected character '%1' ").arg(c) + positionText(i));
        }
        token.length = i - token.position;
        tokens.push_back(token);
    }
}

QString quotedName(const QString& name) {
    QString escaped = name;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString opSql(Op op) {
    switch (op) {
    case Op::Eq: return QStringLiteral("=");
    case Op::Ne: return QStringLiteral("<>");
    case Op::Lt: return QStringLiteral("<");
    case Op::Gt: return QStringLiteral(">");
    case Op::Le: return QStringLiteral("<=");
    case Op::Ge: return QStringLiteral(">=");
    }
    return {};
}

// "5 < F" reads as "F > 5" once the field is put on the left.
Op mirrored(Op op) {
    switch (op) {
    case Op::Lt: return Op::Gt;
    case Op::Gt: return Op::Lt;
    case Op::Le: return Op::Ge;
    case Op::Ge: return Op::Le;
    case Op::Eq:
    case Op::Ne: break;
    }
    return op;
}

struct Operand {
    enum class Kind { Field, Constant, Null };
    Kind kind = Kind::Constant;
    FieldDef field;
    QString text;        // the constant as written, quotes and doubling removed
    bool quoted = false; // a text constant rather than a number or TRUE/FALSE
    qsizetype position = 0;
};

class Parser {
public:
    Parser(const QString& source, FilterOptions options, const FieldLookup& lookup)
        : m_source(source), m_tokens(tokenize(source)), m_options(options), m_lookup(lookup) {}

    SqlCondition parse() {
        QString sql = orExpression(0);
        if (current().kind != TokenKind::End)
            malformed(QStringLiteral("unexpected '%1' ").arg(tokenSource(current())) + positionText(current().position));
        return {sql, m_values};
    }

private:
    const Token& current() const { return m_tokens[m_index]; }
    void advance() {
        if (m_tokens[m_index].kind != TokenKind::End) ++m_index;
    }

    QString tokenSource(const Token& token) const { return m_source.mid(token.position, token.length); }

    QString where(const Token& token) const {
        return token.kind == TokenKind::End ? QStringLiteral("at the end of the filter") : positionText(token.position);
    }

    [[noreturn]] void expected(const QString& what) const {
        malformed(QStringLiteral("expected ") + what + u' ' + where(current()));
    }

    bool atKeyword(QStringView keyword) const {
        return current().kind == TokenKind::Name && current().text.compare(keyword, Qt::CaseInsensitive) == 0;
    }

    QString orExpression(int depth) {
        QStringList terms{andExpression(depth)};
        while (atKeyword(u"OR")) {
            advance();
            terms << andExpression(depth);
        }
        return terms.size() == 1 ? terms.first() : u'(' + terms.join(QStringLiteral(" OR ")) + u')';
    }

    QString andExpression(int depth) {
        QStringList terms{notExpression(depth)};
        while (atKeyword(u"AND")) {
            advance();
            terms << notExpression(depth);
        }
        return terms.size() == 1 ? terms.first() : u'(' + terms.join(QStringLiteral(" AND ")) + u')';
    }

    QString notExpression(int depth) {
        if (depth > maxDepth) malformed(QStringLiteral("the filter is nested too deeply ") + where(current()));
        if (atKeyword(u"NOT")) {
            advance();
            return QStringLiteral("(NOT ") + notExpression(depth + 1) + u')';
        }
        return primary(depth);
    }

    QString primary(int depth) {
        if (current().kind == TokenKind::Open) {
            advance();
            QString inner = orExpression(depth + 1);
            if (current().kind != TokenKind::Close) expected(QStringLiteral("')'"));
            advance();
            return inner;
        }
        return comparison();
    }

    QString comparison() {
        Operand left = operand();
        const Op op = comparisonOperator();
        Operand right = operand();
        if (left.kind != Operand::Kind::Field && right.kind != Operand::Kind::Field)
            malformed(QStringLiteral("a comparison needs a field name on one side ") + positionText(left.position));
        if (left.kind != Operand::Kind::Field) return fieldWithConstant(right.field, mirrored(op), left);
        if (right.kind != Operand::Kind::Field) return fieldWithConstant(left.field, op, right);
        return fieldWithField(left.field, op, right.field);
    }

    Op comparisonOperator() {
        const Token& token = current();
        if (token.kind != TokenKind::Operator) expected(QStringLiteral("a comparison operator (=, <>, <, >, <=, >=)"));
        static const std::pair<QStringView, Op> known[] = {
            {u"=", Op::Eq},  {u"<>", Op::Ne}, {u"!=", Op::Ne}, {u"<", Op::Lt},
            {u">", Op::Gt}, {u"<=", Op::Le}, {u">=", Op::Ge},
        };
        for (const auto& [text, op] : known) {
            if (token.text == text) {
                advance();
                return op;
            }
        }
        malformed(QStringLiteral("unknown operator '%1' ").arg(token.text) + positionText(token.position));
    }

    Operand operand() {
        const Token& token = current();
        Operand result;
        result.position = token.position;
        switch (token.kind) {
        case TokenKind::Name:
            if (atKeyword(u"NULL")) {
                result.kind = Operand::Kind::Null;
            } else if (atKeyword(u"TRUE") || atKeyword(u"FALSE")) {
                result.kind = Operand::Kind::Constant;
                result.text = token.text;
            } else if (atKeyword(u"AND") || atKeyword(u"OR") || atKeyword(u"NOT")) {
                expected(QStringLiteral("a field name or constant"));
            } else {
                result.kind = Operand::Kind::Field;
                result.field = resolve(token.text);
            }
            break;
        case TokenKind::QuotedName:
            result.kind = Operand::Kind::Field;
            result.field = resolve(token.text);
            break;
        case TokenKind::Text:
            result.kind = Operand::Kind::Constant;
            result.text = token.text;
            result.quoted = true;
            break;
        case TokenKind::Number:
            result.kind = Operand::Kind::Constant;
            result.text = token.text;
            break;
        case TokenKind::Operator:
        case TokenKind::Open:
        case TokenKind::Close:
        case TokenKind::End:
            expected(QStringLiteral("a field name or constant"));
        }
        advance();
        return result;
    }

    FieldDef resolve(const QString& name) const {
        std::optional<FieldDef> def = m_lookup ? m_lookup(name) : std::nullopt;
        if (!def) throw FilterError(messages::fieldNotFound.arg(name));
        return *def;
    }

    QString collation(const FieldDef& a, const FieldDef* b = nullptr) const {
        const bool text = a.kind == FieldKind::Text || (b && b->kind == FieldKind::Text);
        return m_options.caseInsensitive && text ? QStringLiteral(" COLLATE NOCASE") : QString();
    }

    // The constant as the field stores it; null when it stands for no value.
    QVariant storedConstant(const FieldDef& field, const Operand& constant) const {
        // Unquoted numbers belong to the filter's own syntax, so they read the same in every locale.
        if (!constant.quoted && field.kind == FieldKind::Integer) {
            bool ok = false;
            const qint64 number = constant.text.toLongLong(&ok);
            if (!ok) throw FilterError(messages::invalidInteger.arg(constant.text));
            return QVariant(number);
        }
        if (!constant.quoted && field.kind == FieldKind::Money) {
            bool ok = false;
            const double pounds = QLocale::c().toDouble(constant.text, &ok);
            if (!ok) throw FilterError(messages::invalidFloat.arg(constant.text));
            return QVariant(qRound64(pounds * 100.0));
        }
        // Quoted constants are read the way the user would type the value into the field.
        try {
            return conversion::fromEditText(field, constant.text);
        } catch (const DataError& error) {
            throw FilterError(error.message());
        }
    }

    QString fieldWithConstant(const FieldDef& field, Op op, const Operand& constant) {
        const QString name = quotedName(field.name);
        if (constant.kind == Operand::Kind::Null) return nullComparison(name, op);

        QVariant value;
        if (field.kind == FieldKind::Text) {
            const QString text = constant.text;
            const bool partial = constant.quoted && !m_options.noPartialCompare && (op == Op::Eq || op == Op::Ne) &&
                                 text.endsWith(u'*');
            if (partial) return prefixComparison(field, op, text.chopped(1));
            if (text.isEmpty()) {
                // Empty text is stored as null, so a missing value counts as ''; the comparison never yields null.
                // Bound as a real empty text: a null QString would bind as NULL.
                const QString empty = QStringLiteral("");
                m_values << empty << empty;
                return QStringLiteral("(coalesce(%1, ?) %2 ?)").arg(name, opSql(op));
            }
            value = text;
        } else {
            value = storedConstant(field, constant);
            if (value.isNull()) return nullComparison(name, op);
        }

        m_values << value;
        const QString collate = collation(field);
        // IS / IS NOT keep every comparison true or false, so NOT around it treats null records sensibly:
        // a record without a value is "not equal" to any constant and never less or greater.
        switch (op) {
        case Op::Eq: return QStringLiteral("(%1 IS ?%2)").arg(name, collate);
        case Op::Ne: return QStringLiteral("(%1 IS NOT ?%2)").arg(name, collate);
        case Op::Lt:
        case Op::Gt:
        case Op::Le:
        case Op::Ge: break;
        }
        return QStringLiteral("(%1 IS NOT NULL AND %1 %2 ?%3)").arg(name, opSql(op), collate);
    }

    // A constant ending in '*' matches by prefix, compared exactly rather than with LIKE's own case rules.
    QString prefixComparison(const FieldDef& field, Op op, const QString& prefix) {
        const QString name = quotedName(field.name);
        if (prefix.isEmpty())
            return op == Op::Eq ? QStringLiteral("(%1 IS NOT NULL)").arg(name) : QStringLiteral("(%1 IS NULL)").arg(name);
        // SQLite's substr counts characters, not UTF-16 units.
        m_values << QVariant(qint64(prefix.toUcs4().size())) << prefix;
        return QStringLiteral("(substr(%1, 1, ?) %2 ?%3)")
            .arg(name, op == Op::Eq ? QStringLiteral("IS") : QStringLiteral("IS NOT"), collation(field));
    }

    static QString nullComparison(const QString& name, Op op) {
        switch (op) {
        case Op::Eq: return QStringLiteral("(%1 IS NULL)").arg(name);
        case Op::Ne: return QStringLiteral("(%1 IS NOT NULL)").arg(name);
        case Op::Lt:
        case Op::Gt:
        case Op::Le:
        case Op::Ge: break;
        }
        // Nothing is less or greater than a missing value.
        return QStringLiteral("(0)");
    }

    QString fieldWithField(const FieldDef& left, Op op, const FieldDef& right) const {
        const QString a = quotedName(left.name);
        const QString b = quotedName(right.name);
        const QString collate = collation(left, &right);
        // Two missing values are equal, as two empty texts would be.
        switch (op) {
        case Op::Eq: return QStringLiteral("(%1 IS %2%3)").arg(a, b, collate);
        case Op::Ne: return QStringLiteral("(%1 IS NOT %2%3)").arg(a, b, collate);
        case Op::Lt:
        case Op::Gt:
        case Op::Le:
        case Op::Ge: break;
        }
        return QStringLiteral("(%1 IS NOT NULL AND %2 IS NOT NULL AND %1 %3 %2%4)").arg(a, b, opSql(op), collate);
    }

    const QString& m_source;
    std::vector<Token> m_tokens;
    std::size_t m_index = 0;
    FilterOptions m_options;
    const FieldLookup& m_lookup;
    QVariantList m_values;
};

} // namespace

SqlCondition compileFilter(const QString& text, FilterOptions options, const FieldLookup& lookup) {
    if (text.trimmed().isEmpty()) return {};
    return Parser(text, options, lookup).parse();
}

} // namespace ballvane
