// The path label's shortening with any name, separator, direction and width:
// the caption is the name itself or ends with its last part, and a shortened
// caption that keeps more than the last part fits the label (to the pixel
// its rounding may add).
#include <QFontMetrics>
#include <algorithm>

#include "FuzzSupport.h"
#include "controls/FiLabel.h"
#include "platform/Codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureApplication();
    // One label for the whole run: a hidden label learns its width only when shown.
    static TFileLabel* label = [] {
        auto* l = new TFileLabel;
        l->show();
        return l;
    }();
    fuzz::Input input(data, size);
    const auto direction = static_cast<TDirection>(input.Byte() & 1);
    const int width = (input.Byte() << 8 | input.Byte()) % 1200;
    const std::string separator = input.Field();
    const std::string name = input.Rest();
    label->SetDirection(direction);
    label->SetSeparator(separator);
    label->resize(width, 20);
    label->SetFileName(name);

    const std::string& caption = label->Caption();
    const std::string shown =
        name + " | " + separator + " | " + std::to_string(width) + " -> " + caption;
    if (caption == name)
        return 0;
    const std::string& last = label->PathParts().back();
    FUZZ_CHECK(caption.size() >= last.size() &&
                   caption.compare(caption.size() - last.size(), last.size(), last) == 0,
               shown);
    // The label adds the widths of up to four pieces (head, "...", middle
    // parts, last part), each rounded to whole pixels on its own, so the
    // caption drawn whole may come out up to two pixels wider.
    // Control bytes (tabs above all) have no width of their own, so the
    // pieces of a name holding them do not add up; no file name holds them.
    constexpr int kRounding = 2;
    const bool printable = std::none_of(caption.begin(), caption.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20;
    });
    if (printable && caption != last && caption != "..." + separator + last)
        FUZZ_CHECK(QFontMetrics(label->font()).horizontalAdvance(platform::ToQt(caption)) <=
                       width + kRounding,
                   shown);
    return 0;
}
