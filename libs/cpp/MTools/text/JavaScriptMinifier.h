#pragma once

#include <QString>

namespace MTools {

// Shrinks JavaScript source: removes comments and the white space the
// language does not need, and copies string, template and regular-expression
// literals unchanged. A one-pass scanner with one character of look-ahead
// over Latin-1 text: a character above U+00FF comes out as '?', and a leading
// U+00EF is taken as the start of a UTF-8 byte-order mark (three characters
// dropped). Never fails: a literal or comment cut off by the end of the text
// ends the scan with what was produced so far.
class JavaScriptMinifier
{
public:
    JavaScriptMinifier();

    // Every call starts afresh; one object may minify any number of texts.
    QString minify(const QString& source);

private:
    static constexpr int kEnd = -1;

    int readRaw();
    int get();
    int peek();
    int next();
    void action(int mode);
    void put(int c);
    static bool isWordChar(int c);

    QString m_strOutput;
    QString m_strInput;
    int m_nPosition = 0;

    // Scanner state: the current and the next character, one stored
    // look-ahead, and the last two characters the comment-skipping reader gave.
    int m_nA = kEnd;
    int m_nB = kEnd;
    int m_nLookahead = kEnd;
    int m_nX = kEnd;
    int m_nY = kEnd;
};

// minify() of a fresh minifier.
QString minifyJavaScript(const QString& source);

}  // namespace MTools
