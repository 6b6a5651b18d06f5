#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <typeinfo>

namespace trv {

// The core's log, without Qt: a line has a category, a level and a text, and goes to the one sink
// set at start-up (the application maps it onto the toolkit's logging categories). Nothing is
// enabled until a sink is set, so the core's tests and trv-check stay silent.
enum class LogCategory : uint8_t {
    Link,    // every request and reply of the device link
    Steps,   // the download and status steps
    Data,    // the data folder's files
    Windows, // what the windows do
};
inline constexpr int LogCategoryCount = 4;

enum class LogLevel : uint8_t { Debug, Info, Warning, Critical };
inline constexpr int LogLevelCount = 4;

// Called on whichever thread writes the line; file and line are where it was written.
using LogSink = void (*)(LogCategory category, LogLevel level, const char* file, int line, std::string_view text);

// Sets the sink (nullptr: none; every level is disabled then).
void SetLogSink(LogSink sink);
void SetLogEnabled(LogCategory category, LogLevel level, bool enabled);
// Hands a line to the sink; dropped when no sink is set. Prefer TRV_LOG, which checks first.
void WriteLog(LogCategory category, LogLevel level, const char* file, int line, std::string_view text);

namespace logdetail {
inline std::atomic<uint32_t> EnabledMask{0}; // bit category * LogLevelCount + level
constexpr uint32_t Bit(LogCategory category, LogLevel level) {
    return uint32_t{1} << (static_cast<int>(category) * LogLevelCount + static_cast<int>(level));
}
} // namespace logdetail

// One relaxed load: a disabled line costs this and nothing else.
inline bool LogEnabled(LogCategory category, LogLevel level) {
    return (logdetail::EnabledMask.load(std::memory_order_relaxed) & logdetail::Bit(category, level)) != 0;
}

// Bytes as hex pairs separated by spaces, for the stream of a log line.
struct HexBytes {
    std::span<const uint8_t> bytes;
};
std::ostream& operator<<(std::ostream& out, HexBytes hex);

// Milliseconds since construction, measured only when the category's debug lines are on.
class LogStopwatch {
public:
    explicit LogStopwatch(LogCategory category)
        : started_(LogEnabled(category, LogLevel::Debug) ? std::chrono::steady_clock::now()
                                                         : std::chrono::steady_clock::time_point{}) {}
    double ms() const {
        if (started_ == std::chrono::steady_clock::time_point{})
            return 0;
        // Whole microseconds: "0.016", not "0.015939".
        const auto us =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started_).count();
        return static_cast<double>(us) / 1000.0;
    }

private:
    std::chrono::steady_clock::time_point started_;
};

// The class's name as written in the source ("trv::DownloadSequence"), for the lines of a
// template that serves several classes. Call it only inside TRV_LOG: it allocates.
template <class T> std::string LoggedTypeName() {
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(T).name(), nullptr, nullptr, &status),
                                                      std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(typeid(T).name());
}

} // namespace trv

// TRV_LOG(LogCategory::Link, LogLevel::Warning, "write to " << path << " failed"): the stream
// expression is built only when the line is enabled.
#define TRV_LOG(category, level, streamed)                                                                             \
    do {                                                                                                               \
        if (::trv::LogEnabled(category, level)) {                                                                      \
            std::ostringstream trvLogText_;                                                                            \
            trvLogText_ << streamed;                                                                                   \
            ::trv::WriteLog(category, level, __FILE__, __LINE__, trvLogText_.view());                                  \
        }                                                                                                              \
    } while (false)
