#pragma once
// The pictures written in one run, by a digest of their bytes, so that one
// whose bytes were written before is known as the duplicate of that file.
// SHA-256: two different pictures never share a digest in practice, so a
// match needs no second look at the bytes.
#include <array>
#include <cstdint>
#include <map>
#include <string>

class TDuplicateIndex {
public:
    using Digest = std::array<unsigned char, 32>;

    static Digest Of(const unsigned char* bytes, std::int64_t size);

    // The file written earlier with the bytes of `digest`, or null.
    const std::string* Find(const Digest& digest) const;
    // The bytes of `digest` are in `file` now; the first file noted stays.
    void Note(const Digest& digest, const std::string& file);

private:
    std::map<Digest, std::string> files_;
};
