#pragma once

#include "Error.h"

#include <QtGlobal>

#include <type_traits>

// The shared-ownership pointer of the audio-file classes. A handle owns an
// object created on the heap together with every copy of it; the last copy to
// go destroys the object through its virtual destructor, so a handle to a base
// class may hold a derived object. The count is a plain integer: a handle and
// its copies belong to one thread. Dereferencing an empty handle throws
// MTools::Error with the message "Null handle".
namespace MTools {

template <typename T>
class Handle
{
public:
    Handle() = default;

    // Takes ownership of an object just created with new; null gives the
    // empty handle.
    explicit Handle(T* object)
        : m_pBody(object ? new Body{1, object} : nullptr)
    {
    }

    Handle(const Handle& other)
        : m_pBody(other.m_pBody)
    {
        if (m_pBody)
            ++m_pBody->count;
    }

    // The source's share is taken before the old body is released: the source
    // may live inside the object this handle is about to destroy
    // (h = h->child).
    Handle& operator=(const Handle& other)
    {
        if (m_pBody != other.m_pBody) {
            Body* pOld = m_pBody;
            m_pBody = other.m_pBody;
            if (m_pBody)
                ++m_pBody->count;
            release(pOld);
        }
        return *this;
    }

    ~Handle() { release(m_pBody); }

    bool isNull() const { return m_pBody == nullptr; }

    T* operator->() { return object(); }
    const T* operator->() const { return object(); }
    T& operator*() { return *object(); }
    const T& operator*() const { return *object(); }

private:
    struct Body {
        qint32 count;
        T* object;
    };

    T* object() const
    {
        if (!m_pBody)
            throwNullHandle();
        return m_pBody->object;
    }

    [[noreturn]] static void throwNullHandle() { throw Error("Null handle"); }

    static void release(Body* pBody)
    {
        static_assert(std::has_virtual_destructor<T>::value,
                      "a handle destroys its object through a virtual destructor");
        if (pBody && --pBody->count == 0) {
            delete pBody->object;
            delete pBody;
        }
    }

    Body* m_pBody = nullptr;
};

}  // namespace MTools
