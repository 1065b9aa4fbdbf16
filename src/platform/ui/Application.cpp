#include "platform/ui/Application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QToolTip>

#include "platform/Codepage.h"
#include "platform/FileOps.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/SysColors.h"

std::string TApplication::Title() const {
    if (!title_.empty())
        return title_;
    const std::string path = platform::ProgramPath();
    const std::size_t nameStart = path.find_last_of("\\:");
    std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name;
}

bool TApplication::HelpContext(int context) {
    if (helpFile_.empty()) {
        QMessageBox box(QMessageBox::Warning, platform::ToQt(Title()),
                        platform::ToQt(NoHelpFileText), QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setObjectName("OK");
        box.exec();
        return false;
    }
    return platform::ShowHelpTopic(helpFile_, context, Title());
}

std::string TApplication::ReportText(std::string_view failureText) {
    std::string text(failureText);
    if (!text.empty() && text.back() != '.')
        text += '.';
    return text;
}

void TApplication::ShowException(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, platform::ToQt(Title()),
                    platform::ToQt(ReportText(text)), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setObjectName("OK");
    box.exec();
}

void TApplication::HandleException(std::exception_ptr failure) noexcept {
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            ShowException(e.what());
        } catch (...) {
            ShowException("Unknown failure");
        }
    } catch (...) {
        // The report itself failed (no memory left); there is nobody left
        // to tell, and the event loop must go on.
    }
}

namespace platform {

TApplication& Application() {
    static TApplication application;
    return application;
}

namespace {

// The kinds of widget a desktop theme may give palettes of their own, which
// would win over the application's.
constexpr const char* kThemedWidgetKinds[] = {
    "QAbstractButton",  "QToolButton",  "QCheckBox",
    "QRadioButton",     "QHeaderView",  "QAbstractItemView",
    "QMessageBoxLabel", "QTabBar",      "QLabel",
    "QGroupBox",        "QMenu",        "QMenuBar",
    "QTextEdit",        "QTextControl", "QLineEdit",
    "QComboBox",
};

} // namespace

void UseClassicLook() {
    QApplication::setStyle("Windows");
    const QPalette classic = ClassicPalette();
    QApplication::setPalette(classic);
    for (const char* kind : kThemedWidgetKinds)
        QApplication::setPalette(classic, kind);
    QToolTip::setPalette(classic);
}

} // namespace platform
