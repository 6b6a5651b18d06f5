#pragma once

#include "link/HidBackend.h"

#include <string>

namespace trv {

// The operating system's HID access through hidapi (hidraw on Linux). The only code that
// includes hidapi.h. Create one per process; close every handle it opened before destroying it.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::string lastError() const override { return lastError_; }

private:
    bool initialised_ = false;
    std::string lastError_;
};

} // namespace trv
