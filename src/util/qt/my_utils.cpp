// ShellOpen over QDesktopServices and xdg-open.
#include "util/my_utils.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace lumera {

namespace {
// xdg-open is the desktop's way to open documents and addresses. Without it Qt has nothing to
// hand them to and complains on standard error; the game stays silent, as about any result.
void OpenWithDesktop(const QUrl& url) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return;
    QDesktopServices::openUrl(url);
}
}  // namespace

void PlatformShellOpen(const std::string& document) {
    const QString text = QString::fromLocal8Bit(document.c_str());
    const QUrl url(text);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1) {
        OpenWithDesktop(url);
        return;
    }
    const QFileInfo file(text);
    if (file.exists()) OpenWithDesktop(QUrl::fromLocalFile(file.absoluteFilePath()));
}

}  // namespace lumera
