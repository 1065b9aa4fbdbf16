#pragma once
// A static text as the platform draws it: "&" underlines the next character
// and is not shown, "&&" shows one ampersand; "\r\n" breaks the line. With
// AutoSize (the default) the label takes the size of its text; with WordWrap
// it breaks lines at blanks within its width, and a word longer than that
// width is cut where it reaches it. Lines come from platform::WrapText, so
// whoever measures a text with it gets the lines the label draws.
#include <QLabel>
#include <string>
#include <string_view>

#include "platform/ui/TextWrap.h"

class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);

    // Text from and to Windows-1252.
    void SetCaption(std::string_view caption);
    std::string Caption() const;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    // The lines as drawn at the label's current width.
    platform::WrappedText Lines() const;
    // The size the text needs, unwrapped, in the label's font.
    QSize TextExtent() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FitToText();

    bool autoSize_ = true;
};
