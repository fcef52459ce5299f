#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace QMTest {

// Records every URL the program would open (web pages, mail links, folders)
// instead of handing it to the desktop. It captures Platform::openUrl and, as
// a safety net, QDesktopServices' handlers for the common schemes. Active
// from construction to destruction.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    explicit UrlRecorder(QObject* pParent = nullptr);
    ~UrlRecorder() override;

    QList<QUrl> urls() const;
    QUrl last() const;
    int count() const;
    void clear();
    // What the captured opening reports back to the program (default true).
    void setAnswer(bool bOpened);

public slots:
    void open(const QUrl& url);

private:
    QList<QUrl> m_urls;
    bool m_bAnswer = true;
};

}  // namespace QMTest
