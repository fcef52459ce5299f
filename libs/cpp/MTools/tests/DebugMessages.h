#pragma once

#include <QLoggingCategory>

// The test environment turns debug output off (QT_LOGGING_RULES), which would
// also hide the debug messages that tests expect with QTest::ignoreMessage.
// Installed as the category filter, this turns them back on for the default
// category after the rules have run.
namespace TestSupport {

inline QLoggingCategory::CategoryFilter& previousCategoryFilter()
{
    static QLoggingCategory::CategoryFilter filter = nullptr;
    return filter;
}

inline void enableDefaultDebug(QLoggingCategory* pCategory)
{
    if (previousCategoryFilter())
        previousCategoryFilter()(pCategory);
    if (qstrcmp(pCategory->categoryName(), "default") == 0)
        pCategory->setEnabled(QtDebugMsg, true);
}

inline void enableDebugMessages()
{
    if (!previousCategoryFilter())
        previousCategoryFilter() = QLoggingCategory::installFilter(enableDefaultDebug);
}

}  // namespace TestSupport
