#include "spinwell/spinwell.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/velmor.h"
#include "exif/descriptor.h"

#define SPINWELL_EXPORT __attribute__((visibility("default")))

namespace
{

constexpr char kEngineName[] = "libvelmor.so";

// The name the engine is loaded by: its bare name, which this library's
// RUNPATH finds beside it. The dlopen interceptor of ASan and of TSan makes the
// loader take the sanitizer's runtime for the caller and search its RUNPATH
// instead, so a sanitized build names the engine in this library's own folder.
std::string engineName()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    Dl_info self{};
    if (::dladdr(reinterpret_cast<void *>(&velmorRot), &self) != 0 && self.dli_fname) {
        const std::string path = self.dli_fname;
        return path.substr(0, path.rfind('/') + 1) + kEngineName;
    }
#endif
    return kEngineName;
}

// The engine for the length of one call.
class EngineLibrary
{
  public:
    EngineLibrary() : m_handle(::dlopen(engineName().c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~EngineLibrary()
    {
        if (m_handle)
            ::dlclose(m_handle);
    }
    EngineLibrary(const EngineLibrary &) = delete;
    EngineLibrary &operator=(const EngineLibrary &) = delete;

    bool loaded() const { return m_handle != nullptr; }
    void *symbol(const char *name) const { return ::dlsym(m_handle, name); }

  private:
    void *m_handle;
};

// The engine's output, given back to the engine (or to free() when it has no
// release function, as its buffer then comes from malloc).
class EngineOutput
{
  public:
    explicit EngineOutput(VelmorReleaseJpegBuffer release) : m_release(release) {}
    ~EngineOutput()
    {
        if (!data)
            return;
        if (m_release)
            m_release(data);
        else
            std::free(data);
    }
    EngineOutput(const EngineOutput &) = delete;
    EngineOutput &operator=(const EngineOutput &) = delete;

    unsigned char *data = nullptr;
    int32_t size = 0;

  private:
    VelmorReleaseJpegBuffer m_release;
};

// Reads the source whole. It is opened without blocking, so that a pipe or a
// device named like a picture is refused instead of waiting for a writer.
int32_t readWhole(const char *path, std::vector<unsigned char> &data, int &error)
{
    const Descriptor source(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (source.get() < 0) {
        error = errno;
        return SpinwellSourceUnopened;
    }
    struct stat info {
    };
    if (::fstat(source.get(), &info) != 0) {
        error = errno;
        return SpinwellSourceUnread;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > INT32_MAX)
        return SpinwellSourceUnread;
    data.resize(size_t(info.st_size));
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(source.get(), data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            return SpinwellSourceUnread;
        }
        done += size_t(got);
    }
    return SpinwellDone;
}

int32_t mappedCode(int32_t code)
{
    return code >= VelmorClockwise && code <= VelmorTransverse ? code : VelmorNone;
}

bool writeFully(int fd, const unsigned char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

std::atomic<unsigned> g_workFileCounter{0};

// A new hidden work file beside target, created exclusively with the
// umask's permissions, as a file made by "wb" would get them.
int createWorkFile(const std::string &target, std::string &workPath)
{
    const size_t slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        workPath = folder + '.' + name + ".spinwell-" + std::to_string(::getpid()) + '-' +
                   std::to_string(g_workFileCounter.fetch_add(1));
        const int fd = ::open(workPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The file a write lands in: a link at the destination is followed, as
// opening it for writing would.
std::string targetOf(const char *destination)
{
    char *resolved = ::realpath(destination, nullptr);
    if (!resolved)
        return destination;
    std::string target = resolved;
    std::free(resolved);
    return target;
}

// Writes the bytes to a work file beside the destination, puts them on disk
// and only then renames the work file over the destination, so that an
// existing file (the source itself, say) is never truncated or removed: a
// failure removes the work file alone, and after a crash the name holds the
// old file or the new one, whole. A replaced file's permission bits and
// owner carry over, as they would on a file rewritten in place.
int32_t writeWhole(const char *destination, const unsigned char *data, int32_t size, int &error)
{
    const std::string target = targetOf(destination);
    struct stat existing {
    };
    const bool replaces = ::stat(target.c_str(), &existing) == 0;
    if (replaces && !S_ISREG(existing.st_mode)) {
        error = S_ISDIR(existing.st_mode) ? EISDIR : 0;
        return SpinwellDestUnopened;
    }
    // A file its user may not write stays, as opening it for writing would fail.
    if (replaces && ::access(target.c_str(), W_OK) != 0) {
        error = errno;
        return SpinwellDestUnopened;
    }
    std::string workPath;
    Descriptor work(createWorkFile(target, workPath));
    if (work.get() < 0) {
        error = errno;
        return SpinwellDestUnopened;
    }
    if (replaces) {
        // Giving the file away is allowed only to some; the bits are what matter.
        [[maybe_unused]] const int given = ::fchown(work.get(), existing.st_uid, existing.st_gid);
    }
    const bool written = (!replaces || ::fchmod(work.get(), existing.st_mode & 07777) == 0) &&
                         writeFully(work.get(), data, size_t(size)) && ::fsync(work.get()) == 0 &&
                         work.release() == 0 && ::rename(workPath.c_str(), target.c_str()) == 0;
    if (!written) {
        error = errno;
        ::unlink(workPath.c_str());
        return SpinwellDestUnwritten;
    }
    return SpinwellDone;
}

int32_t turn(const char *source, const char *destination, int32_t code, int &error)
{
    // The entry points are resolved afresh from this call's own load of the
    // engine and kept in locals, never in library-wide slots: calls run side
    // by side on several threads, and each must use what its own load found
    // (glibc counts the loads, so none unmaps the engine under another).
    const EngineLibrary engine;
    if (!engine.loaded())
        return SpinwellNoEngine;
    if (!engine.symbol("getVersion"))
        return SpinwellNoGetVersion;
    const auto rotateJpegFile =
        reinterpret_cast<VelmorRotateJpegFile>(engine.symbol("rotateJPEGFile"));
    if (!rotateJpegFile)
        return SpinwellNoRotate;
    const auto release =
        reinterpret_cast<VelmorReleaseJpegBuffer>(engine.symbol("releaseJPEGBuffer"));

    std::vector<unsigned char> jpeg;
    if (const int32_t result = readWhole(source, jpeg, error); result != SpinwellDone)
        return result;
    EngineOutput output(release);
    const int32_t engineResult = rotateJpegFile(jpeg.data(), int32_t(jpeg.size()), &output.data,
                                                &output.size, mappedCode(code));
    const bool keptUnturned = engineResult == VelmorKeptUnturned;
    if ((engineResult != 0 && !keptUnturned) || !output.data || output.size <= 0)
        return SpinwellEngineFailed;
    const int32_t written = writeWhole(destination, output.data, output.size, error);
    return written == SpinwellDone && keptUnturned ? SpinwellKeptUnturned : written;
}

} // namespace

extern "C" SPINWELL_EXPORT int32_t velmorRot(const char *source, const char *destination,
                                             int32_t code)
{
    // errno is set last, after every handle of the call is closed, so that
    // it is the failed step's own.
    int error = 0;
    const int32_t result = turn(source, destination, code, error);
    errno = result == SpinwellDone || result == SpinwellKeptUnturned ? 0 : error;
    return result;
}
