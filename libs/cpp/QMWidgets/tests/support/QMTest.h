#pragma once

// Everything a headless GUI test needs, in one include.
#include "ModalAnswerer.h"
#include "MouseGestures.h"
#include "PassThroughApp.h"
#include "ScriptedFileDialogs.h"
#include "SyntheticDesktop.h"
#include "TestApp.h"
#include "TestCase.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "UrlRecorder.h"
#include "WidgetLookup.h"

#include <QtTest>

// The main function of a GUI test program: prepares the environment, makes
// an application object of the given class (QMTest::TestApp or a class
// derived from it) the test's QApplication, then runs the test class.
#define QMTEST_APP_MAIN_WITH(AppClass, TestObject)         \
    int main(int argc, char* argv[])                       \
    {                                                      \
        QMTest::prepareEnvironment();                      \
        AppClass app(argc, argv);                          \
        TestObject tc;                                     \
        QTEST_SET_MAIN_SOURCE_PATH                         \
        return QTest::qExec(&tc, argc, argv);              \
    }

// The same with the framework's plain test application object.
#define QMTEST_APP_MAIN(TestObject) QMTEST_APP_MAIN_WITH(QMTest::TestApp, TestObject)
