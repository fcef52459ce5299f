#pragma once

// Everything a headless GUI test needs, in one include.
#include "FileDialogInput.h"
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

// The main function of a GUI test program: prepares the environment, runs
// the preparation (one statement, for what must come before the application
// object exists), makes an application object of the given class
// (QMTest::TestApp or a class derived from it) the test's QApplication, then
// runs the test class.
#define QMTEST_APP_MAIN_PREPARED(AppClass, TestObject, prepare) \
    int main(int argc, char* argv[])                            \
    {                                                           \
        QMTest::prepareEnvironment();                           \
        prepare;                                                \
        AppClass app(argc, argv);                               \
        TestObject tc;                                          \
        QTEST_SET_MAIN_SOURCE_PATH                              \
        return QTest::qExec(&tc, argc, argv);                   \
    }

// The same with nothing to prepare.
#define QMTEST_APP_MAIN_WITH(AppClass, TestObject) QMTEST_APP_MAIN_PREPARED(AppClass, TestObject, (void)0)

// The same with the framework's plain test application object.
#define QMTEST_APP_MAIN(TestObject) QMTEST_APP_MAIN_WITH(QMTest::TestApp, TestObject)

// The same on a small, high-density screen: the 800 x 600 offscreen screen
// at a scale of 2 is 400 x 300 logical pixels at a device pixel ratio of 2.
#define QMTEST_SMALL_SCREEN_APP_MAIN(TestObject) \
    QMTEST_APP_MAIN_PREPARED(QMTest::TestApp, TestObject, qputenv("QT_SCALE_FACTOR", "2"))
