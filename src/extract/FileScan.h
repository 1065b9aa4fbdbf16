#pragma once
// What the file searches share: the blocks they read, the longest pattern
// they take, and how they tell how far they have come.
#include <cstddef>
#include <cstdint>
#include <functional>

// The file searches read their file in blocks of this many bytes.
constexpr int SearchBlockSize = 32768;
// Longest pattern a file search accepts; consecutive blocks overlap by the
// pattern's length less one, which must stay well inside a block.
constexpr std::size_t MaxPatternLength = 255;

// Told before each block is read: the bytes of the file that lie before it,
// and the file's size. An empty function is told nothing.
using SearchProgress = std::function<void(std::int64_t done, std::int64_t size)>;
