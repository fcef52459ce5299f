#pragma once

// An exFAT file system in an image file, mounted through FUSE as a stick is on
// a desktop: it knows neither the no-replace rename nor hard links. Needs
// root, /dev/fuse, a free loop device and the exfatprogs and exfat-fuse
// tools; where any is missing, isMounted() is false and skipReason() says
// what.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <sys/vfs.h>
#include <unistd.h>

class ExfatMount
{
public:
    // The image and the mount point go into folder, which must exist.
    explicit ExfatMount(const QString& folder)
        : m_strImage(folder + QStringLiteral("/exfat.img"))
        , m_strMountPoint(folder + QStringLiteral("/stick"))
    {
        if (::geteuid() != 0) {
            m_strSkipReason = QStringLiteral("mounting a file system needs root");
            return;
        }
        if (!QFileInfo::exists(QStringLiteral("/dev/fuse"))) {
            m_strSkipReason = QStringLiteral("no /dev/fuse on this machine");
            return;
        }
        const QStringList sbin{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                               QStringLiteral("/usr/bin"), QStringLiteral("/bin")};
        for (const char* tool : {"mkfs.exfat", "mount.exfat-fuse", "losetup", "umount"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool), sbin).isEmpty()) {
                m_strSkipReason = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
                return;
            }
        }
        QFile image(m_strImage);
        if (!image.open(QIODevice::WriteOnly) || !image.resize(32 * 1024 * 1024)) {
            m_strSkipReason = QStringLiteral("no room for the image");
            return;
        }
        image.close();
        QByteArray output;
        if (!run(QStringLiteral("mkfs.exfat"), {m_strImage}, &output)) {
            m_strSkipReason = QStringLiteral("mkfs.exfat failed: ") + QString::fromLocal8Bit(output);
            return;
        }
        // exfat-fuse mounts only block devices when run as root.
        if (!run(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), m_strImage},
                 &output)) {
            m_strSkipReason = QStringLiteral("no loop device: ") + QString::fromLocal8Bit(output);
            return;
        }
        m_strDevice = QString::fromLocal8Bit(output).trimmed();
        QDir().mkpath(m_strMountPoint);
        if (!run(QStringLiteral("mount.exfat-fuse"), {m_strDevice, m_strMountPoint}, &output)
            || !isFuse(m_strMountPoint)) {
            m_strSkipReason = QStringLiteral("the FUSE mount failed: ") + QString::fromLocal8Bit(output);
            return;
        }
        m_bMounted = true;
    }

    ~ExfatMount()
    {
        QByteArray output;
        if (m_bMounted)
            run(QStringLiteral("umount"), {m_strMountPoint}, &output);
        if (!m_strDevice.isEmpty())
            run(QStringLiteral("losetup"), {QStringLiteral("-d"), m_strDevice}, &output);
    }

    ExfatMount(const ExfatMount&) = delete;
    ExfatMount& operator=(const ExfatMount&) = delete;

    bool isMounted() const { return m_bMounted; }
    QString skipReason() const { return m_strSkipReason; }
    // The mounted file system's root, ending with "/".
    QString root() const { return m_strMountPoint + QLatin1Char('/'); }

private:
    static bool isFuse(const QString& path)
    {
        struct statfs info {};
        constexpr long FuseMagic = 0x65735546;
        return ::statfs(QFile::encodeName(path).constData(), &info) == 0 && info.f_type == FuseMagic;
    }

    // Output and errors together in *pOutput. The FUSE daemon stays behind
    // with no tie to the pipes, so waiting for the command's exit is enough.
    static bool run(const QString& program, const QStringList& arguments, QByteArray* pOutput)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStandardPaths::findExecutable(
                          program, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                    QStringLiteral("/usr/bin"), QStringLiteral("/bin")}),
                      arguments);
        const bool ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
        *pOutput = process.readAll();
        return ok;
    }

    QString m_strImage;
    QString m_strMountPoint;
    QString m_strDevice;
    QString m_strSkipReason;
    bool m_bMounted = false;
};
