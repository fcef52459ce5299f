#pragma once

#include <QObject>

namespace QMWidgets {

// A plain object of the platform layer; it adds nothing to QObject.
class NativeProxyObject : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
};

}  // namespace QMWidgets
