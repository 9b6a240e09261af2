#include "valve/plainArithmetic.h"

#include <QVarLengthArray>

#include <cmath>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// The engine's ** operator: std::pow, except for a base of +-1 with an
// infinite exponent (NaN). Unlike Math.pow it gives 1 for 1 ** NaN.
double scriptExponentiate(double x, double y)
{
    if ((x == 1 || x == -1) && std::isinf(y))
        return notANumber;
    return std::pow(x, y);
}

// The engine's Math.pow: ** and, besides, NaN for any NaN exponent.
double scriptPow(double x, double y)
{
    if (std::isnan(y))
        return notANumber;
    return scriptExponentiate(x, y);
}

// The engine's Math.round: NaN, infinities and zeros unchanged, otherwise
// floor(x + 0.5) with the sign of x. That is not the nearest integer for
// every number (0.49999999999999994 gives 1), but it is the engine's.
double scriptRound(double x)
{
    if (std::isnan(x) || std::isinf(x) || x == 0)
        return x;
    return std::copysign(std::floor(x + 0.5), x);
}

double scriptMin(const double *pArgs, int nArgs)
{
    double dblResult = std::numeric_limits<double>::infinity();
    for (int i = 0; i < nArgs; ++i) {
        const double v = pArgs[i];
        if (std::isnan(v))
            return notANumber;
        if (v < dblResult || (v == 0 && dblResult == 0 && std::signbit(v)))
            dblResult = v;
    }
    return dblResult;
}

double scriptMax(const double *pArgs, int nArgs)
{
    double dblResult = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < nArgs; ++i) {
        const double v = pArgs[i];
        if (std::isnan(v))
            return notANumber;
        if (v > dblResult || (v == 0 && dblResult == 0 && !std::signbit(v)))
            dblResult = v;
    }
    return dblResult;
}

bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('\\')
        || c.unicode() > 127;
}

// The engine computes with integers where it can, and its integer product of
// 0 and a negative number is +0 where IEEE arithmetic gives -0. Which zero a
// program yields is therefore left to the engine.
bool isNegativeZero(double v)
{
    return v == 0 && std::signbit(v);
}

class parser
{
public:
    explicit parser(const QString &strProgram)
        : text(strProgram)
    {
    }

    bool run(double &dblResult)
    {
        double v;
        if (!expression(v))
            return false;
        skipBlanks();
        if (peek(QLatin1Char(';'))) {
            ++nPos;
            skipBlanks();
        }
        if (nPos != text.size())
            return false;
        dblResult = v;
        return true;
    }

private:
    // Line ends are left to the script engine: they bring automatic
    // semicolon insertion into play.
    void skipBlanks()
    {
        while (nPos < text.size() && (text.at(nPos) == QLatin1Char(' ') || text.at(nPos) == QLatin1Char('\t')))
            ++nPos;
    }

    bool peek(QChar c) const { return nPos < text.size() && text.at(nPos) == c; }
    bool peekAt(int nOffset, QChar c) const
    {
        return nPos + nOffset < text.size() && text.at(nPos + nOffset) == c;
    }

    // + or - as an operator; "++" and "--" are update operators this
    // evaluator does not handle.
    bool additiveOperator(QChar &op)
    {
        skipBlanks();
        if (!(peek(QLatin1Char('+')) || peek(QLatin1Char('-'))))
            return false;
        op = text.at(nPos);
        if (peekAt(1, op) || peekAt(1, QLatin1Char('=')))
            return false;
        ++nPos;
        return true;
    }

    // Deeply nested text is left to the engine rather than to this stack.
    struct depthGuard
    {
        explicit depthGuard(int &nDepthRef)
            : nDepth(++nDepthRef)
            , nRef(nDepthRef)
        {
        }
        ~depthGuard() { --nRef; }
        bool tooDeep() const { return nDepth > 64; }
        int nDepth;
        int &nRef;
    };

    bool expression(double &v)
    {
        const depthGuard guard(nDepth);
        return !guard.tooDeep() && additive(v);
    }

    bool additive(double &v)
    {
        if (!multiplicative(v))
            return false;
        for (;;) {
            skipBlanks();
            if (!(peek(QLatin1Char('+')) || peek(QLatin1Char('-'))))
                return true;
            QChar op;
            if (!additiveOperator(op))
                return false;
            double w;
            if (!multiplicative(w))
                return false;
            v = op == QLatin1Char('+') ? v + w : v - w;
            if (isNegativeZero(v))
                return false;
        }
    }

    bool multiplicative(double &v)
    {
        if (!exponentiation(v))
            return false;
        for (;;) {
            skipBlanks();
            QChar op;
            if (peek(QLatin1Char('*')) && !peekAt(1, QLatin1Char('*')))
                op = QLatin1Char('*');
            else if (peek(QLatin1Char('/')))
                op = QLatin1Char('/');
            else if (peek(QLatin1Char('%')))
                op = QLatin1Char('%');
            else
                return true;
            // "//" and "/*" open comments, "op=" is an assignment.
            if (peekAt(1, QLatin1Char('=')) || (op == QLatin1Char('/') && (peekAt(1, QLatin1Char('/')) || peekAt(1, QLatin1Char('*')))))
                return false;
            ++nPos;
            double w;
            if (!exponentiation(w))
                return false;
            if (op == QLatin1Char('*'))
                v = v * w;
            else if (op == QLatin1Char('/'))
                v = v / w;
            else
                v = std::fmod(v, w);
            if (isNegativeZero(v))
                return false;
        }
    }

    // UnaryExpression, or UpdateExpression ** ExponentiationExpression: a
    // unary operator directly before ** is a syntax error for the engine.
    bool exponentiation(double &v)
    {
        const depthGuard guard(nDepth);
        if (guard.tooDeep())
            return false;
        skipBlanks();
        if (peek(QLatin1Char('+')) || peek(QLatin1Char('-'))) {
            if (!unary(v))
                return false;
            skipBlanks();
            return !(peek(QLatin1Char('*')) && peekAt(1, QLatin1Char('*')));
        }
        if (!primary(v))
            return false;
        skipBlanks();
        if (peek(QLatin1Char('*')) && peekAt(1, QLatin1Char('*'))) {
            if (peekAt(2, QLatin1Char('=')))
                return false;
            nPos += 2;
            double w;
            if (!exponentiation(w))
                return false;
            v = scriptExponentiate(v, w);
        }
        return !isNegativeZero(v);
    }

    bool unary(double &v)
    {
        const depthGuard guard(nDepth);
        if (guard.tooDeep())
            return false;
        skipBlanks();
        if (peek(QLatin1Char('+')) || peek(QLatin1Char('-'))) {
            const QChar op = text.at(nPos);
            if (peekAt(1, op))
                return false;
            ++nPos;
            if (!unary(v))
                return false;
            if (op == QLatin1Char('-'))
                v = -v;
            return !isNegativeZero(v);
        }
        return primary(v);
    }

    bool primary(double &v)
    {
        skipBlanks();
        if (nPos >= text.size())
            return false;
        const QChar c = text.at(nPos);
        if (c == QLatin1Char('(')) {
            ++nPos;
            if (!expression(v))
                return false;
            skipBlanks();
            if (!peek(QLatin1Char(')')))
                return false;
            ++nPos;
            return true;
        }
        if (c.isDigit() || c == QLatin1Char('.'))
            return number(v);
        if (c == QLatin1Char('M'))
            return mathMember(v);
        return false;
    }

    bool digits(QString &strOut)
    {
        const int nStart = nPos;
        while (nPos < text.size() && text.at(nPos) >= QLatin1Char('0') && text.at(nPos) <= QLatin1Char('9'))
            ++nPos;
        strOut = text.mid(nStart, nPos - nStart);
        return nPos > nStart;
    }

    bool number(double &v)
    {
        QString strInt, strFrac, strExp;
        const bool bInt = digits(strInt);
        // "08" and "017" are legacy literals with rules of their own.
        if (bInt && strInt.size() > 1 && strInt.at(0) == QLatin1Char('0'))
            return false;
        bool bFrac = false;
        if (peek(QLatin1Char('.'))) {
            ++nPos;
            bFrac = digits(strFrac);
        }
        if (!bInt && !bFrac)
            return false;
        QChar expSign = QLatin1Char('+');
        if (peek(QLatin1Char('e')) || peek(QLatin1Char('E'))) {
            ++nPos;
            if (peek(QLatin1Char('+')) || peek(QLatin1Char('-')))
                expSign = text.at(nPos++);
            if (!digits(strExp))
                return false;
        }
        // A literal directly followed by a name, a digit or a dot is an error
        // (or a member access) for the engine.
        if (nPos < text.size() && (isIdentifierPart(text.at(nPos)) || text.at(nPos) == QLatin1Char('.')))
            return false;
        const QString strCanonical = (bInt ? strInt : QStringLiteral("0")) + QLatin1Char('.')
            + (bFrac ? strFrac : QStringLiteral("0")) + QLatin1Char('e') + expSign
            + (strExp.isEmpty() ? QStringLiteral("0") : strExp);
        bool bOk = false;
        const double dblValue = strCanonical.toDouble(&bOk);
        if (!bOk && !std::isinf(dblValue))
            return false;
        v = dblValue;
        return true;
    }

    bool name(QString &strOut)
    {
        const int nStart = nPos;
        while (nPos < text.size() && isIdentifierPart(text.at(nPos)))
            ++nPos;
        strOut = text.mid(nStart, nPos - nStart);
        return nPos > nStart;
    }

    bool mathMember(double &v)
    {
        QString strObject, strMember;
        if (!name(strObject) || strObject != QLatin1String("Math") || !peek(QLatin1Char('.')))
            return false;
        ++nPos;
        if (!name(strMember))
            return false;
        skipBlanks();
        if (!peek(QLatin1Char('('))) {
            if (strMember == QLatin1String("E"))
                v = M_E;
            else if (strMember == QLatin1String("PI"))
                v = M_PI;
            else if (strMember == QLatin1String("LN2"))
                v = M_LN2;
            else if (strMember == QLatin1String("LN10"))
                v = M_LN10;
            else
                return false;
            return true;
        }
        ++nPos;
        QVarLengthArray<double, 4> args;
        skipBlanks();
        if (!peek(QLatin1Char(')'))) {
            for (;;) {
                double w;
                if (!expression(w))
                    return false;
                args.append(w);
                skipBlanks();
                if (peek(QLatin1Char(','))) {
                    ++nPos;
                    continue;
                }
                break;
            }
        }
        if (!peek(QLatin1Char(')')))
            return false;
        ++nPos;
        const auto arg = [&args](int i) { return i < args.size() ? args.at(i) : notANumber; };
        if (strMember == QLatin1String("abs")) {
            // The engine's abs of -2^31 depends on whether it holds the
            // number as an integer (then it gives a tiny denormal, not 2^31).
            if (arg(0) == -2147483648.0)
                return false;
            v = std::fabs(arg(0));
        }
        else if (strMember == QLatin1String("ceil"))
            v = std::ceil(arg(0));
        else if (strMember == QLatin1String("exp"))
            v = std::exp(arg(0));
        else if (strMember == QLatin1String("floor"))
            v = std::floor(arg(0));
        else if (strMember == QLatin1String("round"))
            v = scriptRound(arg(0));
        else if (strMember == QLatin1String("log"))
            v = std::log(arg(0));
        else if (strMember == QLatin1String("log10"))
            v = std::log10(arg(0));
        else if (strMember == QLatin1String("sqrt"))
            v = std::sqrt(arg(0));
        else if (strMember == QLatin1String("pow"))
            v = scriptPow(arg(0), arg(1));
        else if (strMember == QLatin1String("min"))
            v = scriptMin(args.constData(), args.size());
        else if (strMember == QLatin1String("max"))
            v = scriptMax(args.constData(), args.size());
        else
            return false;
        return !isNegativeZero(v);
    }

    const QString &text;
    int nPos = 0;
    int nDepth = 0;
};

} // namespace

bool evaluatePlainArithmetic(const QString &strProgram, double &dblResult)
{
    double dblValue;
    if (!parser(strProgram).run(dblValue))
        return false;
    dblResult = dblValue;
    return true;
}
