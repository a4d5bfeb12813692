// Preloaded into the companion (LD_PRELOAD) by the crash tests, for the files under
// TARVENDIX_SHIM_DIR only:
//
// - TARVENDIX_SHIM_UNDO=FILE: a power cut. Before every write it appends to FILE what the bytes
//   written over were (and the file's size), and it notes every fsync/fdatasync, rename and unlink.
//   After the process is killed, the harness undoes every write not followed by an fsync of its
//   file (tests/crash/PowerCut.cpp): the disk as a power cut may leave it when the cache is lost.
// - TARVENDIX_SHIM_SPACE=N: a full disk. Writes may make files grow by N bytes in all; past that,
//   a write that would make a file grow fails with ENOSPC (writes within a file's size still go).
//
// Only calls made through the C library's entry points are seen (write, pwrite, writev... from
// SQLite and Qt); stdio inside other programs (zip) is not.
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

template <typename Fn> Fn real(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char*, int, ...);
using OpenAtFn = int (*)(int, const char*, int, ...);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using PwriteFn = ssize_t (*)(int, const void*, size_t, off_t);
using Pwrite64Fn = ssize_t (*)(int, const void*, size_t, off64_t);
using WritevFn = ssize_t (*)(int, const struct iovec*, int);
using SyncFn = int (*)(int);
using CloseFn = int (*)(int);
using RenameFn = int (*)(const char*, const char*);
using UnlinkFn = int (*)(const char*);

struct Shim {
    std::mutex mutex;
    std::string dir;
    int undo = -1;
    long long space = -1;
    static constexpr int MaxFd = 65536;
    std::string* paths[MaxFd] = {};

    Shim() {
        if (const char* d = getenv("TARVENDIX_SHIM_DIR"))
            dir = d;
        if (const char* u = getenv("TARVENDIX_SHIM_UNDO"))
            undo = real<OpenFn>("open")(u, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (const char* s = getenv("TARVENDIX_SHIM_SPACE"))
            space = atoll(s);
    }

    bool watched(const char* path) const {
        return path && !dir.empty() && path[0] == '/' && strncmp(path, dir.c_str(), dir.size()) == 0;
    }
    const std::string* pathOf(int fd) const { return fd >= 0 && fd < MaxFd ? paths[fd] : nullptr; }

    void opened(int fd, const char* path) {
        if (fd < 0 || fd >= MaxFd || !watched(path))
            return;
        std::lock_guard lock(mutex);
        delete paths[fd];
        paths[fd] = new std::string(path);
    }
    void closed(int fd) {
        if (fd < 0 || fd >= MaxFd)
            return;
        std::lock_guard lock(mutex);
        delete paths[fd];
        paths[fd] = nullptr;
    }

    // One record, written in one call so that records of several processes do not interleave.
    void record(char kind, const std::string& a, const std::string& b = {}, uint64_t offset = 0,
                uint64_t size = 0, const std::string& old = {}) {
        if (undo < 0)
            return;
        std::string r(1, kind);
        const auto put = [&r](uint64_t v) { r.append(reinterpret_cast<const char*>(&v), sizeof v); };
        put(a.size());
        r += a;
        put(b.size());
        r += b;
        put(offset);
        put(size);
        put(old.size());
        r += old;
        real<WriteFn>("write")(undo, r.data(), r.size());
    }

    // Before `length` bytes go at `offset` of the file (-1: at its end): false (errno ENOSPC) when the
    // disk is full, after noting what they overwrite.
    bool beforeWrite(int fd, off64_t offset, size_t length) {
        const std::string* path = pathOf(fd);
        if (!path || (undo < 0 && space < 0))
            return true;
        struct stat st {};
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
            return true;
        if (offset < 0)
            offset = (fcntl(fd, F_GETFL) & O_APPEND) ? st.st_size : lseek(fd, 0, SEEK_CUR);
        const long long growth = static_cast<long long>(offset + off64_t(length)) - st.st_size;
        std::lock_guard lock(mutex);
        if (space >= 0 && growth > 0) {
            if (growth > space) {
                errno = ENOSPC;
                return false;
            }
            space -= growth;
        }
        if (undo >= 0) {
            std::string old;
            if (offset < st.st_size) {
                old.resize(std::min<off64_t>(off64_t(length), st.st_size - offset));
                const int reader = real<OpenFn>("open")(path->c_str(), O_RDONLY | O_CLOEXEC);
                const ssize_t got = reader >= 0 ? pread64(reader, old.data(), old.size(), offset) : 0;
                old.resize(got > 0 ? size_t(got) : 0);
                if (reader >= 0)
                    real<CloseFn>("close")(reader);
            }
            record('W', *path, {}, uint64_t(offset), uint64_t(st.st_size), old);
        }
        return true;
    }
};

Shim& shim() {
    static Shim* instance = new Shim; // never destroyed: writes may come during exit
    return *instance;
}

mode_t modeOf(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    const int fd = real<OpenFn>("open")(path, flags, mode);
    shim().opened(fd, path);
    return fd;
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    const int fd = real<OpenFn>("open64")(path, flags, mode);
    shim().opened(fd, path);
    return fd;
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    const int fd = real<OpenAtFn>("openat")(dirfd, path, flags, mode);
    shim().opened(fd, path);
    return fd;
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    const int fd = real<OpenAtFn>("openat64")(dirfd, path, flags, mode);
    shim().opened(fd, path);
    return fd;
}

int close(int fd) {
    shim().closed(fd);
    return real<CloseFn>("close")(fd);
}

ssize_t write(int fd, const void* buffer, size_t length) {
    if (!shim().beforeWrite(fd, -1, length))
        return -1;
    return real<WriteFn>("write")(fd, buffer, length);
}

ssize_t pwrite(int fd, const void* buffer, size_t length, off_t offset) {
    if (!shim().beforeWrite(fd, offset, length))
        return -1;
    return real<PwriteFn>("pwrite")(fd, buffer, length, offset);
}

ssize_t pwrite64(int fd, const void* buffer, size_t length, off64_t offset) {
    if (!shim().beforeWrite(fd, offset, length))
        return -1;
    return real<Pwrite64Fn>("pwrite64")(fd, buffer, length, offset);
}

ssize_t writev(int fd, const struct iovec* vectors, int count) {
    size_t length = 0;
    for (int i = 0; i < count; ++i)
        length += vectors[i].iov_len;
    if (!shim().beforeWrite(fd, -1, length))
        return -1;
    return real<WritevFn>("writev")(fd, vectors, count);
}

int fsync(int fd) {
    const int result = real<SyncFn>("fsync")(fd);
    if (result == 0)
        if (const std::string* path = shim().pathOf(fd))
            shim().record('S', *path);
    return result;
}

int fdatasync(int fd) {
    const int result = real<SyncFn>("fdatasync")(fd);
    if (result == 0)
        if (const std::string* path = shim().pathOf(fd))
            shim().record('S', *path);
    return result;
}

int rename(const char* from, const char* to) {
    const int result = real<RenameFn>("rename")(from, to);
    if (result == 0 && (shim().watched(from) || shim().watched(to)))
        shim().record('R', from, to);
    return result;
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    using Fn = int (*)(int, const char*, int, const char*);
    const int result = real<Fn>("renameat")(fromDir, from, toDir, to);
    if (result == 0 && (shim().watched(from) || shim().watched(to)))
        shim().record('R', from, to);
    return result;
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) {
    using Fn = int (*)(int, const char*, int, const char*, unsigned int);
    const int result = real<Fn>("renameat2")(fromDir, from, toDir, to, flags);
    if (result == 0 && (shim().watched(from) || shim().watched(to)))
        shim().record('R', from, to);
    return result;
}

int unlink(const char* path) {
    const int result = real<UnlinkFn>("unlink")(path);
    if (result == 0 && shim().watched(path))
        shim().record('U', path);
    return result;
}

} // extern "C"
