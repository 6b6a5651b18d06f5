#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace trv {

// What the link needs of the operating system's HID access. The production implementation
// (HidapiBackend) is the only code that calls hidapi; tests and the demo use fakes and the
// simulated device.
struct HidDeviceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

class HidHandle {
public:
    virtual ~HidHandle() = default;
    // Writes a whole output report (report ID first). Bytes written, or -1 on failure.
    virtual int write(const uint8_t* data, size_t length) = 0;
    // Reads one input report's data bytes (no report ID) waiting at most timeoutMs.
    // Bytes read, 0 on time-out (the buffer untouched), -1 once the device is gone.
    virtual int readTimeout(uint8_t* data, size_t length, int timeoutMs) = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Every HID interface present, in enumeration order.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    // Opens a path for reading and writing; nullptr on failure, the reason in lastError().
    virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;
    virtual std::string lastError() const = 0;
};

} // namespace trv
