#include "cli/JsonRecord.h"

#include "platform/Codepage.h"

std::string JsonString(const std::string& utf8) {
    static const char hex[] = "0123456789abcdef";
    std::string s = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (u < 0x20) {
            s += "\\u00";
            s += hex[u >> 4];
            s += hex[u & 15];
        } else {
            s += c;
        }
    }
    return s + "\"";
}

std::string JsonRecord(const WrittenBitmap& bitmap, const std::string& sourcePath,
                       const std::string& filePath) {
    std::string s =
        "{\"source\":" + JsonString(sourcePath) + ",\"offset\":" + std::to_string(bitmap.offset) +
        ",\"size\":" + std::to_string(bitmap.size) + ",\"file\":" + JsonString(filePath) +
        ",\"width\":" + std::to_string(bitmap.width) +
        ",\"height\":" + std::to_string(bitmap.height) +
        ",\"bits\":" + std::to_string(bitmap.bitCount) + ",\"kind\":" + JsonString(bitmap.kind);
    if (!bitmap.resource.empty())
        s += ",\"type\":" + std::to_string(bitmap.resourceType) +
             ",\"language\":" + std::to_string(bitmap.language) +
             ",\"program\":" + JsonString(bitmap.program) +
             ",\"resource\":" + JsonString(platform::AnsiToUtf8(bitmap.resource));
    // Not written again: "file" is the file that holds these bytes.
    if (bitmap.duplicate)
        s += ",\"duplicate\":true";
    return s + "}";
}
