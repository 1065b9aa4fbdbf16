#pragma once
// Untyped file objects with record sizes, raising EInOutError on failure.
//
// Sharing is kept by this layer for the files the program itself holds open:
// a file opened "shared for reading" refuses a second opening for writing
// (error 32), as Windows does.
#include <cstdint>
#include <string>

#include "platform/WinError.h"

namespace platform {

enum class FileAccess {
    ReadOnly,  // open existing, read only, others may read
    ReadWrite, // open existing, read and write, others may read
};

class FileObject {
public:
    FileObject() = default;
    explicit FileObject(std::string name) : name_(std::move(name)) {}
    ~FileObject();
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    // Binds the object to a name (the object must be closed).
    void Assign(std::string name) { name_ = std::move(name); }
    const std::string& Name() const { return name_; }
    bool IsOpen() const { return fd_ >= 0; }

    // Opens the existing file.
    void Reset(FileAccess access, int recordSize = 128);
    // Creates the file, or empties an existing one, for reading and writing.
    void Rewrite(int recordSize = 128);
    // Creates a file that must not exist yet, for reading and writing: an
    // entry of that name refuses it (80; 5 for a folder), a link too, even
    // a dangling one, so nothing that was there is written through.
    void CreateNew(int recordSize = 128);

    // Reads up to `records` records; returns how many whole records were read.
    std::int64_t Read(void* buffer, std::int64_t records);
    // Writes all `records` records or raises (112 when the disk is full).
    void Write(const void* buffer, std::int64_t records);
    void Seek(std::int64_t record);
    std::int64_t Pos() const;
    std::int64_t Size() const; // in records
    // Cuts the file off at the current position (the object must be open
    // for writing).
    void Truncate();
    // Puts what was written on the disk before returning, so that a file
    // about to take another's place is whole there first.
    void Flush();
    void Close();

private:
    void Open(int flags, FileAccess access, int recordSize);
    void RequireOpen() const;

    std::string name_;
    int fd_ = -1;
    int recordSize_ = 128;
    bool writable_ = false;
    std::uint64_t shareKeyDev_ = 0;
    std::uint64_t shareKeyIno_ = 0;
};

} // namespace platform
