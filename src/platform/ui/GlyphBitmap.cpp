#include "platform/ui/GlyphBitmap.h"

#include <QByteArray>
#include <QImageReader>
#include <QPainter>

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

bool HasAlpha(const QImage& bitmap) {
    return bitmap.hasAlphaChannel();
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
    QImage image = bitmap.copy(index * width, 0, width, bitmap.height())
                       .convertToFormat(QImage::Format_ARGB32);
    if (HasAlpha(bitmap))
        return image;
    const QRgb transparent = TransparentColor(bitmap);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & kRgbMask) == transparent)
                line[x] = 0;
    }
    return image;
}

namespace {

// The image's shape in one colour: every pixel `colour`, as opaque as the
// image is there.
QImage Shape(const QImage& image, const QColor& colour) {
    QImage shape = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb rgb = colour.rgb() & kRgbMask;
    for (int y = 0; y < shape.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < shape.width(); ++x)
            line[x] = (line[x] & ~kRgbMask) | rgb;
    }
    return shape;
}

} // namespace

QImage DisabledImage(const QImage& image, const QColor& light, const QColor& dark) {
    QImage result(image.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.drawImage(1, 1, Shape(image, light));
    painter.drawImage(0, 0, Shape(image, dark));
    return result;
}

} // namespace platform
