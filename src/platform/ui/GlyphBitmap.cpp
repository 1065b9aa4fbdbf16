#include "platform/ui/GlyphBitmap.h"

#include <QByteArray>
#include <QImageReader>

#include "platform/FileObject.h"
#include "platform/Paths.h"
#include "platform/ui/BmpCheck.h"
#include "platform/ui/BmpPixels.h"

namespace platform {
namespace {

std::string FullName(const std::string& winPath) {
    const std::string full = ExpandFileName(winPath);
    return full.empty() ? winPath : full;
}

// A file larger than any picture the image reader will decode (its
// allocation limit; 0 means none) is refused before it is read into memory.
bool TooLargeForAPicture(std::int64_t size) {
    const std::int64_t limitMb = QImageReader::allocationLimit();
    return limitMb > 0 && size > limitMb * 1024 * 1024;
}

QByteArray ReadWholeFile(const std::string& winPath) {
    FileObject file(winPath);
    try {
        file.Reset(FileAccess::ReadOnly, 1);
    } catch (const EInOutError&) {
        throw EFailure("Cannot open file \"" + FullName(winPath) + "\"");
    }
    try {
        const std::int64_t size = file.Size();
        if (TooLargeForAPicture(size))
            throw EFailure("Bitmap image is not valid");
        QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
        bytes.resize(static_cast<qsizetype>(file.Read(bytes.data(), bytes.size())));
        file.Close();
        return bytes;
    } catch (const EInOutError&) {
        throw EFailure("Cannot read file \"" + FullName(winPath) + "\"");
    }
}

constexpr QRgb kRgbMask = 0x00FFFFFF;

} // namespace

QImage LoadBitmapFromFile(const std::string& winPath) {
    return DecodeBitmap(ReadWholeFile(winPath));
}

QImage DecodeBitmap(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return QImage();
    const std::string_view file(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::optional<BmpLayout> layout = ReadBmpLayout(file);
    std::optional<QImage> image = layout ? DecodeBmpPixels(file, *layout) : std::nullopt;
    if (!image)
        throw EFailure("Bitmap image is not valid");
    return *std::move(image);
}

QRgb TransparentColor(const QImage& bitmap) {
    return bitmap.isNull() ? 0 : bitmap.pixel(0, bitmap.height() - 1) & kRgbMask;
}

QImage GlyphImage(const QImage& bitmap, int count, int index) {
    if (bitmap.isNull() || count < 1)
        return QImage();
    const int width = bitmap.width() / count;
    if (width <= 0)
        return QImage();
    const QRgb transparent = TransparentColor(bitmap);
    QImage image = bitmap.copy(index * width, 0, width, bitmap.height())
                       .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & kRgbMask) == transparent)
                line[x] = 0;
    }
    return image;
}

QImage DisabledImage(const QImage& image, const QColor& light, const QColor& dark) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    const auto shape = [&](int x, int y) { return qAlpha(source.pixel(x, y)) != 0; };
    for (int y = 0; y + 1 < source.height(); ++y)
        for (int x = 0; x + 1 < source.width(); ++x)
            if (shape(x, y))
                result.setPixel(x + 1, y + 1, light.rgb());
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            if (shape(x, y))
                result.setPixel(x, y, dark.rgb());
    return result;
}

} // namespace platform
