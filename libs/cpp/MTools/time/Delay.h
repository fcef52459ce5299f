#pragma once

#include <QEventLoop>
#include <QObject>

namespace MTools {

// Waits like MTools::wait(), on an event loop of its own. The object takes
// no parent (the argument is there for callers that pass one), so whoever
// creates it deletes it. Do not delete it, nor call waitFor() again on it,
// while it waits: a second waitFor() returns at once and its timer later
// ends the first wait early.
class Delay : public QObject
{
    Q_OBJECT

public:
    explicit Delay(QObject* parent = nullptr);
    ~Delay() override;

    // Returns once slotUnblock() has run, milliseconds from now (0 for
    // negative ones).
    void waitFor(int milliseconds);

public slots:
    void slotUnblock();

private:
    QEventLoop m_loop;
};

}  // namespace MTools
