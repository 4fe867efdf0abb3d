// Follows links to the real file, then either a temporary file beside it and one
// rename, or, for FIFOs and devices, a direct write.
#include "export/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

namespace exporter {

namespace {

namespace fs = std::filesystem;

// The kernel gives up on longer chains too.
constexpr int kMaxLinkHops = 40;

// The path that `path` names once its symbolic links are followed: the file to
// write, existing or not. Empty when the chain loops.
std::optional<fs::path> FollowLinks(fs::path path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) return std::nullopt;
        // A relative link is relative to the folder that holds it.
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

bool WriteAll(int descriptor, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// A FIFO or a device: it cannot be replaced, only written to.
bool WriteDirectly(const fs::path& path, const std::string& bytes) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool written = WriteAll(descriptor, bytes);
    const bool closed = ::close(descriptor) == 0;
    return written && closed;
}

// A new file in the target's folder, with a name no other save uses at the same time.
int CreateTemporary(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() / (".zorvat" + std::to_string(::getpid()) + "-" +
                                            std::to_string(++counter) + ".tmp");
        // 0666 less the umask: what a plain new file would get.
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

bool WriteBeside(const fs::path& target, const std::string& bytes) {
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    fs::path temporary;
    const int descriptor = CreateTemporary(target, temporary);
    if (descriptor < 0) return false;
    bool done = WriteAll(descriptor, bytes);
    if (done && replacing) {
        // The owner only where we may set it (as root); the permission bits always.
        [[maybe_unused]] const int owned = ::fchown(descriptor, old.st_uid, old.st_gid);
        done = ::fchmod(descriptor, old.st_mode & 0777) == 0;
    }
    done = done && ::fsync(descriptor) == 0;
    done = ::close(descriptor) == 0 && done;
    done = done && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!done) ::unlink(temporary.c_str());
    return done;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    if (path.empty()) return false;
    const auto target = FollowLinks(path);
    if (!target || target->filename().empty()) return false;
    struct stat info {};
    if (::stat(target->c_str(), &info) == 0) {
        if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
            return WriteDirectly(*target, bytes);
        }
        if (!S_ISREG(info.st_mode)) return false;  // a folder or a socket
    }
    return WriteBeside(*target, bytes);
}

}  // namespace exporter
