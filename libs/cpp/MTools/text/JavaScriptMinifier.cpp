#include "JavaScriptMinifier.h"

namespace MTools {

namespace {

bool isOneOf(int c, const char* set)
{
    for (; *set; ++set) {
        if (c == static_cast<unsigned char>(*set))
            return true;
    }
    return false;
}

}  // namespace

JavaScriptMinifier::JavaScriptMinifier() = default;

QString JavaScriptMinifier::minify(const QString& source)
{
    m_strOutput.clear();
    m_strInput = source;
    m_nPosition = 0;
    m_nA = m_nB = m_nLookahead = m_nX = m_nY = kEnd;

    // A UTF-8 byte-order mark read as Latin-1 text is EF BB BF.
    if (peek() == 0xEF) {
        get();
        get();
        get();
    }
    m_nA = '\n';
    action(3);
    while (m_nA != kEnd) {
        if (m_nA == ' ') {
            action(isWordChar(m_nB) ? 1 : 2);
        } else if (m_nA == '\n') {
            if (isOneOf(m_nB, "{[(+-!~"))
                action(1);
            else if (m_nB == ' ')
                action(3);
            else
                action(isWordChar(m_nB) ? 1 : 2);
        } else if (m_nB == ' ') {
            action(isWordChar(m_nA) ? 1 : 3);
        } else if (m_nB == '\n') {
            if (isOneOf(m_nA, "}])+-\"'`"))
                action(1);
            else
                action(isWordChar(m_nA) ? 1 : 3);
        } else {
            action(1);
        }
    }
    m_strInput.clear();
    return m_strOutput;
}

int JavaScriptMinifier::readRaw()
{
    if (m_nPosition >= m_strInput.size())
        return kEnd;
    const ushort code = m_strInput.at(m_nPosition++).unicode();
    return code > 0xFF ? '?' : code;
}

int JavaScriptMinifier::get()
{
    int c = m_nLookahead;
    if (c != kEnd)
        m_nLookahead = kEnd;
    else
        c = readRaw();
    if (c == '\n' || c >= ' ' || c == kEnd)
        return c;
    if (c == '\r')
        return '\n';
    return ' ';
}

int JavaScriptMinifier::peek()
{
    m_nLookahead = get();
    return m_nLookahead;
}

// The next character with comments taken out: a block comment becomes one
// space, a line comment the line feed that ends it.
int JavaScriptMinifier::next()
{
    int c = get();
    if (c == '/') {
        const int following = peek();
        if (following == '/') {
            do {
                c = get();
            } while (c != '\n' && c != kEnd);
        } else if (following == '*') {
            get();
            for (;;) {
                const int inside = get();
                if (inside == kEnd) {
                    c = kEnd;  // cut off: the scan ends here
                    break;
                }
                if (inside == '*' && peek() == '/') {
                    get();
                    c = ' ';
                    break;
                }
            }
        }
    }
    m_nY = m_nX;
    m_nX = c;
    return c;
}

bool JavaScriptMinifier::isWordChar(int c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')
        || c == '_' || c == '$' || c == '\\' || c > 126;
}

void JavaScriptMinifier::put(int c)
{
    m_strOutput.append(QChar(ushort(c)));
}

// Mode 1 outputs A and goes on as mode 2; mode 2 moves B into A (copying a
// string literal whole) and goes on as mode 3; mode 3 reads the next B and
// copies a regular-expression literal whole. A literal cut off by the end of
// the input sets A to the end, which stops the scan.
void JavaScriptMinifier::action(int mode)
{
    if (mode <= 1) {
        put(m_nA);
        // Keeps "a + ++b" from turning into "a+++b".
        if ((m_nY == '\n' || m_nY == ' ') && isOneOf(m_nA, "+-*/") && isOneOf(m_nB, "+-*/"))
            put(m_nY);
    }
    if (mode <= 2) {
        m_nA = m_nB;
        if (m_nA == '\'' || m_nA == '"' || m_nA == '`') {
            for (;;) {
                put(m_nA);
                m_nA = get();
                if (m_nA == m_nB)
                    break;
                if (m_nA == '\\') {
                    put(m_nA);
                    m_nA = get();
                }
                if (m_nA == kEnd)
                    return;
            }
        }
    }
    m_nB = next();
    if (m_nB == '/' && isOneOf(m_nA, "(,=:[!&|?+-~*/{\n")) {
        put(m_nA);
        if (m_nA == '/' || m_nA == '*')
            put(' ');
        put(m_nB);
        for (;;) {
            m_nA = get();
            if (m_nA == '[') {
                for (;;) {
                    put(m_nA);
                    m_nA = get();
                    if (m_nA == ']')
                        break;
                    if (m_nA == '\\') {
                        put(m_nA);
                        m_nA = get();
                    }
                    if (m_nA == kEnd)
                        return;
                }
            } else if (m_nA == '/') {
                peek();
                m_nB = next();
                break;
            } else if (m_nA == '\\') {
                put(m_nA);
                m_nA = get();
            }
            if (m_nA == kEnd)
                return;
            put(m_nA);
        }
    }
}

QString minifyJavaScript(const QString& source)
{
    JavaScriptMinifier minifier;
    return minifier.minify(source);
}

}  // namespace MTools
