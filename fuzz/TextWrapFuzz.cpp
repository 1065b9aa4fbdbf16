// Message text of any bytes wrapped to any width: there is always a line, and
// a line wider than the width is one word that could not be split.
#include <QFont>
#include <QFontMetrics>

#include "FuzzSupport.h"
#include "platform/Codepage.h"
#include "platform/ui/TextWrap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureApplication();
    fuzz::Input input(data, size);
    const int selector = input.Byte();
    const int width = selector == 255 ? platform::NoWrap : (selector << 8 | input.Byte()) % 2000;
    const QString text = platform::ToQt(input.Rest());
    static const QFontMetrics metrics{QFont()};
    const platform::WrappedText wrapped = platform::WrapText(metrics, text, width);
    const std::string shown = platform::FromQt(text) + " at " + std::to_string(width);
    FUZZ_CHECK(!wrapped.lines.empty(), shown);
    for (const platform::TextLine& line : wrapped.lines) {
        for (int at : line.underlined)
            FUZZ_CHECK(at >= 0 && at < line.text.size(), shown);
        if (line.width > width)
            FUZZ_CHECK(!line.text.trimmed().contains(' '),
                       shown + " line " + platform::FromQt(line.text));
    }
    return 0;
}
