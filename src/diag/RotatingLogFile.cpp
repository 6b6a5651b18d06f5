#include "diag/RotatingLogFile.h"

#include "data/DataFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trv {

RotatingLogFile::RotatingLogFile(std::string path, int64_t maxBytes, int kept)
    : path_(std::move(path)), maxBytes_(maxBytes), kept_(kept) {}

RotatingLogFile::~RotatingLogFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool RotatingLogFile::openFile() {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return false;
    struct stat info {};
    size_ = ::fstat(fd_, &info) == 0 ? static_cast<int64_t>(info.st_size) : 0;
    return true;
}

void RotatingLogFile::rotate() {
    ::close(fd_);
    fd_ = -1;
    // The oldest goes first; a rename that fails leaves that file where it was.
    ::unlink((path_ + "." + std::to_string(kept_)).c_str());
    for (int k = kept_ - 1; k >= 1; --k)
        ::rename((path_ + "." + std::to_string(k)).c_str(), (path_ + "." + std::to_string(k + 1)).c_str());
    if (kept_ > 0)
        ::rename(path_.c_str(), (path_ + ".1").c_str());
    else
        ::unlink(path_.c_str());
}

bool RotatingLogFile::append(std::string_view line) {
    if (fd_ < 0 && !openFile())
        return false;
    if (size_ > 0 && size_ + static_cast<int64_t>(line.size()) > maxBytes_) {
        rotate();
        if (!openFile())
            return false;
    }
    if (!WriteAll(fd_, line)) {
        // A full disk or a vanished folder: the rest of this line is lost, the next tries again
        // (and reopening takes the size the file has).
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    size_ += static_cast<int64_t>(line.size());
    return true;
}

} // namespace trv
