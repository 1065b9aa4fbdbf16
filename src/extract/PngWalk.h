#pragma once
// A PNG file stored inside another file, found by its signature and walked
// chunk by chunk to its end chunk, every chunk's checksum compared, before a
// byte of it is taken. Nothing is held but one piece of one chunk at a time,
// so a chunk that claims gigabytes costs no memory, only a refusal.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The eight bytes every PNG file begins with.
constexpr std::string_view PngSignature = "\x89PNG\r\n\x1a\n";

enum class PngVerdict {
    Whole,  // signature to end chunk, every chunk sound
    Broken, // a chunk that no PNG holds, or one whose checksum is wrong
    Cut,    // the file ends before the end chunk
};

struct PngExtent {
    PngVerdict verdict = PngVerdict::Cut;
    std::int64_t size = 0; // of the whole PNG file, when Whole
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;    // bits a pixel: depth times channels
    std::string problem; // what is wrong, when not Whole
};

// Reads up to `n` bytes at `offset` into `buffer` and returns how many were
// read (fewer only at the end of the file).
using ReadAt =
    std::function<std::int64_t(std::int64_t offset, unsigned char* buffer, std::int64_t n)>;

// Walks the PNG whose signature lies at `offset` of a file of `fileSize`
// bytes.
PngExtent WalkPng(const ReadAt& read, std::int64_t offset, std::int64_t fileSize);
