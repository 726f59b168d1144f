#include "spinwell/spinwell.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/velmor.h"

#define SPINWELL_EXPORT __attribute__((visibility("default")))

namespace
{

constexpr char kEngineName[] = "libvelmor.so";

// The name the engine is loaded by: its bare name, which this library's
// RUNPATH finds beside it. ASan's dlopen interceptor makes the loader take
// libasan for the caller and search its RUNPATH instead, so a sanitized build
// names the engine in this library's own folder.
std::string engineName()
{
#if defined(__SANITIZE_ADDRESS__)
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

// Closes the stream on every path out; close() reports a failing close.
class Stream
{
  public:
    Stream(const char *path, const char *mode) : m_file(std::fopen(path, mode)) {}
    ~Stream()
    {
        if (m_file)
            std::fclose(m_file);
    }
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    std::FILE *get() const { return m_file; }
    bool close()
    {
        const int result = std::fclose(m_file);
        m_file = nullptr;
        return result == 0;
    }

  private:
    std::FILE *m_file;
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

int32_t readWhole(Stream &source, std::vector<unsigned char> &data)
{
    struct stat info {
    };
    if (::fstat(::fileno(source.get()), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > INT32_MAX)
        return SpinwellSourceUnread;
    data.resize(size_t(info.st_size));
    if (std::fread(data.data(), 1, data.size(), source.get()) != data.size())
        return SpinwellSourceUnread;
    if (!source.close())
        return SpinwellSourceUnread;
    return SpinwellDone;
}

int32_t mappedCode(int32_t code)
{
    return code >= VelmorClockwise && code <= VelmorTransverse ? code : VelmorNone;
}

// Writes the bytes whole and on disk; a failure removes what was written.
int32_t writeWhole(const char *path, const unsigned char *data, int32_t size)
{
    Stream destination(path, "wb");
    if (!destination.get())
        return SpinwellDestUnopened;
    const bool written = std::fwrite(data, 1, size_t(size), destination.get()) == size_t(size) &&
                         std::fflush(destination.get()) == 0 &&
                         ::fsync(::fileno(destination.get())) == 0;
    if (written && destination.close())
        return SpinwellDone;
    std::remove(path);
    return SpinwellDestUnwritten;
}

} // namespace

extern "C" SPINWELL_EXPORT int32_t velmorRot(const char *source, const char *destination,
                                             int32_t code)
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
    {
        Stream input(source, "rb");
        if (!input.get())
            return SpinwellSourceUnopened;
        if (const int32_t result = readWhole(input, jpeg); result != SpinwellDone)
            return result;
    }
    EngineOutput output(release);
    const int32_t engineResult = rotateJpegFile(jpeg.data(), int32_t(jpeg.size()), &output.data,
                                                &output.size, mappedCode(code));
    const bool keptUnturned = engineResult == VelmorKeptUnturned;
    if ((engineResult != 0 && !keptUnturned) || !output.data || output.size <= 0)
        return SpinwellEngineFailed;
    const int32_t written = writeWhole(destination, output.data, output.size);
    return written == SpinwellDone && keptUnturned ? SpinwellKeptUnturned : written;
}
