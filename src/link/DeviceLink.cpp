#include "link/DeviceLink.h"

#include "data/Log.h"

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>

namespace trv {

DeviceLink::DeviceLink(HidBackend& backend) : backend_(backend) {}

DeviceLink::~DeviceLink() {
    CloseDevice();
}

bool DeviceLink::FindDevice() {
    CloseDevice();
    openFailure_.clear();
    // Paths are taken fresh from every enumeration: a replugged device comes back under a new one.
    std::set<std::string> tried;
    for (const HidDeviceInfo& info : backend_.enumerate()) {
        // Only the enumerated IDs decide, so no foreign device is ever opened.
        if (info.vendorId != VendorId || info.productId != ProductId) {
            continue;
        }
        // hidraw may list one interface twice; a refused path is not worth a second try.
        if (!tried.insert(info.path).second) {
            continue;
        }
        std::unique_ptr<HidHandle> handle = backend_.open(info.path);
        if (!handle) {
            openFailure_ = backend_.lastError();
            if (openFailure_.empty()) {
                openFailure_ = "the device could not be opened";
            }
            TRV_LOG(LogCategory::Link, LogLevel::Warning, "opening " << info.path << " refused: " << openFailure_);
            continue;
        }
        handle_ = std::move(handle);
        path_ = info.path;
        openFailure_.clear();
        TRV_LOG(LogCategory::Link, LogLevel::Debug, "opened " << path_);
        return true;
    }
    TRV_LOG(LogCategory::Link, LogLevel::Debug, "no device found" << (openFailure_.empty() ? "" : " that opens"));
    return false;
}

bool DeviceLink::WriteReport(std::span<const uint8_t> request) {
    if (request.empty() || request.size() > ReportDataSize) {
        throw std::invalid_argument("a request holds 1 to 64 bytes");
    }
    std::array<uint8_t, ReportSize> report;
    report[0] = 0;
    std::copy(request.begin(), request.end(), report.begin() + 1);
    std::fill(report.begin() + 1 + request.size(), report.end(), Filler);

    if (!connected() && !FindDevice()) {
        return false;
    }
    const LogStopwatch writing(LogCategory::Link);
    const int written = handle_->write(report.data(), report.size());
    if (written != static_cast<int>(report.size())) {
        TRV_LOG(LogCategory::Link, LogLevel::Warning,
                "write to " << path_ << " failed (" << written << " of " << report.size() << " bytes), request "
                            << HexBytes{request} << ": the link closes and searches again on the next call");
        // The caller learns of the loss from its next call, which searches again.
        CloseDevice();
    } else {
        TRV_LOG(LogCategory::Link, LogLevel::Debug, "request " << HexBytes{request} << " (" << writing.ms() << " ms)");
    }
    return true;
}

ReadResult DeviceLink::ReadReport(ReportData& dest) {
    if (!connected() && !FindDevice()) {
        return ReadResult::NoDevice;
    }
    ReportData incoming{};
    const LogStopwatch waiting(LogCategory::Link);
    const int read = handle_->readTimeout(incoming.data(), incoming.size(), ReadTimeoutMs);
    if (read > 0) {
        TRV_LOG(LogCategory::Link, LogLevel::Debug,
                "reply " << HexBytes{std::span(incoming).first(std::min<size_t>(read, incoming.size()))} << " ("
                         << waiting.ms() << " ms)");
        // A short report leaves the rest zero rather than mixing in the previous reply.
        receiveBuffer_ = incoming;
    } else {
        // Time-out or a vanished device: the receive buffer keeps the previous reply, and the next
        // call searches for the device.
        TRV_LOG(LogCategory::Link, LogLevel::Warning,
                (read == 0 ? "no reply from " : "read from ")
                    << path_
                    << (read == 0 ? " within " + std::to_string(ReadTimeoutMs) + " ms" : " failed: the device is gone")
                    << "; the link closes and searches again on the next call");
        CloseDevice();
    }
    dest = receiveBuffer_;
    return read > 0 ? ReadResult::Reply : ReadResult::TimedOut;
}

void DeviceLink::CloseDevice() {
    handle_.reset();
    path_.clear();
}

} // namespace trv
