#pragma once

#include <QString>
#include <QVector>

namespace QMWidgets {

// The built-in table of the maker's other applications behind the top bar's
// More menu, and the rules for choosing a row. The request sequences per
// category live with PromoMenuBar::addCatalogue.
class PromoCatalogue
{
public:
    enum class Match { Equal, EndsWith, Contains };

    struct Row {
        Match mode;
        const char* szMatchKey;     // lower-case ASCII word
        const char* szLinkKey;      // goes into the cross-promotion link
        const char* szText;         // menu text; "&&" shows as "&"
        const char* szDisplayName;  // names the icon; no blanks
        const char* szExcluded1;    // further own keys the row is skipped for
        const char* szExcluded2;
    };

    // This program's table, in the order it is searched.
    static const QVector<Row>& rows();

    // The running application's key: its name lower-cased, every "lite"
    // removed, then every blank removed.
    static QString ownKey(const QString& strAppName);

    // Whether strText matches strKey in the given mode (case-sensitive).
    static bool matches(Match mode, const QString& strText, const QString& strKey);

    // Index of the first row that accepts the request for the running
    // application with the given own key, or -1.
    static int findRow(const QVector<Row>& table, const QString& strRequest, const QString& strOwnKey);

    // The cross-promotion page of an application on the maker's app server.
    static QString link(const QString& strLinkKey);

    // The page of an application on Apple's app store; the name (lower-cased)
    // and the id go into the path as they are.
    static QString storeAppPage(const QString& strAppName, const QString& strStoreId);

    // The resource path of a row's icon.
    static QString iconPath(const Row& row);
};

}  // namespace QMWidgets
