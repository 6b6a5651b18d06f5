// DeviceLink over a HID backend whose devices, opens, writes and reads all come from the input:
// devices that appear, vanish, refuse to open, fail or cut writes short, time out, or deliver
// reports of any length. The link must never hand back bytes it didn't receive, never open a
// foreign device, always send well-formed reports, and close itself after every failure.
//
// Input: the number of devices (0..4) and 2 bytes per device, then a script of operations.
#include "FuzzSupport.h"

#include "link/DeviceLink.h"

#include <algorithm>
#include <memory>
#include <string>

using namespace trv;

namespace {

struct ScriptedDevice {
    HidDeviceInfo info;
    bool present = true;
    bool refusesOpen = false;
    bool matches() const { return info.vendorId == DeviceLink::VendorId && info.productId == DeviceLink::ProductId; }
};

class ScriptedBackend : public HidBackend {
public:
    explicit ScriptedBackend(fuzz::ByteSource& script) : script_(script) {}

    std::vector<std::shared_ptr<ScriptedDevice>> devices;
    int opensOfForeignDevices = 0;
    int handleCalls = 0; // writes and reads on any handle
    ReportData lastWritten{};
    size_t lastWrittenLength = 0;

    std::vector<HidDeviceInfo> enumerate() override {
        std::vector<HidDeviceInfo> list;
        for (const auto& device : devices)
            if (device->present)
                list.push_back(device->info);
        return list;
    }

    std::unique_ptr<HidHandle> open(const std::string& path) override {
        for (const auto& device : devices) {
            if (device->info.path != path || !device->present)
                continue;
            if (!device->matches())
                ++opensOfForeignDevices;
            if (device->refusesOpen) {
                error_ = "Permission denied";
                return nullptr;
            }
            return std::make_unique<Handle>(*this, device);
        }
        error_ = "No such device";
        return nullptr;
    }

    std::string lastError() const override { return error_; }

    int lastWriteResult = 0;
    // What the last read delivered: its result and bytes.
    int lastReadResult = 0;
    ReportData lastReadBytes{};

private:
    class Handle : public HidHandle {
    public:
        Handle(ScriptedBackend& backend, std::shared_ptr<ScriptedDevice> device)
            : backend_(backend), device_(std::move(device)) {}

        int write(const uint8_t* data, size_t length) override {
            ++backend_.handleCalls;
            FUZZ_CHECK(length == DeviceLink::ReportSize);
            std::copy(data + 1, data + length, backend_.lastWritten.begin());
            backend_.lastWrittenLength = length;
            FUZZ_CHECK(data[0] == 0);
            int result = -1;
            if (device_->present) {
                switch (backend_.script_.byte() % 4) {
                case 0:
                    result = -1;
                    break;
                case 1:
                    result = static_cast<int>(length) - 1 - backend_.script_.inRange(0, 64);
                    break;
                default:
                    result = static_cast<int>(length);
                    break;
                }
            }
            backend_.lastWriteResult = result;
            return result;
        }

        int readTimeout(uint8_t* data, size_t length, int timeoutMs) override {
            ++backend_.handleCalls;
            FUZZ_CHECK(length == ReportDataSize && timeoutMs == DeviceLink::ReadTimeoutMs);
            int result = -1;
            backend_.lastReadBytes.fill(0);
            if (device_->present) {
                const uint8_t choice = backend_.script_.byte();
                if (choice < 0x20) {
                    result = 0; // time-out: the buffer stays untouched
                } else if (choice < 0x28) {
                    result = -1;
                } else {
                    result = backend_.script_.inRange(1, static_cast<int>(length));
                    const std::string_view bytes = backend_.script_.bytes(static_cast<size_t>(result));
                    std::copy(bytes.begin(), bytes.end(), backend_.lastReadBytes.begin());
                    std::copy(backend_.lastReadBytes.begin(), backend_.lastReadBytes.begin() + result, data);
                }
            }
            backend_.lastReadResult = result;
            return result;
        }

    private:
        ScriptedBackend& backend_;
        std::shared_ptr<ScriptedDevice> device_;
    };

    fuzz::ByteSource& script_;
    std::string error_;
};

// A matching device that is present and opens: only then can the link find something.
bool deviceAvailable(const ScriptedBackend& backend) {
    return std::any_of(backend.devices.begin(), backend.devices.end(),
                       [](const auto& device) { return device->present && device->matches() && !device->refusesOpen; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteSource in(data, size);
    ScriptedBackend backend(in);
    const int deviceCount = in.inRange(0, 4);
    for (int k = 0; k < deviceCount; ++k) {
        const uint8_t kind = in.byte();
        const uint8_t faults = in.byte();
        // hidraw can list one interface twice.
        if ((faults & 0x80) != 0 && !backend.devices.empty()) {
            backend.devices.push_back(backend.devices.back());
            continue;
        }
        auto device = std::make_shared<ScriptedDevice>();
        device->info.path = "/dev/hidraw" + std::to_string(k);
        device->info.vendorId = kind % 4 == 1 ? 0x1234 : DeviceLink::VendorId;
        device->info.productId = kind % 4 == 2 ? 0x000B : DeviceLink::ProductId;
        device->present = (faults & 1) == 0;
        device->refusesOpen = (faults & 2) != 0;
        backend.devices.push_back(device);
    }

    DeviceLink link(backend);
    ReportData receiveBuffer{}; // what the link should hold: the last report read, zero at start
    for (int step = 0; step < 256 && !in.empty(); ++step) {
        const uint8_t op = in.byte();
        const int callsBefore = backend.handleCalls;
        const bool wasConnected = link.connected();
        switch (op % 6) {
        case 0: {
            const size_t length = static_cast<size_t>(in.inRange(1, static_cast<int>(ReportDataSize)));
            ReportData request{};
            const std::string_view bytes = in.bytes(length);
            std::copy(bytes.begin(), bytes.end(), request.begin());
            const bool available = wasConnected || deviceAvailable(backend);
            const bool sent = link.WriteReport(std::span<const uint8_t>(request.data(), length));
            FUZZ_CHECK(sent == available);
            if (!sent) {
                FUZZ_CHECK(backend.handleCalls == callsBefore && !link.connected());
                break;
            }
            // Report ID 0, the request, then the filler; a failed or short write closes the link.
            FUZZ_CHECK(backend.handleCalls == callsBefore + 1);
            FUZZ_CHECK(link.connected() == (backend.lastWriteResult == static_cast<int>(DeviceLink::ReportSize)));
            FUZZ_CHECK(
                std::equal(request.begin(), request.begin() + static_cast<long>(length), backend.lastWritten.begin()));
            for (size_t i = length; i < ReportDataSize; ++i)
                FUZZ_CHECK(backend.lastWritten[i] == DeviceLink::Filler);
            break;
        }
        case 1: {
            ReportData dest;
            dest.fill(0xEE);
            const bool available = wasConnected || deviceAvailable(backend);
            const ReadResult read = link.ReadReport(dest);
            FUZZ_CHECK((read != ReadResult::NoDevice) == available);
            if (read == ReadResult::NoDevice) {
                FUZZ_CHECK(backend.handleCalls == callsBefore && !link.connected());
                FUZZ_CHECK(std::all_of(dest.begin(), dest.end(), [](uint8_t b) { return b == 0xEE; }));
                break;
            }
            FUZZ_CHECK(backend.handleCalls == callsBefore + 1);
            if (backend.lastReadResult > 0) {
                // A short report leaves the rest zero, never bytes of an earlier one.
                receiveBuffer = backend.lastReadBytes;
                FUZZ_CHECK(link.connected() && read == ReadResult::Reply);
            } else {
                // The previous report again, marked as no answer of its own.
                FUZZ_CHECK(!link.connected() && read == ReadResult::TimedOut);
            }
            FUZZ_CHECK(dest == receiveBuffer);
            break;
        }
        case 2:
            link.CloseDevice();
            FUZZ_CHECK(!link.connected() && link.devicePath().empty());
            break;
        case 3: {
            const bool available = deviceAvailable(backend);
            FUZZ_CHECK(link.FindDevice() == available);
            FUZZ_CHECK(link.connected() == available);
            break;
        }
        case 4: {
            // Unplug or plug back a device.
            if (!backend.devices.empty()) {
                auto& device = backend.devices[in.byte() % backend.devices.size()];
                device->present = !device->present;
            }
            break;
        }
        default: {
            // A present device starts or stops refusing to open (permissions changing).
            if (!backend.devices.empty()) {
                auto& device = backend.devices[in.byte() % backend.devices.size()];
                device->refusesOpen = !device->refusesOpen;
            }
            break;
        }
        }
        FUZZ_CHECK(backend.opensOfForeignDevices == 0);
        FUZZ_CHECK(link.connected() == !link.devicePath().empty());
        if (link.connected())
            FUZZ_CHECK(std::any_of(backend.devices.begin(), backend.devices.end(), [&](const auto& device) {
                return device->matches() && device->info.path == link.devicePath();
            }));
    }
    return 0;
}
