#include "data/Log.h"

namespace trv {

namespace {
std::atomic<LogSink> Sink{nullptr};
} // namespace

void SetLogSink(LogSink sink) {
    Sink.store(sink, std::memory_order_release);
    if (sink == nullptr)
        logdetail::EnabledMask.store(0, std::memory_order_relaxed);
}

void SetLogEnabled(LogCategory category, LogLevel level, bool enabled) {
    const uint32_t bit = logdetail::Bit(category, level);
    if (enabled)
        logdetail::EnabledMask.fetch_or(bit, std::memory_order_relaxed);
    else
        logdetail::EnabledMask.fetch_and(~bit, std::memory_order_relaxed);
}

void WriteLog(LogCategory category, LogLevel level, const char* file, int line, std::string_view text) {
    if (const LogSink sink = Sink.load(std::memory_order_acquire))
        sink(category, level, file, line, text);
}

std::ostream& operator<<(std::ostream& out, HexBytes hex) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(hex.bytes.size() * 3);
    for (const uint8_t byte : hex.bytes) {
        if (!text.empty())
            text += ' ';
        text += Digits[byte >> 4];
        text += Digits[byte & 0x0F];
    }
    return out << text;
}

} // namespace trv
