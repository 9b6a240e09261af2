#include "valve/engineStateScope.h"

#include <QRegularExpression>
#include <QSet>

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('\\') || c.unicode() > 127;
}

bool isNamePart(QChar c)
{
    return isNameStart(c) || c.isDigit();
}

const QSet<QString> &mathMembers()
{
    static const QSet<QString> members{
        "abs",   "acos",  "acosh", "asin", "asinh", "atan",  "atanh", "atan2", "cbrt",   "ceil",  "clz32",
        "cos",   "cosh",  "exp",   "expm1", "floor", "fround", "hypot", "imul", "log",    "log1p", "log10",
        "log2",  "max",   "min",   "pow",  "random", "round", "sign",  "sin",   "sinh",  "sqrt",   "tan",
        "tanh",  "trunc", "E",     "LN10", "LN2",   "LOG10E", "LOG2E", "PI",   "SQRT1_2", "SQRT2"};
    return members;
}

const QSet<QString> &plainNames()
{
    static const QSet<QString> names{"NaN", "Infinity", "undefined", "true", "false", "null"};
    return names;
}

// Longest first, so that "===" is taken before "==" and "=". A lone "=" and
// every compound assignment ("+=", ">>>=", "**=") are missing on purpose:
// what is left of them after the longest match is a lone "=".
const char *const operators[] = {"===", "!==", ">>>", "==", "!=", "<=", ">=", ">>", "<<", "&&", "||", "**",
                                 "+",   "-",   "*",   "/",  "%",  "(",  ")",  ",",  "?",  ":",  "<",  ">",
                                 "!",   "~",   "&",   "|",  "^",  ";"};

} // namespace

bool leavesNoEngineState(const QString &strProgram)
{
    static const QRegularExpression number(
        QStringLiteral("\\G(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?"));
    const QString &s = strProgram;
    const int nSize = s.size();
    int i = 0;
    while (i < nSize) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        // "++" and "--" write to their operand, even to Math.abs.
        if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && i + 1 < nSize && s.at(i + 1) == c)
            return false;
        if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < nSize && s.at(i + 1).isDigit())) {
            const QRegularExpressionMatch m = number.match(s, i);
            if (!m.hasMatch())
                return false;
            i += m.capturedLength();
            // "1..constructor", "1.5.x", "2e": a member or something odder.
            if (i < nSize && (isNamePart(s.at(i)) || s.at(i) == QLatin1Char('.')))
                return false;
            continue;
        }
        if (isNameStart(c)) {
            int nEnd = i;
            while (nEnd < nSize && isNamePart(s.at(nEnd)))
                ++nEnd;
            const QString strName = s.mid(i, nEnd - i);
            i = nEnd;
            if (plainNames().contains(strName))
                continue;
            if (strName != QLatin1String("Math"))
                return false;
            while (i < nSize && s.at(i).isSpace())
                ++i;
            if (i >= nSize || s.at(i) != QLatin1Char('.'))
                return false;
            ++i;
            while (i < nSize && s.at(i).isSpace())
                ++i;
            nEnd = i;
            while (nEnd < nSize && isNamePart(s.at(nEnd)))
                ++nEnd;
            if (!mathMembers().contains(s.mid(i, nEnd - i)))
                return false;
            i = nEnd;
            continue;
        }
        bool bMatched = false;
        for (const char *op : operators) {
            const QLatin1String token(op);
            if (s.midRef(i, token.size()) == token) {
                i += token.size();
                bMatched = true;
                break;
            }
        }
        if (!bMatched)
            return false;
    }
    return true;
}
