#pragma once

#include <QStringList>
#include <QSyntaxHighlighter>

class QTextDocument;

namespace QMWidgets {

// A simple C-like colouring: block and line comments, "#" lines, strings,
// digits and a fixed list of keywords and operators.
class CssSyntaxHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    explicit CssSyntaxHighlighter(QTextDocument* pDocument);

    // The first token of the list (in list order) found at nPos, or "".
    QString keywordAt(int nPos, const QString& strText) const;

protected:
    void highlightBlock(const QString& strText) override;

private:
    QStringList m_slTokens;
};

} // namespace QMWidgets
