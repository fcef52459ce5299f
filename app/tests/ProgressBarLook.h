#pragma once

// How the batch's progress bar paints. The bar keeps its text to itself, so
// a dialog's bar is compared with one set up by hand.

#include "SimpleProgress.h"

#include <QImage>
#include <QString>

// The bar as it paints now.
inline QImage paintedBar(QMWidgets::SimpleProgress* bar)
{
    return bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The bar as it paints with this value and text.
inline QImage barLike(QMWidgets::SimpleProgress* bar, int value, const QString& text)
{
    QMWidgets::SimpleProgress reference;
    reference.resize(bar->size());
    reference.setValue(value);
    reference.setText(text);
    return paintedBar(&reference);
}
