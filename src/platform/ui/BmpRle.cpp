#include "platform/ui/BmpRle.h"

#include <algorithm>

namespace platform {
namespace {

// Reads the runs and writes pixels clipped to the bitmap.
class RleReader {
public:
    RleReader(std::string_view data, int bits, int width, int height, int stride)
        : data_(data), bits_(bits), width_(width), height_(height), stride_(stride),
          pixels_(static_cast<std::size_t>(stride) * height, 0) {}

    std::optional<std::vector<std::uint8_t>> Run() {
        while (y_ < height_) {
            int count = 0, value = 0;
            if (!Next(count) || !Next(value))
                return std::nullopt;
            if (count > 0 ? !Repeat(count, value) : !Escape(value))
                return std::nullopt;
            if (ended_)
                break;
        }
        return std::move(pixels_);
    }

private:
    bool Next(int& byte) {
        if (at_ >= data_.size())
            return false;
        byte = static_cast<std::uint8_t>(data_[at_++]);
        return true;
    }

    // A pixel past the end of its row or above the top row is broken data:
    // wrapping or dropping it would both guess at what the file meant.
    bool Put(int index) {
        if (x_ >= width_ || y_ >= height_)
            return false;
        pixels_[static_cast<std::size_t>(y_) * stride_ + x_] = static_cast<std::uint8_t>(index);
        ++x_;
        return true;
    }

    // A pixel of a byte: 4-bit runs alternate its high and low half.
    int Pixel(int byte, int i) const {
        if (bits_ == 8)
            return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }

    bool Repeat(int count, int value) {
        for (int i = 0; i < count; ++i)
            if (!Put(Pixel(value, i)))
                return false;
        return true;
    }

    bool Escape(int code) {
        switch (code) {
        case 0: // end of line
            x_ = 0;
            ++y_;
            return true;
        case 1: // end of bitmap
            ended_ = true;
            return true;
        case 2: { // delta
            int dx = 0, dy = 0;
            if (!Next(dx) || !Next(dy))
                return false;
            // Held at the right edge, so that endless deltas cannot overflow it.
            x_ = std::min(x_ + dx, width_);
            y_ += dy;
            return true;
        }
        default:
            return Absolute(code);
        }
    }

    // `count` pixels given one by one, padded to a whole 16-bit word.
    bool Absolute(int count) {
        const int bytes = bits_ == 8 ? count : (count + 1) / 2;
        int byte = 0;
        for (int i = 0; i < count; ++i) {
            if ((bits_ == 8 || i % 2 == 0) && !Next(byte))
                return false;
            if (!Put(Pixel(byte, i)))
                return false;
        }
        if (bytes % 2 != 0 && !Next(byte))
            return false;
        return true;
    }

    std::string_view data_;
    int bits_, width_, height_, stride_;
    std::vector<std::uint8_t> pixels_;
    std::size_t at_ = 0;
    int x_ = 0, y_ = 0;
    bool ended_ = false;
};

} // namespace

std::optional<std::vector<std::uint8_t>> ExpandRle(std::string_view data, int bitsPerPixel,
                                                   int width, int height, int stride) {
    return RleReader(data, bitsPerPixel, width, height, stride).Run();
}

} // namespace platform
