#include "linkopener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace app
{

bool openWith(const QString &program, const QStringList &arguments, int waitMs)
{
    auto *opener = new QProcess(QCoreApplication::instance());
    opener->setProgram(program);
    opener->setArguments(arguments);
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start();
    if (!opener->waitForStarted(waitMs)) {
        delete opener;
        return false;
    }
    if (!opener->waitForFinished(waitMs)) {
        return true; // still running: it deletes itself when it ends
    }
    // waitForFinished has already delivered finished(): the process object is on its way out.
    return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
}

bool openInBrowser(const std::string &address)
{
#ifdef Q_OS_LINUX
    // The desktop service starts xdg-open and says yes whatever it then finds; ask xdg-open itself.
    return openWith(QStringLiteral("xdg-open"), {QString::fromStdString(address)}, 5000);
#else
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
#endif
}

} // namespace app
