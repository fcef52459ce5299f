// Hosts one of the kit's screen tools on a grab of the real desktop:
//
//   qmwidgets-kit-demo editor     the annotation editor; "New Screen Shot"
//                                 grabs the desktop again
//   qmwidgets-kit-demo cropper    the cropper over the whole screen; the cut
//                                 is saved and the program ends
//   qmwidgets-kit-demo measurer   the measurer over the whole screen, until
//                                 Escape
//
// With ZINTROP_DEMO_GEOMETRY set to a file name, the screen rectangles of
// the visible named widgets are written there twice a second ("name x y w
// h", and a button's text), so a script can find the buttons it clicks.
#include "App.h"
#include "ImageNoteEditor.h"
#include "ImageNoteWorkArea.h"
#include "ScreenCropper.h"
#include "ScreenMeasurer.h"
#include "WidgetFunctions.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace {

// The host's look of the editor: pictures on the tool buttons, words on the
// others (the kit leaves both to the host's style sheet and texts).
const char kStyleSheet[] =
    "QPushButton#ImageNoteEditorPen { image: url(:/Pen_cur.png); }"
    "QPushButton#ImageNoteEditorEraser { image: url(:/Eraser_cur.png); }"
    "QPushButton#ImageNoteEditorHighlighter { image: url(:/Highlighter_cur.png); }"
    "QPushButton#ImageNoteEditorRectangle { image: url(:/Rect_cur.png); }"
    "QPushButton#ImageNoteEditorFilledRectangle { image: url(:/FilledRect_cur.png); }"
    "QPushButton#ImageNoteEditorOval { image: url(:/Oval_cur.png); }"
    "QPushButton#ImageNoteEditorBlur { image: url(:/Blur_cur.png); }"
    "QPushButton#ImageNoteEditorLine { image: url(:/Line_cur.png); }"
    "QPushButton#ImageNoteEditorArrow { image: url(:/Arrow_cur.png); }"
    "QPushButton#ImageNoteEditorText { image: url(:/Text_cur.png); }"
    "QPushButton:checked { background: rgb(170, 200, 240); }";

void nameButtons(QWidget* pWindow)
{
    const QList<QPair<const char*, const char*>> texts = {
        {"ImageNoteEditorThikness", "Width"}, {"ImageNoteEditorUndo", "Undo"}, {"ImageNoteEditorRedo", "Redo"},
        {"ImageNoteEditorSave", "Save"},      {"ImageNoteEditorApp", "App"},   {"ImageNoteEditorQuit", "Quit"},
        {"NoteEditWidgetAccept", "OK"},        {"NoteEditWidgetReject", "Cancel"},
        {"NoteEditWidgetInc", "A+"},           {"NoteEditWidgetDec", "A-"}};
    for (const auto& text : texts) {
        if (auto* pButton = pWindow->findChild<QPushButton*>(QString::fromLatin1(text.first)))
            pButton->setText(QString::fromLatin1(text.second));
    }
}

void writeGeometry(const QString& strFile)
{
    QFile file(strFile + QStringLiteral(".part"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    for (QWidget* pTop : QApplication::topLevelWidgets()) {
        QList<QWidget*> widgets = pTop->findChildren<QWidget*>();
        widgets.prepend(pTop);
        for (QWidget* pWidget : widgets) {
            if (pWidget->objectName().isEmpty() || !pWidget->isVisible())
                continue;
            const QPoint at = pWidget->mapToGlobal(QPoint(0, 0));
            out << pWidget->objectName() << ' ' << at.x() << ' ' << at.y() << ' ' << pWidget->width() << ' '
                << pWidget->height();
            if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget))
                out << ' ' << pButton->text().replace(QLatin1Char('\n'), QLatin1Char(' '));
            out << '\n';
        }
    }
    file.close();
    QFile::remove(strFile);
    QFile::rename(strFile + QStringLiteral(".part"), strFile);
}

int runEditor()
{
    QMWidgets::ImageNoteEditor editor;
    editor.setObjectName(QStringLiteral("ImageNoteEditor"));
    editor.setWindowTitle(QStringLiteral("Image Note Editor"));
    nameButtons(&editor);
    editor.workArea()->setObjectName(QStringLiteral("ImageNoteWorkArea"));
    QObject::connect(&editor, &QMWidgets::ImageNoteEditor::doNewScreenShot, [&editor] {
        // The editor has hidden itself; give the window system a moment to
        // take it off the screen before the grab.
        QTimer::singleShot(400, &editor, [&editor] {
            editor.slotSetPixmap(QMWidgets::grabDesktopScreen());
            editor.move(0, 0);
            editor.show();
        });
    });
    editor.slotSetPixmap(QMWidgets::grabDesktopScreen());
    editor.move(0, 0);
    editor.show();
    return QApplication::exec();
}

// Covers the screen as a plain frameless window: a full-screen request
// needs a window manager, which a bare X server (Xvfb) does not have.
void coverScreen(QWidget* pWidget)
{
    pWidget->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    pWidget->setGeometry(QGuiApplication::primaryScreen()->geometry());
}

int runCropper()
{
    QMWidgets::ScreenCropper cropper;
    cropper.setObjectName(QStringLiteral("ScreenCropper"));
    coverScreen(&cropper);
    cropper.setShowMode(2);
    QObject::connect(&cropper, SIGNAL(done()), &cropper, SLOT(slotSave()));
    QObject::connect(&cropper, &QMWidgets::ScreenCropper::saved, [] { QTextStream(stdout) << "saved\n"; });
    QObject::connect(&cropper, SIGNAL(done()), qApp, SLOT(quit()), Qt::QueuedConnection);
    QObject::connect(&cropper, SIGNAL(escaped()), qApp, SLOT(quit()), Qt::QueuedConnection);
    QTimer::singleShot(0, &cropper, &QMWidgets::ScreenCropper::grabScreen);
    return QApplication::exec();
}

int runMeasurer()
{
    QMWidgets::ScreenMeasurer measurer;
    measurer.setObjectName(QStringLiteral("ScreenMeasurer"));
    coverScreen(&measurer);
    QObject::connect(&measurer, SIGNAL(doQuit()), qApp, SLOT(quit()), Qt::QueuedConnection);
    QTimer::singleShot(0, &measurer, [&measurer] {
        QMetaObject::invokeMethod(&measurer, "grabScreen");
        measurer.show();
        measurer.activateWindow();
    });
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[])
{
    QMWidgets::App app(argc, argv, QStringLiteral("Corvane"), QStringLiteral("Zintrop Kit Demo"));
    app.setStyleSheet(QString::fromLatin1(kStyleSheet));
    const QString strGeometry = qEnvironmentVariable("ZINTROP_DEMO_GEOMETRY");
    QTimer geometryTimer;
    if (!strGeometry.isEmpty()) {
        QObject::connect(&geometryTimer, &QTimer::timeout, [strGeometry] { writeGeometry(strGeometry); });
        geometryTimer.start(500);
    }
    const QString strTool = QApplication::arguments().value(1);
    if (strTool == QLatin1String("editor"))
        return runEditor();
    if (strTool == QLatin1String("cropper"))
        return runCropper();
    if (strTool == QLatin1String("measurer"))
        return runMeasurer();
    QTextStream(stderr) << "usage: qmwidgets-kit-demo editor|cropper|measurer\n";
    return 2;
}
