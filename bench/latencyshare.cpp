// A read-only FUSE passthrough that waits a given time before every open, read
// and directory read: the latency of a network file server, on this machine.
//
//   latencyshare SOURCE MOUNTPOINT MICROSECONDS   (stays in the foreground)
//
// Requests are served in parallel, as a network file server serves them. Opened
// files keep their page cache while unchanged, as a network client with
// close-to-open consistency does, so reading a file ahead helps as it would there.

#define FUSE_USE_VERSION 312

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <fuse.h>

namespace
{

std::string sourceFolder;
useconds_t requestDelay = 0;

std::string sourcePath(const char *path)
{
    return sourceFolder + path;
}

void waitLikeTheNetwork()
{
    if (requestDelay > 0)
        usleep(requestDelay);
}

int shareGetattr(const char *path, struct stat *status, fuse_file_info *)
{
    return lstat(sourcePath(path).c_str(), status) == 0 ? 0 : -errno;
}

int shareReaddir(const char *path, void *buffer, fuse_fill_dir_t fill, off_t, fuse_file_info *,
                 fuse_readdir_flags)
{
    waitLikeTheNetwork();
    DIR *folder = opendir(sourcePath(path).c_str());
    if (!folder)
        return -errno;
    while (const dirent *entry = readdir(folder)) {
        struct stat status {
        };
        status.st_ino = entry->d_ino;
        status.st_mode = mode_t(entry->d_type) << 12;
        if (fill(buffer, entry->d_name, &status, 0, fuse_fill_dir_flags(0)) != 0)
            break;
    }
    closedir(folder);
    return 0;
}

int shareOpen(const char *path, fuse_file_info *file)
{
    if ((file->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    waitLikeTheNetwork();
    const int fd = open(sourcePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    file->fh = uint64_t(fd);
    file->keep_cache = 1;
    return 0;
}

// The reply is spliced from the source file into the kernel's request, not copied through
// this process: the server's work is not the client's, and here both share the processors.
int shareReadBuf(const char *, fuse_bufvec **reply, size_t size, off_t offset, fuse_file_info *file)
{
    waitLikeTheNetwork();
    auto *source = static_cast<fuse_bufvec *>(std::malloc(sizeof(fuse_bufvec)));
    if (!source)
        return -ENOMEM;
    *source = FUSE_BUFVEC_INIT(size);
    source->buf[0].flags = fuse_buf_flags(FUSE_BUF_IS_FD | FUSE_BUF_FD_SEEK);
    source->buf[0].fd = int(file->fh);
    source->buf[0].pos = offset;
    *reply = source;
    return 0;
}

int shareRelease(const char *, fuse_file_info *file)
{
    close(int(file->fh));
    return 0;
}

void *shareInit(fuse_conn_info *connection, fuse_config *config)
{
    connection->want |= connection->capable & (FUSE_CAP_SPLICE_WRITE | FUSE_CAP_SPLICE_MOVE);
    // The kernel may keep attributes and pages; every open and read still
    // reaches this process, and waits.
    config->kernel_cache = 0;
    config->attr_timeout = 1.0;
    config->entry_timeout = 1.0;
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SOURCE MOUNTPOINT MICROSECONDS\n", argv[0]);
        return 2;
    }
    char resolved[PATH_MAX];
    if (!realpath(argv[1], resolved)) {
        std::perror(argv[1]);
        return 1;
    }
    sourceFolder = resolved;
    requestDelay = useconds_t(std::strtoul(argv[3], nullptr, 10));

    fuse_operations operations{};
    operations.getattr = shareGetattr;
    operations.readdir = shareReaddir;
    operations.open = shareOpen;
    operations.read_buf = shareReadBuf;
    operations.release = shareRelease;
    operations.init = shareInit;

    char options[] = "-oro,fsname=latencyshare";
    char *words[] = {argv[0], options};
    fuse_args arguments = FUSE_ARGS_INIT(2, words);
    fuse *share = fuse_new(&arguments, &operations, sizeof operations, nullptr);
    if (!share || fuse_mount(share, argv[2]) != 0)
        return 1;
    fuse_set_signal_handlers(fuse_get_session(share));
    // A file server answers many requests at once.
    fuse_loop_config *loop = fuse_loop_cfg_create();
    fuse_loop_cfg_set_max_threads(loop, 64);
    fuse_loop_cfg_set_idle_threads(loop, 64);
    const int result = fuse_loop_mt(share, loop);
    fuse_loop_cfg_destroy(loop);
    fuse_remove_signal_handlers(fuse_get_session(share));
    fuse_unmount(share);
    fuse_destroy(share);
    return result == 0 ? 0 : 1;
}
