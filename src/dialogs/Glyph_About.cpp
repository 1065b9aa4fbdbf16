#include "dialogs/Glyph_About.h"

#include <QLabel>
#include <QPixmap>
#include <QShowEvent>

#include "platform/Codepage.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/PlaceControl.h"
#include "platform/ui/Screen.h"

namespace {

// The 16 colours of a 16-colour bitmap, in their stored order.
constexpr std::array<QRgb, 16> kColours = {
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xff808080,
    0xffc0c0c0, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff,
};

// One character a pixel, each naming one of the 16 colours.
constexpr std::string_view kColourKeys = "KMGONPTdsRLYBFAW";

// A glyph on a raised button: a little framed picture of sky, sun and hills.
constexpr std::array<std::string_view, 17> kPicture = {
    "WWWWWWWWWWWWWWWWWK", "WsssssssssssssssdK", "WsKKKKKKKKKKKKKsdK", "WsKAAAAAAAYYAAKsdK",
    "WsKAAAAAAYYYYAKsdK", "WsKAWWAAAYYYYAKsdK", "WsKWWWWAAAYYAAKsdK", "WsKAAAAAAAAAAAKsdK",
    "WsKAAAGAAAAAAAKsdK", "WsKAAGGGAAALLAKsdK", "WsKAGGGGGALLLLKsdK", "WsKGGGGGGLLLLLKsdK",
    "WsKGGGGGLLLLLLKsdK", "WsKKKKKKKKKKKKKsdK", "WsssssssssssssssdK", "WddddddddddddddddK",
    "KKKKKKKKKKKKKKKKKK",
};

constexpr bool PictureIsWellFormed() {
    for (std::string_view row : kPicture) {
        if (row.size() != 18)
            return false;
        for (char c : row)
            if (kColourKeys.find(c) == std::string_view::npos)
                return false;
    }
    return true;
}
static_assert(PictureIsWellFormed(), "the About picture is 18 x 17 pixels of known colours");

} // namespace

QImage TFormAbout::Picture() {
    QImage image(18, int(kPicture.size()), QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(kColours.begin(), kColours.end()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, uint(kColourKeys.find(kPicture[y][x])));
    return image;
}

TFormAbout::TFormAbout(QWidget* parent) : TForm(parent) {
    setObjectName("FormAbout");
    setWindowTitle("About");
    setFont(platform::DesignFont("System", -13));
    SetDialogBorder(298, 224);
    SetPosition(TFormPosition::ScreenCenter); // every time it is shown

    Panel1 = platform::PlaceControl<TPanel>(this, "Panel1", {8, 8, 281, 158});
    Panel1->SetBevelInner(TPanelBevel::Raised);
    Panel1->SetBevelOuter(TPanelBevel::Lowered);

    AboutIcon = platform::PlaceControl<QLabel>(Panel1, "AboutIcon", {122, 16, 37, 37});
    AboutIcon->setScaledContents(true);
    AboutIcon->setPixmap(QPixmap::fromImage(Picture()));

    const auto label = [this](const char* name, int top) {
        return platform::PlaceControl<TLabel>(Panel1, name, QPoint(18, top));
    };
    Label1 = label("Label1", 55);
    Label6 = label("Label6", 70);
    Label6->SetCaption("Glyph viewer and extractor");
    Label2 = label("Label2", 85);
    Label3 = label("Label3", 100);
    Label4 = label("Label4", 115);
    Label5 = label("Label5", 130);

    OKButton = platform::PlaceControl<TBitBtn>(this, "OKButton", {110, 180, 77, 27});
    OKButton->SetKind(TBitBtnKind::OK);
    OKButton->setFont(platform::DesignFont("MS Sans Serif", -11, true));
    QPalette black = OKButton->palette();
    black.setColor(QPalette::ButtonText, Qt::black);
    OKButton->setPalette(black);
    SetActiveControl(OKButton);

    FormCreate(this);
}

void TFormAbout::FormCreate(QObject*) {
    Label1->SetCaption(AboutText[0]);
    Label2->SetCaption(AboutText[1]);
    Label3->SetCaption(AboutText[2]);
    Label4->SetCaption(AboutText[3]);
    Label5->SetCaption(AboutText[4]);
}
