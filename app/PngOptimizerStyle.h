#pragma once

#include <QObject>

// An empty object with a meta-object of its own; nothing uses it yet.
class PngOptimizerStyle : public QObject
{
    Q_OBJECT

public:
    explicit PngOptimizerStyle(QObject* parent = nullptr) : QObject(parent) {}
};
