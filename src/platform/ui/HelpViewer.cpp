#include "platform/ui/HelpViewer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextFrame>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/Codepage.h"
#include "platform/FileObject.h"
#include "platform/ui/Screen.h"

namespace {

QPointer<THelpViewer>& Viewer() {
    static QPointer<THelpViewer> viewer;
    return viewer;
}

// The whole file, read through the platform so that its rules on names and
// permissions hold here too. Raises platform::EInOutError.
QByteArray ReadHelpFile(const std::string& winPath) {
    platform::FileObject file(winPath);
    file.Reset(platform::FileAccess::ReadOnly, 1);
    QByteArray bytes(static_cast<qsizetype>(file.Size()), '\0');
    const std::int64_t read = file.Read(bytes.data(), bytes.size());
    bytes.truncate(static_cast<qsizetype>(read));
    file.Close();
    return bytes;
}

void ReportUnusableFile(const std::string& winPath, int errorCode, std::string_view caption) {
    const bool missing = errorCode == platform::ERROR_FILE_NOT_FOUND ||
                         errorCode == platform::ERROR_PATH_NOT_FOUND ||
                         errorCode == platform::ERROR_INVALID_DRIVE;
    const std::string text =
        "The help file " + winPath + (missing ? " was not found." : " cannot be read.");
    QMessageBox box(QMessageBox::Warning, platform::ToQt(std::string(caption)),
                    platform::ToQt(text), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setObjectName("OK");
    box.exec();
}

// A window shown while a modal dialog runs is blocked unless it belongs to
// that dialog; hanging the viewer on the dialog keeps it usable.
void KeepUsableBesideModal(THelpViewer* viewer) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == viewer)
        return;
    viewer->winId();
    if (QWindow* own = viewer->windowHandle())
        own->setTransientParent(modal->window()->windowHandle());
}

// The first showing puts the viewer beside the window that asked for help,
// on the side with room, so the user can read and still see that window.
void PlaceBeside(THelpViewer* viewer, const QWidget* asking) {
    if (!asking)
        return;
    const QWidget* ownerWindow = asking->window();
    const QRect owner = ownerWindow->frameGeometry();
    // Not shown yet, the viewer has no frame: reckon with one like the owner's.
    const QSize size = viewer->size() + (owner.size() - ownerWindow->size());
    const int right = owner.right() + 1, left = owner.left() - size.width();
    int x = right;
    if (right + size.width() > platform::ScreenWidth())
        x = left >= 0 ? left : std::max(0, platform::ScreenWidth() - size.width());
    const int y = std::clamp(owner.top(), 0, std::max(0, platform::ScreenHeight() - size.height()));
    viewer->move(x, y);
}

} // namespace

THelpViewer::THelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setWindowFlags(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("HelpViewer");
    browser_->setObjectName("Topic");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(520, 440);
}

void THelpViewer::ShowTopic(const std::string& winPath, const QByteArray& html, int context) {
    // Read afresh each time, so an edited help file shows its new text.
    browser_->setHtml(QString::fromUtf8(html));
    file_ = winPath;
    context_ = context;
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? platform::ToQt(winPath) : title);
    KeepRoomBelowLastTopic();
    browser_->verticalScrollBar()->setValue(0);
    if (context != 0)
        browser_->scrollToAnchor(platform::HelpAnchor(context));
}

// Room for a page below the text, so even the last topic can scroll up until
// its heading stands at the top.
void THelpViewer::KeepRoomBelowLastTopic() {
    QTextFrame* root = browser_->document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setBottomMargin(browser_->viewport()->height());
    root->setFrameFormat(format);
}

void THelpViewer::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    KeepRoomBelowLastTopic();
}

namespace platform {

QString HelpAnchor(int context) {
    return QStringLiteral("context-%1").arg(context);
}

bool ShowHelpTopic(std::string_view helpFile, int context, std::string_view caption) {
    const std::string winPath(helpFile);
    QByteArray html;
    try {
        html = ReadHelpFile(winPath);
    } catch (const EInOutError& e) {
        ReportUnusableFile(winPath, e.ErrorCode(), caption);
        return false;
    }
    const bool first = !Viewer();
    if (first)
        Viewer() = new THelpViewer();
    THelpViewer* viewer = Viewer();
    if (first)
        PlaceBeside(viewer, QApplication::activeWindow());
    KeepUsableBesideModal(viewer);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    viewer->ShowTopic(winPath, html, context);
    return true;
}

THelpViewer* HelpViewer() {
    return Viewer();
}

void CloseHelpViewer() {
    if (Viewer())
        delete Viewer();
}

} // namespace platform
