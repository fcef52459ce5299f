#pragma once

#include <QComboBox>

class QMouseEvent;

// A list that reports a mouse press instead of opening: the press emits
// clicked() and goes no further.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
