#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trv {

// A log file that never grows much past maxBytes: before a line would take it over, the file
// becomes NAME.1 (NAME.1 becomes NAME.2, and so on, the oldest of `kept` dropped) and a new one is
// started. Any failure (a full disk, a folder that can't be written) drops the line and is tried
// again with a later one; nothing is thrown. Not thread-safe: the caller serialises.
class RotatingLogFile {
public:
    static constexpr int64_t DefaultMaxBytes = 1024 * 1024;
    static constexpr int DefaultKept = 3;

    explicit RotatingLogFile(std::string path, int64_t maxBytes = DefaultMaxBytes, int kept = DefaultKept);
    ~RotatingLogFile();
    RotatingLogFile(const RotatingLogFile&) = delete;
    RotatingLogFile& operator=(const RotatingLogFile&) = delete;

    // Writes one line (the newline included by the caller). false when it was dropped.
    bool append(std::string_view line);
    const std::string& path() const { return path_; }

private:
    bool openFile();
    void rotate();

    std::string path_;
    int64_t maxBytes_;
    int kept_;
    int fd_ = -1;
    int64_t size_ = 0;
};

} // namespace trv
