#pragma once

#include <QFileDialog>

namespace QMWidgets {

// The platform layer's file dialog; it adds nothing to QFileDialog.
class FileDialog : public QFileDialog
{
    Q_OBJECT

public:
    using QFileDialog::QFileDialog;
};

}  // namespace QMWidgets
