#pragma once
// QZdialog: the program's own message dialog and one-line input box.
//
// Every question and every error report of the program goes through
// MessageDialog. Both dialogs size themselves in dialog units of the font
// they use: a horizontal unit is a quarter of the average character width,
// a vertical one an eighth of the character height.
#include <QSize>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/ui/Form.h"

class QFont;

enum class MessageKind : std::uint8_t {
    Warning = 0,      // "Warning", exclamation icon
    Error = 1,        // "Error", stop sign
    Information = 2,  // "Information", information icon
    Confirmation = 3, // "Confirmation", question mark
    Custom = 4,       // the application's title, no icon
};

// A button's number; also the bit that stands for it in MessageButtons.
enum class MessageButton : std::uint8_t {
    Yes = 0,    // result 6
    No = 1,     // 7
    OK = 2,     // 1
    Cancel = 3, // 2
    Abort = 4,  // 3
    Retry = 5,  // 4
    Ignore = 6, // 5
    All = 7,    // 8
    Help = 8,   // 0: shows help, closes nothing
};

// A set of buttons, bit n for button n; bits 9 to 15 are ignored.
class MessageButtons {
public:
    constexpr MessageButtons() = default;
    constexpr MessageButtons(std::initializer_list<MessageButton> buttons) {
        for (MessageButton b : buttons)
            bits_ = static_cast<std::uint16_t>(bits_ | (1u << static_cast<unsigned>(b)));
    }
    static constexpr MessageButtons FromBits(std::uint16_t bits) {
        MessageButtons set;
        set.bits_ = bits;
        return set;
    }
    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool Contains(MessageButton b) const {
        return static_cast<unsigned>(b) <= 8 && (bits_ >> static_cast<unsigned>(b)) & 1u;
    }

private:
    std::uint16_t bits_ = 0;
};

// The message dialog's spacing in pixels, from its dialog units.
struct MessageLayout {
    int HorzMargin;    // 8 horizontal units
    int VertMargin;    // 8 vertical units
    int HorzSpacing;   // 10 horizontal units, icon to text
    int VertSpacing;   // 10 vertical units, text to buttons
    int ButtonWidth;   // 50 horizontal units
    int ButtonHeight;  // 14 vertical units
    int ButtonSpacing; // 4 horizontal units
};
MessageLayout MessageLayoutFor(QSize averageCharSize);

// (average character width, character height) of a font: the width of
// "A".."Z" "a".."z" divided by 52 (remainder dropped), and the text height.
QSize AverageCharSize(const QFont& font);

// The message dialog's form; built at run time by CreateMessageForm.
class TMessageForm : public TForm {
    Q_OBJECT
public:
    explicit TMessageForm(QWidget* parent = nullptr);

    // The Help button's click: help for the form's help context.
    void HelpButtonClick();
};

// Builds the message dialog, not shown. `fontHeight` is the character
// height in pixels (sign ignored, 0 = 11). `defaultButton` becomes the
// default button, the Escape button and the focused control when it is in
// `buttons`.
std::unique_ptr<TMessageForm> CreateMessageForm(const std::string& text, MessageKind kind,
                                                MessageButtons buttons, MessageButton defaultButton,
                                                bool showIcon, int fontHeight);

// Shows the message modally and returns the pressed button's result: OK 1,
// Cancel 2, Abort 3, Retry 4, Ignore 5, Yes 6, No 7, All 8; 2 when closed
// through the title bar. "\r\n" in the text breaks lines.
int MessageDialog(const std::string& text, MessageKind kind, MessageButtons buttons,
                  MessageButton defaultButton, bool showIcon = true, int fontHeight = 0,
                  int helpContext = 0);

// The program's own questions and reports: MessageDialog with the icon, the
// default font and no help context. The default button also answers Escape.
void ShowError(const std::string& text);       // Error, OK
void ShowWarning(const std::string& text);     // Warning, OK
void ShowInformation(const std::string& text); // Information, OK
// Confirmation with Yes and No; true for Yes.
bool Confirm(const std::string& text, MessageButton defaultButton);
// Error with Abort and Ignore, Ignore the default; true for Abort.
bool ErrorAborts(const std::string& text);
// "File <name>\r\nalready exists. Overwrite?"
std::string OverwriteQuestion(const std::string& name);

// The one-line input box. `value` is shown for editing, all of it selected,
// and replaced by the edited text only when the user presses OK; the result
// is true exactly then. A help context other than 0 adds a Help button.
bool InputDialog(const std::string& caption, const std::string& prompt, std::string& value,
                 int helpContext = 0);
