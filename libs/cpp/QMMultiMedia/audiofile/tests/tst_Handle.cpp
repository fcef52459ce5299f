// The reference-counted handle: shared lifetime, assignment order and the
// empty handle.
#include "Handle.h"

#include <QtTest>

using MTools::Handle;

namespace {

struct Counted
{
    static int alive;
    static int destroyed;
    explicit Counted(int v = 0) : value(v) { ++alive; }
    virtual ~Counted()
    {
        --alive;
        ++destroyed;
    }
    int value;
    Handle<Counted> child;
};
int Counted::alive = 0;
int Counted::destroyed = 0;

struct Base
{
    virtual ~Base() = default;
};

struct Derived : Base
{
    explicit Derived(bool* pDestroyed) : m_pDestroyed(pDestroyed) {}
    ~Derived() override { *m_pDestroyed = true; }
    bool* m_pDestroyed;
};

}  // namespace

class tst_Handle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copiesShareOneObject();
    void selfAssignmentKeepsTheObject();
    void assigningEmptyReleases();
    void assignmentFromInsideTheReleasedObject();
    void emptyHandleThrowsOnDereference();
    void derivedObjectDestroyedThroughBase();
};

void tst_Handle::init()
{
    Counted::alive = 0;
    Counted::destroyed = 0;
}

void tst_Handle::copiesShareOneObject()
{
    auto* pFirst = new Handle<Counted>(new Counted(7));
    Handle<Counted> copy(*pFirst);
    Handle<Counted> assigned;
    assigned = copy;
    delete pFirst;
    QCOMPARE(Counted::alive, 1);
    copy->value = 8;
    QCOMPARE((*assigned).value, 8);
    copy = Handle<Counted>();
    QCOMPARE(Counted::destroyed, 0);
    assigned = Handle<Counted>(new Counted(9));
    QCOMPARE(Counted::destroyed, 1);  // the last share of the first object went
    QCOMPARE(assigned->value, 9);
}

void tst_Handle::selfAssignmentKeepsTheObject()
{
    {
        Handle<Counted> only(new Counted(3));
        Handle<Counted>& same = only;
        only = same;
        QCOMPARE(Counted::alive, 1);
        QCOMPARE(only->value, 3);
        Handle<Counted> other(only);
        only = other;  // the same body through another handle
        QCOMPARE(only->value, 3);
    }
    QCOMPARE(Counted::destroyed, 1);
}

void tst_Handle::assigningEmptyReleases()
{
    Handle<Counted> h(new Counted);
    h = Handle<Counted>();
    QVERIFY(h.isNull());
    QCOMPARE(Counted::alive, 0);
    QCOMPARE(Counted::destroyed, 1);
    QVERIFY(Handle<Counted>(nullptr).isNull());
    QVERIFY(Handle<Counted>(Handle<Counted>()).isNull());
}

void tst_Handle::assignmentFromInsideTheReleasedObject()
{
    // h = h->child: the source lives in the object that h releases. Taking the
    // source's share first keeps it valid (the sanitised build checks it).
    Handle<Counted> h(new Counted(1));
    h->child = Handle<Counted>(new Counted(2));
    h = h->child;
    QCOMPARE(h->value, 2);
    QCOMPARE(Counted::alive, 1);
    QCOMPARE(Counted::destroyed, 1);
}

void tst_Handle::emptyHandleThrowsOnDereference()
{
    Handle<Counted> empty;
    QVERIFY(empty.isNull());
    const Handle<Counted>& constEmpty = empty;
    QVERIFY_EXCEPTION_THROWN(empty->value = 1, MTools::Error);
    QVERIFY_EXCEPTION_THROWN((void)(*constEmpty).value, MTools::Error);
    try {
        (void)(*empty);
        QFAIL("no exception");
    } catch (const MTools::Error& error) {
        const MString& message = error.message();
        QCOMPARE(QByteArray(message.data(), int(message.length())), QByteArray("Null handle"));
    }
}

void tst_Handle::derivedObjectDestroyedThroughBase()
{
    bool destroyed = false;
    {
        Handle<Base> h(new Derived(&destroyed));
        Handle<Base> copy = h;
        Q_UNUSED(copy);
    }
    QVERIFY(destroyed);
}

QTEST_GUILESS_MAIN(tst_Handle)
#include "tst_Handle.moc"
