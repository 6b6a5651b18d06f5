#pragma once

#include "link/HidBackend.h"
#include "link/ReportLink.h"

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace trv::test {

// A scripted HID backend: devices in enumeration order, each with its own read script and faults.
class FakeHidBackend : public HidBackend {
public:
    struct Device {
        std::string path;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        bool present = true;   // listed by enumerate(); writes and reads fail once false
        std::string openError; // non-empty: open() refuses with this reason
        bool failWrites = false;
        bool shortWrites = false;
        // Read script of (result, report): result 0 is a time-out, -1 a vanished device, otherwise the
        // number of bytes delivered. An empty script times out.
        std::deque<std::pair<int, ReportData>> reads;
        std::vector<std::vector<uint8_t>> written;
        std::vector<int> readTimeouts;
        int opens = 0;
    };

    std::shared_ptr<Device> add(std::string path, uint16_t vendorId, uint16_t productId) {
        auto device = std::make_shared<Device>();
        device->path = std::move(path);
        device->vendorId = vendorId;
        device->productId = productId;
        devices.push_back(device);
        return device;
    }

    std::vector<HidDeviceInfo> enumerate() override {
        ++enumerations;
        std::vector<HidDeviceInfo> list;
        for (const auto& device : devices) {
            if (device->present) {
                list.push_back({device->path, device->vendorId, device->productId});
            }
        }
        return list;
    }

    std::unique_ptr<HidHandle> open(const std::string& path) override {
        openedPaths.push_back(path);
        for (const auto& device : devices) {
            if (device->path != path || !device->present) {
                continue;
            }
            ++device->opens;
            if (!device->openError.empty()) {
                error = device->openError;
                return nullptr;
            }
            return std::make_unique<Handle>(device);
        }
        error = "No such device";
        return nullptr;
    }

    std::string lastError() const override { return error; }

    std::vector<std::shared_ptr<Device>> devices;
    std::vector<std::string> openedPaths;
    int enumerations = 0;
    std::string error;

private:
    class Handle : public HidHandle {
    public:
        explicit Handle(std::shared_ptr<Device> device) : device_(std::move(device)) {}
        int write(const uint8_t* data, size_t length) override {
            if (!device_->present || device_->failWrites) {
                return -1;
            }
            device_->written.emplace_back(data, data + length);
            return device_->shortWrites ? static_cast<int>(length) - 1 : static_cast<int>(length);
        }
        int readTimeout(uint8_t* data, size_t length, int timeoutMs) override {
            device_->readTimeouts.push_back(timeoutMs);
            if (!device_->present) {
                return -1;
            }
            if (device_->reads.empty()) {
                return 0;
            }
            auto [result, report] = device_->reads.front();
            device_->reads.pop_front();
            if (result > 0) {
                std::copy(report.begin(), report.begin() + std::min<size_t>(length, result), data);
            }
            return result;
        }

    private:
        std::shared_ptr<Device> device_;
    };
};

inline ReportData reportOf(std::initializer_list<uint8_t> leading) {
    ReportData report{};
    std::copy(leading.begin(), leading.end(), report.begin());
    return report;
}

} // namespace trv::test
