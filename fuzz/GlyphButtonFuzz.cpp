// A bitmap file of any bytes shown on a glyph button of each image count, in
// each of its four looks: loading either gives a picture or the standard
// failure, and painting never reads past the picture.
#include <QImage>
#include <QTest>

#include "FuzzSupport.h"
#include "platform/ui/GlyphBitmap.h"
#include "platform/ui/SpeedButton.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureApplication();
    fuzz::Input input(data, size);
    const int count = input.Byte() % 4 + 1;
    const std::string bytes = input.Rest();
    QImage bitmap;
    try {
        bitmap =
            platform::DecodeBitmap(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } catch (const platform::EFailure& e) {
        FUZZ_CHECK(std::string(e.what()) == "Bitmap image is not valid", e.what());
        return 0;
    }
    TSpeedButton button;
    button.SetGroupIndex(1);
    button.SetAllowAllUp(true);
    button.SetGlyph(bitmap);
    button.SetNumGlyphs(count);
    button.resize(std::min(bitmap.width() / count + 8, 200), std::min(bitmap.height() + 8, 200));
    button.grab(); // up
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
    button.grab(); // held by the mouse
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(2, 2));
    button.SetDown(true);
    button.grab(); // staying down
    button.SetDown(false);
    button.setEnabled(false);
    button.grab(); // disabled
    return 0;
}
