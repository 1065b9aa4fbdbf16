#pragma once
// The application object: the program's title, its help file, help by
// context number, and the standard report for a failure in an event handler.
//
// No exception may cross a Qt frame, so every event handler is entered
// through Guarded (or GuardedCall), which hands any failure to the standard
// report: a message box with the failure's text followed by ".", the
// application's title as caption, and an OK button.
#include <exception>
#include <string>
#include <string_view>
#include <utility>

class TApplication {
public:
    // The title defaults to the program file's name without extension.
    std::string Title() const;
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Windows path of the help file; empty until the program sets it.
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(std::string winPath) { helpFile_ = std::move(winPath); }

    // Shows the help file's topic with this context number (0: the start of
    // the file). False, after telling the user in a message box, when no help
    // file is set (NoHelpFileText) or it cannot be opened.
    bool HelpContext(int context);
    static constexpr const char* NoHelpFileText = "Help is not available: no help file is set.";

    // The standard report for a failure that reached an event handler.
    void ShowException(std::string_view text);
    // Reports the failure in flight (called from a catch block); never throws.
    void HandleException(std::exception_ptr failure) noexcept;

    // The text the report shows: the failure's text followed by "." (none
    // added when it already ends with one).
    static std::string ReportText(std::string_view failureText);

private:
    std::string title_;
    std::string helpFile_;
};

namespace platform {

TApplication& Application();

// The classic look the glyphs were drawn for, whatever the desktop's colour
// scheme: the "Windows" style and the classic palette (SysColors.h), also in
// place of the palettes a desktop theme gives single kinds of widget. Called
// once at start, before the first window is made.
void UseClassicLook();

// Runs an event handler; a failure goes to the standard report instead of
// crossing into Qt.
template <class Fn> void Guarded(Fn&& handler) noexcept {
    try {
        std::forward<Fn>(handler)();
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
}

// A slot for connect() that runs object->method() through Guarded, e.g.
// connect(button, &QPushButton::clicked, form, GuardedCall(form, &TForm1::Button1Click)).
template <class T> auto GuardedCall(T* object, void (T::*method)()) {
    return [object, method] { Guarded([&] { (object->*method)(); }); };
}

} // namespace platform
