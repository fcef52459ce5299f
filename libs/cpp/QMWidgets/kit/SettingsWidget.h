#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QDomNode>
#include <QString>
#include <QWidget>

namespace QMWidgets {

// A page of the tabbed settings dialog. A page stores its controls' values
// in slotApply and exchanges them with the settings file as one element
// whose tag name is its settingsName: writeSettings creates that element,
// readSettings receives it back (only elements of that tag name reach it).
class SettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWidget(QWidget* pParent = nullptr);

    virtual void readSettings(const QDomNode& node) = 0;
    virtual QDomElement writeSettings(QDomDocument& document) = 0;
    virtual QString settingsName() = 0;

public slots:
    virtual void slotApply();
};

} // namespace QMWidgets
