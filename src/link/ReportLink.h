#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace trv {

inline constexpr size_t ReportDataSize = 64;
using ReportData = std::array<uint8_t, ReportDataSize>;

// The request/reply channel the device dialogs' step machines talk through. DeviceLink is the
// production implementation; tests may put a scripted fake in its place.
class ReportLink {
public:
    virtual ~ReportLink() = default;
    // request: 1 to 64 bytes. false only when no device could be found.
    virtual bool WriteReport(std::span<const uint8_t> request) = 0;
    // false only when no device could be found; otherwise dest holds the receive buffer's 64 data bytes.
    virtual bool ReadReport(ReportData& dest) = 0;
    // true when the last ReadReport that returned true got no report of its own (the read timed
    // out, or the device went away during it): dest held the previous reply again, which answers
    // nothing that was asked since.
    virtual bool readTimedOut() const { return false; }
    virtual void CloseDevice() = 0;
    // Why the last matching device could not be opened (empty when none was refused).
    virtual std::string openFailure() const = 0;
};

} // namespace trv
