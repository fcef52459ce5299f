#pragma once

class QCursor;

namespace QMWidgets {

// The application's override cursor as one owner uses it: setting it again
// changes the cursor in place instead of pushing another, and releasing pops
// only what this owner pushed. Enter and leave events, grabs and closes can
// then come in any number and order without piling cursors up on Qt's
// stack. Released on destruction.
class BalancedOverrideCursor
{
public:
    BalancedOverrideCursor() = default;
    ~BalancedOverrideCursor();
    BalancedOverrideCursor(const BalancedOverrideCursor&) = delete;
    BalancedOverrideCursor& operator=(const BalancedOverrideCursor&) = delete;

    void set(const QCursor& cursor);
    void release();
    bool isSet() const;

private:
    bool m_bPushed = false;
};

}  // namespace QMWidgets
