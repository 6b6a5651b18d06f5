#pragma once

#include "link/HidBackend.h"
#include "link/ReportLink.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace trv {

// The one connection to the device. It opens itself on the first write or read, closes itself on
// any I/O failure, and searches afresh on the next call, so a device plugged in again is found
// without restarting the application.
class DeviceLink : public ReportLink {
public:
    static constexpr uint16_t VendorId = 0x04D8;
    static constexpr uint16_t ProductId = 0xFC4C;
    static constexpr int ReadTimeoutMs = 1000;
    static constexpr size_t ReportSize = ReportDataSize + 1; // report ID 0, then the data bytes
    static constexpr uint8_t Filler = 0x5A;

    explicit DeviceLink(HidBackend& backend);
    ~DeviceLink() override;
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Opens the first matching interface in enumeration order. True when the link is open.
    bool FindDevice();
    // request: 1 to 64 bytes (anything else is a caller's fault: std::invalid_argument).
    bool WriteReport(std::span<const uint8_t> request) override;
    ReadResult ReadReport(ReportData& dest) override;
    void CloseDevice() override;
    std::string openFailure() const override { return openFailure_; }

    bool connected() const { return handle_ != nullptr; }
    // The path of the open device; empty while closed.
    const std::string& devicePath() const { return path_; }

private:
    HidBackend& backend_;
    std::unique_ptr<HidHandle> handle_;
    std::string path_;
    std::string openFailure_;
    ReportData receiveBuffer_{};
};

} // namespace trv
