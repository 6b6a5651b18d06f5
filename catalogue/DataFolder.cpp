#include "catalogue/DataFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace trv {

namespace {

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

bool writeAll(int fd, std::string_view bytes) {
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

} // namespace

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
    if (file.get() < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;

    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

bool DataFolder::writeAtomically(std::string_view relativePath, std::string_view bytes) const {
    const std::string target = nativePath(relativePath);
    std::vector<char> tempName(target.begin(), target.end());
    const std::string suffix = ".XXXXXX";
    tempName.insert(tempName.end(), suffix.begin(), suffix.end());
    tempName.push_back('\0');

    FileDescriptor file(::mkstemp(tempName.data()));
    if (file.get() < 0)
        return false;
    // mkstemp creates 0600; the settings file is an ordinary user file.
    bool ok = ::fchmod(file.get(), 0644) == 0;
    ok = ok && writeAll(file.get(), bytes);
    ok = ok && ::fsync(file.get()) == 0;
    ok = file.close() && ok;
    ok = ok && ::rename(tempName.data(), target.c_str()) == 0;
    if (!ok)
        ::unlink(tempName.data());
    return ok;
}

} // namespace trv
