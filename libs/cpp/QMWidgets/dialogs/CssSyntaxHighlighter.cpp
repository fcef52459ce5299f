#include "CssSyntaxHighlighter.h"

#include <QColor>
#include <QTextDocument>

namespace QMWidgets {

namespace {
// Block states kept between blocks.
constexpr int kInComment = 0;
constexpr int kInString = 1;
constexpr int kOutside = -1;

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

bool isNumberChar(QChar c)
{
    if (c.unicode() >= '0' && c.unicode() <= '9')
        return true;
    return c.unicode() > 127 && c.isNumber();
}
} // namespace

CssSyntaxHighlighter::CssSyntaxHighlighter(QTextDocument* pDocument)
    : QSyntaxHighlighter(pDocument)
{
    // Order matters: the first match wins, so longer tokens precede their prefixes
    // where it counts ("foreach" before "for", "->" before "-" and ">").
    m_slTokens << "foreach" << "bool" << "int" << "void" << "double" << "float" << "char" << "delete"
               << "class" << "const" << "virtual" << "mutable" << "this" << "struct" << "union" << "throw"
               << "for" << "if" << "else" << "false" << "namespace" << "switch" << "case" << "public"
               << "private" << "protected" << "new" << "return" << "using" << "true" << "->" << ">>" << "<<"
               << ">" << "<" << "(" << ")" << "{" << "}" << "[" << "]" << "+" << "-" << "*" << "/" << "="
               << "!" << "." << "," << ";" << ":" << "&" << "emit" << "connect" << "SIGNAL" << "|" << "SLOT"
               << "slots" << "signals";
}

QString CssSyntaxHighlighter::keywordAt(int nPos, const QString& strText) const
{
    for (const QString& strToken : m_slTokens) {
        if (strText.midRef(nPos, strToken.size()) == strToken)
            return strToken;
    }
    return QString();
}

void CssSyntaxHighlighter::highlightBlock(const QString& strText)
{
    int nState = previousBlockState();
    int nStart = 0;
    int c = 0;
    const int nLength = strText.size();

    while (c < nLength) {
        if (nState == kInComment) {
            if (strText.midRef(c, 2) == QLatin1String("*/")) {
                setFormat(nStart, c + 2 - nStart, QColor(Qt::darkGray));
                c += 2;
                nState = kOutside;
            } else {
                ++c;
            }
        } else if (nState == kInString) {
            if (isQuote(strText.at(c))) {
                const bool bEscaped = c > 0 && strText.at(c - 1) == QLatin1Char('\\');
                if (!bEscaped) {
                    setFormat(nStart, c + 1 - nStart, QColor(Qt::cyan));
                    nState = kOutside;
                }
            }
            ++c;
        } else if (strText.midRef(c, 2) == QLatin1String("//")) {
            setFormat(c, nLength - c, QColor(Qt::darkGray));
            setCurrentBlockState(nState);
            return;
        } else if (strText.at(c) == QLatin1Char('#')) {
            setFormat(c, nLength - c, QColor(Qt::green));
            setCurrentBlockState(nState);
            return;
        } else if (isNumberChar(strText.at(c))) {
            setFormat(c, 1, QColor(Qt::cyan));
            ++c;
        } else if (strText.midRef(c, 2) == QLatin1String("/*")) {
            nStart = c;
            nState = kInComment;
            // Only one step: the star may also close the comment ("/*/").
            ++c;
        } else if (isQuote(strText.at(c))) {
            nStart = c;
            nState = kInString;
            ++c;
        } else {
            const QString strToken = keywordAt(c, strText);
            if (!strToken.isEmpty()) {
                setFormat(c, strToken.size(), QColor(Qt::white));
                c += strToken.size();
            } else {
                ++c;
            }
        }
    }

    if (nState == kInComment)
        setFormat(nStart, nLength - nStart, QColor(Qt::darkGray));
    else if (nState == kInString)
        setFormat(nStart, nLength - nStart, QColor(Qt::cyan));
    setCurrentBlockState(nState);
}

} // namespace QMWidgets
