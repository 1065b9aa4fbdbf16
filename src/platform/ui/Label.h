#pragma once
// A static text as the platform draws it: "&" underlines the next character
// and is not shown, "&&" shows one ampersand; "\r\n" breaks the line. With AutoSize (the default)
// the label takes the size of its text; with WordWrap it breaks lines between words within its
// width.
#include <QLabel>
#include <string>
#include <string_view>

class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);

    // Text from and to Windows-1252.
    void SetCaption(std::string_view caption);
    std::string Caption() const;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    // The flags the text is drawn and measured with.
    int DrawFlags() const;
    // The text as drawn: Windows line breaks become Qt's.
    static QString ShownText(const QString& text);
    // The size the text needs, unwrapped, in the label's font.
    QSize TextExtent() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FitToText();

    bool autoSize_ = true;
};
