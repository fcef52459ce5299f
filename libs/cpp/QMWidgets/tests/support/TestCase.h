#pragma once

#include <QObject>

namespace QMTest {

// Base of a GUI test class: the settings store is emptied before every test
// function. A test class that declares its own init() hides this one and
// calls QMTest::clearSettings() there itself.
class TestCase : public QObject
{
    Q_OBJECT

private slots:
    void init();
};

}  // namespace QMTest
