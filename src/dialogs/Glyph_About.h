#pragma once
// Glyph_About: the About box, created once at start-up and shown modally
// whenever the main window's About button is pressed.
#include <QImage>
#include <array>
#include <string_view>

#include "platform/ui/Form.h"

class TBitBtn;
class TLabel;
class TPanel;
class QLabel;

// The about texts: line 1 is the product and version, lines 2 to 5 tell
// about the maker. The main window's caption is line 1, a blank and line 2.
inline constexpr std::array<std::string_view, 5> AboutText = {
    "Sporvik 1.2",
    "Freeware by the Sporvik team",
    "Mail: sporvik@example.org",
    "Web: www.example.org/sporvik",
    "Use and pass on freely.",
};

class TFormAbout : public TForm {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);

    // Sets the captions of Label1 to Label5 from the about texts.
    void FormCreate(QObject* sender);

    TPanel* Panel1;
    QLabel* AboutIcon;
    TLabel* Label1;
    TLabel* Label6;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5;
    TBitBtn* OKButton;

    // The picture of AboutIcon: 18 x 17 pixels in 16 colours.
    static QImage Picture();
};
