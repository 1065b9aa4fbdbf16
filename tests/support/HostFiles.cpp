#include "HostFiles.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace testsupport {

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> FileNamesIn(const fs::path& dir, std::string_view extension) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& e : fs::directory_iterator(dir, error))
        if (extension.empty() || e.path().extension() == extension)
            names.insert(e.path().filename().string());
    return names;
}

std::vector<std::string> GlyphNames(int from, int to) {
    std::vector<std::string> names;
    for (int i = from; i <= to; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "g%04d.bmp", i);
        names.push_back(name);
    }
    return names;
}

std::string ShadedBmpFile(int shade, int size) {
    QImage image(size, size, QImage::Format_RGB888);
    image.fill(QColor(shade, 255 - shade, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

} // namespace testsupport
