#pragma once
// Writing a file so that a failure part-way never costs the user a file:
// either the whole new file is there, or what was there before is, byte for
// byte, and no half-written file is left behind.
#include <cstdint>
#include <string>

// Creates `fileName`, which must not exist yet: whatever entry holds the
// name (a file that appeared meanwhile, a folder, a dangling link) refuses
// the write with 80 rather than being written through. Returns 0 or the
// Windows error code of the step that failed; the new file is then removed.
int WriteNewFile(const std::string& fileName, const unsigned char* bytes, std::int64_t size);

// Puts a file holding the bytes in place of the existing `fileName`: the
// bytes go to a new file beside it, which then takes its place in one step.
// The platform's rules for replacing a file apply (a read-only file is
// refused with 5). Returns 0 or the Windows error code of the step that
// failed; the old file is then as it was and the new one removed.
int ReplaceWholeFile(const std::string& fileName, const unsigned char* bytes, std::int64_t size);
