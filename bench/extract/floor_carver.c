/* The least a carver of stored bitmaps can do, as the floor sporvik-extract
 * is timed against: map the file, find each "BM" with memmem, apply the four
 * header tests, and write each bitmap taken to <n>.bmp in the output folder,
 * created new. The rules are the extractor's: a declared size of 0 or less
 * is passed over like a failed test, one over 5000 ends the scan, and a
 * bitmap reaching past the end is filled up with zeros.
 *
 * glibc's memmem walks a two-byte needle a byte at a time; with --memchr
 * each "B" is found with memchr instead, which scans many bytes a step, for
 * a floor that is lower still.
 *
 *   sporvik_floor_carver [--memchr] FILE OUTDIR
 */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kHeaderSize = 54, kMaxBitmapSize = 5000 };

static uint32_t Le(const unsigned char* at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | at[i];
    return v;
}

static const unsigned char* FindBm(const unsigned char* at, size_t left) {
    const unsigned char* end = at + left;
    while (end - at >= 2 && (at = memchr(at, 'B', (size_t)(end - at - 1))) != NULL) {
        if (at[1] == 'M')
            return at;
        ++at;
    }
    return NULL;
}

static int WriteBitmap(const char* dir, int number, const unsigned char* bytes, size_t held,
                       size_t size) {
    static const unsigned char zeros[kMaxBitmapSize];
    char name[4096];
    snprintf(name, sizeof name, "%s/%d.bmp", dir, number);
    const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    int ok = write(fd, bytes, held) == (ssize_t)held;
    if (ok && size > held)
        ok = write(fd, zeros, size - held) == (ssize_t)(size - held);
    return close(fd) == 0 && ok ? 0 : -1;
}

int main(int argc, char** argv) {
    const int byMemchr = argc == 4 && strcmp(argv[1], "--memchr") == 0;
    if (argc != 3 + byMemchr) {
        fprintf(stderr, "usage: %s [--memchr] FILE OUTDIR\n", argv[0]);
        return 2;
    }
    argv += byMemchr;
    const int fd = open(argv[1], O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        perror(argv[1]);
        return 1;
    }
    if (mkdir(argv[2], 0777) != 0 && errno != EEXIST) {
        perror(argv[2]);
        return 1;
    }
    const size_t size = (size_t)st.st_size;
    const unsigned char* file =
        size ? mmap(NULL, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : NULL;
    if (size && file == MAP_FAILED) {
        perror("mmap");
        return 1;
    }
    int number = 0, failed = 0;
    size_t at = 0;
    while (at < size) {
        const unsigned char* hit =
            byMemchr ? FindBm(file + at, size - at) : memmem(file + at, size - at, "BM", 2);
        if (!hit)
            break;
        const size_t offset = (size_t)(hit - file);
        if (size - offset < kHeaderSize)
            break;
        const int32_t declared = (int32_t)Le(hit + 2, 4);
        const int passes = Le(hit + 6, 2) == 0 && Le(hit + 8, 2) == 0 && Le(hit + 14, 4) == 40 &&
                           Le(hit + 26, 2) == 1;
        if (!passes || declared <= 0) {
            at = offset + 1;
            continue;
        }
        if (declared > kMaxBitmapSize)
            break;
        const size_t held = size - offset < (size_t)declared ? size - offset : (size_t)declared;
        failed |= WriteBitmap(argv[2], ++number, hit, held, (size_t)declared);
        at = offset + (size_t)declared;
    }
    return failed ? 1 : 0;
}
