#include "LameTransCoder.h"

#include "App.h"

#include <QDebug>
#include <QProcess>

namespace QMMultiMedia {

LameTransCoder::LameTransCoder(QObject *parent)
    : QObject(parent)
{
}

QString LameTransCoder::program() const
{
    return QStringLiteral("/usr/bin/lame");
}

QStringList LameTransCoder::arguments() const
{
    // supportDirectory() has no trailing separator.
    const QString folder = QMWidgets::App::supportDirectory(true);
    return {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128"),
            folder + QStringLiteral("/test.wav"), folder + QStringLiteral("/test.mp3")};
}

bool LameTransCoder::encode()
{
    const QString encoder = program();
    const QStringList args = arguments();
    qDebug().noquote() << "Command:" << encoder << args.join(QLatin1Char(' '));
    const bool started = QProcess::startDetached(encoder, args);
    qDebug() << "!!!END";
    return started;
}

} // namespace QMMultiMedia
