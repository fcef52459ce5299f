#pragma once

// Everything a headless GUI test needs, in one include.
#include "ModalAnswerer.h"
#include "TestApp.h"
#include "TestCase.h"
#include "TestEnvironment.h"
#include "UrlRecorder.h"
#include "WidgetLookup.h"

#include <QtTest>

// The main function of a GUI test program: prepares the environment, makes
// the framework's application object the test's QApplication, then runs the
// test class.
#define QMTEST_APP_MAIN(TestObject)                        \
    int main(int argc, char* argv[])                       \
    {                                                      \
        QMTest::prepareEnvironment();                      \
        QMTest::TestApp app(argc, argv);                   \
        TestObject tc;                                     \
        QTEST_SET_MAIN_SOURCE_PATH                         \
        return QTest::qExec(&tc, argc, argv);              \
    }
