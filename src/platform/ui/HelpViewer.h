#pragma once
// The help viewer: shows the topic with a context number in a help file.
//
// A help file is HTML with one anchor per context number, named "context-"
// followed by the number (<a name="context-11">). The viewer is one window
// for the whole program; asking for another topic reuses it. It is not
// modal, and opened from a modal dialog it stays usable beside it. It first
// opens beside the window that asked for help, and a topic's heading always
// comes to the top, the last topic's too.
#include <QDialog>
#include <string>
#include <string_view>

class QTextBrowser;

class THelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // The file (Windows path) and context number shown last.
    const std::string& File() const { return file_; }
    int Context() const { return context_; }
    QTextBrowser* Browser() const { return browser_; }

    // Shows the file's text (HTML, UTF-8) scrolled to the topic's anchor:
    // the top when the context is 0 or the file has no such anchor.
    void ShowTopic(const std::string& winPath, const QByteArray& html, int context);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void KeepRoomBelowLastTopic();

    QTextBrowser* browser_;
    std::string file_;
    int context_ = 0;
};

namespace platform {

// The anchor name of a context number: "context-11".
QString HelpAnchor(int context);

// Opens the viewer at the topic. A help file that is missing or cannot be
// read gets a message box naming it, with `caption` (the application's
// title) as its caption, and the result is false.
bool ShowHelpTopic(std::string_view helpFile, int context, std::string_view caption);

// The open viewer, or nullptr; CloseHelpViewer closes and frees it.
THelpViewer* HelpViewer();
void CloseHelpViewer();

} // namespace platform
