// ShellOpen over QDesktopServices.
#include "util/my_utils.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace lumera {

namespace {
ShellOpenHook& Hook() {
    static ShellOpenHook hook;
    return hook;
}
}  // namespace

void SetShellOpenHook(ShellOpenHook hook) { Hook() = std::move(hook); }

void ShellOpen(const std::string& document) {
    if (Hook()) {
        Hook()(document);
        return;
    }
    const QString text = QString::fromLocal8Bit(document.c_str());
    const QUrl url(text);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1) {
        QDesktopServices::openUrl(url);
        return;
    }
    const QFileInfo file(text);
    if (file.exists()) QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

}  // namespace lumera
