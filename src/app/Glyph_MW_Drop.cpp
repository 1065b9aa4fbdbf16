// Folders dropped onto the main window from a file manager.
#include "app/Glyph_MW.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "fileutils/FileUtils.h"
#include "fileutils/PathParts.h"
#include "platform/Drives.h"
#include "platform/ui/Application.h"

namespace {

// The folder a drop stands for: the first local folder, or the folder of
// the first local file; empty when the drop holds neither.
std::string DroppedFolder(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const std::string win = platform::ToWindowsPath(url.toLocalFile().toStdString());
        if (win.empty())
            continue;
        if (DirectoryExists(win))
            return AddBackslash(win);
        if (FileExists(win))
            return DirectoryPart(win);
    }
    return {};
}

} // namespace

void TFormMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFolder(event->mimeData()).empty())
        event->acceptProposedAction();
}

void TFormMainWindow::dropEvent(QDropEvent* event) {
    const std::string folder = DroppedFolder(event->mimeData());
    if (folder.empty())
        return;
    event->acceptProposedAction();
    platform::Guarded([&] { OpenDroppedFolder(folder); });
}

void TFormMainWindow::OpenDroppedFolder(const std::string& winDir) {
    UnpushAll1Click(this);
    LoadDirectory(winDir);
}
