#include "hid/HidapiBackend.h"

#include "data/Codepage.h"
#include "data/Log.h"

#include <hidapi.h>

#include <cwchar>

namespace trv {

namespace {

// hidapi reports its errors as wide text; the windows want UTF-8.
std::string toUtf8(const wchar_t* text) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    for (; *text != L'\0'; ++text)
        AppendUtf8(out, static_cast<char32_t>(*text));
    return out;
}

std::string globalError(const char* fallback) {
    std::string text = toUtf8(hid_error(nullptr));
    return text.empty() ? std::string(fallback) : text;
}

class HidapiHandle : public HidHandle {
public:
    explicit HidapiHandle(hid_device* device) : device_(device) {}
    ~HidapiHandle() override { hid_close(device_); }
    HidapiHandle(const HidapiHandle&) = delete;
    HidapiHandle& operator=(const HidapiHandle&) = delete;

    int write(const uint8_t* data, size_t length) override {
        const int written = hid_write(device_, data, length);
        if (written < 0)
            TRV_LOG(LogCategory::Link, LogLevel::Warning, "hid_write: " << toUtf8(hid_error(device_)));
        return written < 0 ? -1 : written;
    }

    int readTimeout(uint8_t* data, size_t length, int timeoutMs) override {
        // A negative time-out would block for good; the link never waits longer than asked.
        const int read = hid_read_timeout(device_, data, length, timeoutMs < 0 ? 0 : timeoutMs);
        if (read < 0)
            TRV_LOG(LogCategory::Link, LogLevel::Warning, "hid_read_timeout: " << toUtf8(hid_error(device_)));
        return read < 0 ? -1 : read;
    }

private:
    hid_device* device_;
};

} // namespace

HidapiBackend::HidapiBackend() {
    if (hid_init() == 0) {
        initialised_ = true;
    } else {
        lastError_ = globalError("the HID system could not be started");
        TRV_LOG(LogCategory::Link, LogLevel::Critical, "hid_init: " << lastError_ << ": no device can be found");
    }
}

HidapiBackend::~HidapiBackend() {
    if (initialised_) {
        hid_exit();
    }
}

std::vector<HidDeviceInfo> HidapiBackend::enumerate() {
    std::vector<HidDeviceInfo> found;
    if (!initialised_) {
        return found;
    }
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        if (info->path == nullptr) {
            continue;
        }
        found.push_back({info->path, info->vendor_id, info->product_id});
    }
    hid_free_enumeration(list);
    return found;
}

std::unique_ptr<HidHandle> HidapiBackend::open(const std::string& path) {
    if (!initialised_) {
        return nullptr;
    }
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        lastError_ = globalError("the device could not be opened");
        return nullptr;
    }
    lastError_.clear();
    return std::make_unique<HidapiHandle>(device);
}

} // namespace trv
