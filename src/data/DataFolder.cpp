#include "data/DataFolder.h"

#include "data/Log.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace trv {

namespace {

std::string ErrorText(int error) {
    return std::error_code(error, std::generic_category()).message();
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, so the caller sees a failing close (a late write error).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// The path a chain of symbolic links ends at (the path itself when it is no link). A dangling
// link gives the missing file it names, so the write creates it there.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
        if (n < 0)
            break;
        std::string next(buffer.data(), static_cast<size_t>(n));
        if (!next.empty() && next.front() != '/') {
            const size_t slash = path.rfind('/');
            next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
        path = std::move(next);
    }
    return path;
}

} // namespace

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

DataFolder::DataFolder(std::string root) : root_(std::move(root)) {}

std::string DataFolder::nativePath(std::string_view relativePath) const {
    std::string path = root_;
    if (!path.empty() && path.back() != '/')
        path += '/';
    for (char c : relativePath)
        path += c == '\\' ? '/' : c;
    return path;
}

std::optional<std::string> DataFolder::read(std::string_view relativePath) const {
    FileDescriptor file(::open(nativePath(relativePath).c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        const int error = errno;
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                nativePath(relativePath) << " can't be opened: " << ErrorText(error));
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        TRV_LOG(LogCategory::Data, LogLevel::Warning, nativePath(relativePath) << " is no file that can be read");
        return std::nullopt;
    }

    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            TRV_LOG(LogCategory::Data, LogLevel::Warning,
                    nativePath(relativePath) << " can't be read: " << ErrorText(error));
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

bool DataFolder::writeAtomically(std::string_view relativePath, std::string_view bytes) const {
    // Through a link the file it points at is replaced, and the link stays.
    const std::string target = FollowLinks(nativePath(relativePath));
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // A file the user made read-only stays as it is. The mode bits decide as well as access(),
    // since for root access() allows writing anything.
    if (replacing && ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)) {
        TRV_LOG(LogCategory::Data, LogLevel::Warning, target << " is read-only and is left as it is");
        return false;
    }

    std::vector<char> tempName(target.begin(), target.end());
    const std::string suffix = ".XXXXXX";
    tempName.insert(tempName.end(), suffix.begin(), suffix.end());
    tempName.push_back('\0');

    FileDescriptor file(::mkstemp(tempName.data()));
    if (file.get() < 0) {
        const int error = errno;
        TRV_LOG(LogCategory::Data, LogLevel::Warning, target << " can't be written: " << ErrorText(error));
        return false;
    }
    // The rename puts the temporary's owner and mode in place of the old file's, so it takes them
    // over first. A new file is an ordinary user file (mkstemp creates 0600).
    if (replacing) {
        // Only root may hand a file to another owner; for anyone else the file is theirs anyway.
        [[maybe_unused]] const int ownerKept = ::fchown(file.get(), old.st_uid, old.st_gid);
    }
    bool ok = ::fchmod(file.get(), replacing ? old.st_mode & 0777 : 0644) == 0;
    ok = ok && WriteAll(file.get(), bytes);
    ok = ok && ::fsync(file.get()) == 0;
    ok = file.close() && ok;
    ok = ok && ::rename(tempName.data(), target.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        TRV_LOG(LogCategory::Data, LogLevel::Warning, target << " can't be written: " << ErrorText(error));
        ::unlink(tempName.data());
    }
    return ok;
}

} // namespace trv
