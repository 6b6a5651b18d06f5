#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace trv {

inline constexpr size_t ReportDataSize = 64;
using ReportData = std::array<uint8_t, ReportDataSize>;

enum class ReadResult { Reply, TimedOut, NoDevice };

// The request/reply channel the device dialogs' step machines talk through. DeviceLink is the
// production implementation; tests may put a scripted fake in its place.
class ReportLink {
public:
    virtual ~ReportLink() = default;
    // request: 1 to 64 bytes. false only when no device could be found.
    virtual bool WriteReport(std::span<const uint8_t> request) = 0;
    // NoDevice: none could be found, dest untouched. Otherwise dest holds the receive buffer's 64 data
    // bytes; after TimedOut (the device stayed silent or went away during the read) that is the
    // previous reply again, which answers nothing asked since.
    virtual ReadResult ReadReport(ReportData& dest) = 0;
    virtual void CloseDevice() = 0;
    // Why the last matching device could not be opened (empty when none was refused).
    virtual std::string openFailure() const = 0;
};

} // namespace trv
