#include "TestCase.h"

#include "TestEnvironment.h"

namespace QMTest {

void TestCase::init()
{
    clearSettings();
}

}  // namespace QMTest
