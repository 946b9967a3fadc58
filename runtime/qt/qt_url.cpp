// URLs go to the desktop's opener. Where it cannot open one, as on a desktop
// with no mail program, the user is told what the URL would have given:
// for a mailto: URL, the address to write to.

#include "qt_backend.h"

#include "qt_guard.h"

#include "runtime/process.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
std::string UnopenedMessage(const QUrl& url) {
    if (url.scheme().compare("mailto", Qt::CaseInsensitive) == 0)
        return "No mail program could be opened. Write to " +
               url.path(QUrl::FullyDecoded).toStdString() + ".";
    return "No program could be opened for " + url.toString().toStdString() + ".";
}

// On these platforms Qt hands a URL to xdg-open and counts it opened once
// xdg-open has started, whatever xdg-open then finds.
bool OpensWithXdgOpen() {
    const QString platform = QGuiApplication::platformName();
    return platform == "xcb" || platform.startsWith("wayland");
}

// Runs xdg-open on `url` and tells the user when it could not open it (it
// exits 3 or 4 when nothing on the desktop takes the URL). It can run as
// long as the program it starts, so its answer comes in the background, and
// the message waits for whatever the program is doing.
void OpenWithXdgOpen(const QString& opener, const QUrl& url) {
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    auto tell = [message = UnopenedMessage(url)] {
        CallRuntimeFromQtWhenIdle([message] { RuntimePlatform().ShowMessage(message); });
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, tell](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             tell();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, tell](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return; // finished() follows and tells
                         process->deleteLater();
                         tell();
                     });
    process->start();
}
} // namespace

void QtPlatform::OpenURL(const std::string& url) {
    const QUrl target(QString::fromStdString(url));
    const QString opener =
        OpensWithXdgOpen() ? QStandardPaths::findExecutable("xdg-open") : QString();
    if (!opener.isEmpty())
        OpenWithXdgOpen(opener, target);
    else if (!QDesktopServices::openUrl(target))
        ShowMessage(UnopenedMessage(target));
}
