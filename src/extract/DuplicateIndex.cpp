#include "extract/DuplicateIndex.h"

#include <openssl/evp.h>
#include <stdexcept>

TDuplicateIndex::Digest TDuplicateIndex::Of(const unsigned char* bytes, std::int64_t size) {
    Digest digest{};
    unsigned int length = 0;
    if (EVP_Digest(bytes, static_cast<std::size_t>(size), digest.data(), &length, EVP_sha256(),
                   nullptr) != 1 ||
        length != digest.size())
        throw std::runtime_error("SHA-256 is not available");
    return digest;
}

const std::string* TDuplicateIndex::Find(const Digest& digest) const {
    const auto it = files_.find(digest);
    return it == files_.end() ? nullptr : &it->second;
}

void TDuplicateIndex::Note(const Digest& digest, const std::string& file) {
    files_.emplace(digest, file);
}
