#include "sim/SimulatedDevice.h"

#include "link/DeviceLink.h"

#include <algorithm>

namespace trv::sim {

namespace {

constexpr size_t ReportSize = ReportDataSize + 1;
constexpr uint8_t StatusReplyLength = 28;
constexpr uint8_t SummaryReplyLength = 0x10;
constexpr uint8_t ContextReplyLength = 0x3C;

uint16_t read16(const ReportData& data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

void put16(ReportData& data, size_t offset, uint32_t value) {
    data[offset] = static_cast<uint8_t>(value & 0xFF);
    data[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

void put32(ReportData& data, size_t offset, uint32_t value) {
    put16(data, offset, value & 0xFFFF);
    put16(data, offset + 2, value >> 16);
}

uint16_t seconds16(SimTime time) {
    const auto seconds = (time.count() + 999) / 1000; // a started second counts as remaining
    return static_cast<uint16_t>(std::clamp<long long>(seconds, 0, 0xFFFF));
}

ReportData emptyReply() {
    ReportData reply{};
    reply[0] = wire::Reply;
    return reply;
}

} // namespace

class SimulatedDevice::Handle : public HidHandle {
public:
    Handle(SimulatedDevice& device, std::shared_ptr<bool> alive, bool foreign)
        : device_(device), alive_(std::move(alive)), foreign_(foreign) {}

    int write(const uint8_t* data, size_t length) override {
        if (!*alive_) {
            return -1;
        }
        if (foreign_) {
            return static_cast<int>(length);
        }
        return device_.receive(data, length);
    }

    int readTimeout(uint8_t* data, size_t length, int timeoutMs) override {
        if (!*alive_) {
            return -1;
        }
        if (foreign_) {
            device_.clock_.sleepFor(SimTime(std::max(timeoutMs, 0)));
            return 0;
        }
        return device_.deliver(data, length, timeoutMs);
    }

private:
    SimulatedDevice& device_;
    std::shared_ptr<bool> alive_;
    bool foreign_;
};

SimulatedDevice::SimulatedDevice(SimClock& clock)
    : clock_(clock), lastUpdate_(clock.now()), path_("sim:trv/0"), alive_(std::make_shared<bool>(true)),
      foreignAlive_(std::make_shared<bool>(true)), items_(MaxItems), indexTable_(MaxIndexEntries),
      therapies_(MaxTherapySlots) {}

SimulatedDevice::~SimulatedDevice() {
    // Handles may outlive the device; they must not reach back into it.
    *alive_ = false;
    *foreignAlive_ = false;
}

std::string SimulatedDevice::foreignPath() const {
    return "sim:foreign/0";
}

std::vector<HidDeviceInfo> SimulatedDevice::enumerate() {
    update();
    std::vector<HidDeviceInfo> list;
    if (foreignFirst_) {
        list.push_back({foreignPath(), DeviceLink::VendorId, ForeignProductId});
    }
    if (pluggedIn_) {
        list.push_back({path_, DeviceLink::VendorId, DeviceLink::ProductId});
    }
    return list;
}

std::unique_ptr<HidHandle> SimulatedDevice::open(const std::string& path) {
    update();
    if (foreignFirst_ && path == foreignPath()) {
        lastError_.clear();
        return std::make_unique<Handle>(*this, foreignAlive_, true);
    }
    if (!pluggedIn_ || path != path_) {
        lastError_ = "No such device";
        return nullptr;
    }
    if (!openRefusal_.empty()) {
        lastError_ = openRefusal_;
        return nullptr;
    }
    lastError_.clear();
    // A fresh file handle starts with an empty input queue.
    inputReports_.clear();
    lateReports_.clear();
    return std::make_unique<Handle>(*this, alive_, false);
}

void SimulatedDevice::unplug() {
    update();
    pluggedIn_ = false;
    *alive_ = false;
    inputReports_.clear();
    lateReports_.clear();
}

void SimulatedDevice::replug() {
    update();
    if (pluggedIn_) {
        return;
    }
    pluggedIn_ = true;
    ++plugCount_;
    path_ = "sim:trv/" + std::to_string(plugCount_);
    alive_ = std::make_shared<bool>(true);
}

void SimulatedDevice::unplugAtRequest(int request, UnplugPoint point) {
    unplugAt_ = request > 0 ? arrivals_ + request : 0;
    unplugPoint_ = point;
}

void SimulatedDevice::stopAnsweringAtRequest(int request) {
    silentAt_ = request > 0 ? arrivals_ + request : 0;
}

void SimulatedDevice::answerLateAtRequest(int request) {
    lateAt_ = request > 0 ? arrivals_ + request : 0;
}

void SimulatedDevice::corruptSummary(SummaryField field, int verifications) {
    corruptField_ = field;
    corruptVerifications_ = verifications;
}

uint8_t SimulatedDevice::stateCode() {
    update();
    return reportedState();
}

uint8_t SimulatedDevice::powerLevel() {
    update();
    return powerLevel_;
}

bool SimulatedDevice::storedProgram() {
    update();
    return interrupted_;
}

int SimulatedDevice::currentItem() {
    update();
    return current_ + 1;
}

int SimulatedDevice::receive(const uint8_t* report, size_t length) {
    update();
    // Anything but a whole report with report ID 0 is refused, as the HID driver would.
    if (length != ReportSize || report[0] != 0) {
        return -1;
    }
    const int arrival = ++arrivals_;
    const bool unplugHere = unplugAt_ == arrival;
    if (unplugHere) {
        unplugAt_ = 0;
    }
    if (unplugHere && unplugPoint_ == UnplugPoint::BeforeTaking) {
        unplug();
        return -1;
    }
    if (silentAt_ == arrival) {
        silentAt_ = 0;
        noReply_ = true;
    }
    holdingLate_ = lateAt_ == arrival;
    if (holdingLate_) {
        lateAt_ = 0;
    }
    LoggedRequest entry;
    entry.at = clock_.now();
    std::copy(report + 1, report + ReportSize, entry.data.begin());
    log_.push_back(entry);
    handleRequest(entry.data);
    holdingLate_ = false;
    if (unplugHere) {
        unplug(); // taken, and gone before anything can be read back
    }
    return static_cast<int>(ReportSize);
}

int SimulatedDevice::deliver(uint8_t* data, size_t length, int timeoutMs) {
    update();
    if (inputReports_.empty()) {
        clock_.sleepFor(SimTime(std::max(timeoutMs, 0)));
        update();
        // What was held back arrives just after the read gave up.
        inputReports_.insert(inputReports_.end(), lateReports_.begin(), lateReports_.end());
        lateReports_.clear();
        return 0;
    }
    const ReportData report = inputReports_.front();
    inputReports_.pop_front();
    const size_t count = std::min(length, report.size());
    std::copy(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count), data);
    return static_cast<int>(count);
}

void SimulatedDevice::handleRequest(const ReportData& data) {
    switch (data[0]) {
    case wire::LinkCheck: {
        ReportData reply{};
        reply[0] = wire::LinkCheckReply;
        queueReport(reply);
        break;
    }
    case wire::Fetch:
        queueReport(fetchReply());
        break;
    case wire::Framed:
        handleFramed(data);
        break;
    default:
        break; // unknown requests are ignored
    }
}

void SimulatedDevice::queueReport(const ReportData& report) {
    if (noReply_) {
        return;
    }
    if (holdingLate_) {
        lateReports_.push_back(report);
    } else {
        inputReports_.push_back(report);
    }
}

ReportData SimulatedDevice::fetchReply() {
    if (emptyReplies_ > 0) {
        // Not ready yet: the pending reply stays for a later fetch.
        --emptyReplies_;
        return emptyReply();
    }
    if (!replyPending_) {
        return emptyReply();
    }
    replyPending_ = false;
    return pendingReply_;
}

void SimulatedDevice::handleFramed(const ReportData& data) {
    const uint8_t length = data[1];
    if (length < 1 || length > wire::MaxFramedPayload) {
        return;
    }
    const bool idle = mode_ == RunMode::Idle && busyState_ == 0;
    switch (data[2]) {
    case wire::StateQuery:
        if (data[3] == wire::BaseStateArg) {
            pendingReply_ = baseStateReply();
            replyPending_ = true;
        } else if (data[3] == wire::RunStateArg) {
            pendingReply_ = runStateReply();
            replyPending_ = true;
        }
        break;
    case wire::Abort:
        busyState_ = 0;
        interrupt();
        break;
    // A busy device ignores uploads; the application aborts before it sends one.
    case wire::InfoHead:
        if (idle) {
            takeInfoHead(data);
        }
        break;
    case wire::Control:
        if (idle) {
            takeControl(data);
        }
        break;
    case wire::Indexs:
        if (idle) {
            takeIndexs(data);
        }
        break;
    case wire::Therapies:
        if (idle) {
            takeTherapies(data);
        }
        break;
    case wire::Summary:
        pendingReply_ = summaryReply();
        replyPending_ = true;
        break;
    case wire::Start: {
        const bool accepted = !wrongStartAck_ && idle && start(data[3]);
        pendingReply_ = startReply(accepted);
        replyPending_ = true;
        break;
    }
    case wire::Context:
        pendingReply_ = contextReply();
        replyPending_ = true;
        break;
    case wire::Wait:
        if (mode_ == RunMode::Running) {
            mode_ = RunMode::Held;
        }
        break;
    case wire::Continue:
        if (mode_ == RunMode::Held) {
            mode_ = RunMode::Running;
        } else if (mode_ == RunMode::Waiting) {
            enterItem(current_ + 1);
        }
        break;
    default:
        break;
    }
}

void SimulatedDevice::takeInfoHead(const ReportData& data) {
    itemCount_ = data[3];
    indexCount_ = read16(data, 4);
    therapyCount_ = read16(data, 6);
    std::copy(data.begin() + 8, data.begin() + 16, title_.begin());
    // A new image replaces whatever program was kept.
    interrupted_ = false;
    current_ = -1;
}

void SimulatedDevice::takeControl(const ReportData& data) {
    const size_t end = std::min<size_t>(4 + (data[1] - 2), ReportDataSize);
    size_t pos = 4;
    int index = data[3];
    while (pos < end && index < MaxItems) {
        SimItem item;
        item.code = data[pos];
        size_t size = 0;
        switch (item.code) {
        case 'P':
            size = 9;
            break;
        case 'T':
            size = 3;
            break;
        case 'W':
            size = 1;
            break;
        default:
            return; // garbage: the rest of this request can't be framed
        }
        if (pos + size > end) {
            return;
        }
        if (item.code == 'P') {
            item.programNumber = read16(data, pos + 1);
            item.indexStart = read16(data, pos + 3);
            item.indexCount = read16(data, pos + 5);
            item.value = read16(data, pos + 7);
        } else if (item.code == 'T') {
            item.value = read16(data, pos + 1);
        }
        items_[index] = item;
        ++index;
        pos += size;
    }
}

void SimulatedDevice::takeIndexs(const ReportData& data) {
    const int block = data[3];
    const int entries = std::min(data[1] - 2, 60);
    for (int i = 0; i < entries; ++i) {
        const int at = block * 60 + i;
        if (at >= MaxIndexEntries) {
            break;
        }
        indexTable_[at] = data[4 + i];
    }
}

void SimulatedDevice::takeTherapies(const ReportData& data) {
    const int block = data[3];
    const int slots = std::min((data[1] - 2) / 12, 5);
    for (int i = 0; i < slots; ++i) {
        const int at = block * 5 + i;
        if (at >= MaxTherapySlots) {
            break;
        }
        const size_t pos = 4 + 12 * static_cast<size_t>(i);
        SimTherapy& slot = therapies_[at];
        slot.stepWord = read16(data, pos);
        std::copy(data.begin() + static_cast<std::ptrdiff_t>(pos + 2),
                  data.begin() + static_cast<std::ptrdiff_t>(pos + 11), slot.deviceBytes.begin());
        slot.padding = data[pos + 11];
    }
}

int SimulatedDevice::heldItems() const {
    return std::min(itemCount_, MaxItems);
}

ImageSummary SimulatedDevice::computeSummary() const {
    ImageSummary summary;
    summary.itemCount = static_cast<uint8_t>(itemCount_);
    summary.indexCount = static_cast<uint16_t>(indexCount_);
    summary.therapyCount = static_cast<uint16_t>(therapyCount_);

    uint32_t itemSum = 0;
    for (int i = 0; i < heldItems(); ++i) {
        const SimItem& item = items_[i];
        itemSum += item.code;
        if (item.code == 'P') {
            itemSum += item.programNumber + item.indexStart + item.indexCount + item.value;
        } else if (item.code == 'T') {
            itemSum += item.value;
        }
    }
    summary.itemChecksum = static_cast<uint16_t>(itemSum);

    uint32_t indexSum = 0;
    for (int i = 0; i < std::min(indexCount_, MaxIndexEntries); ++i) {
        indexSum += indexTable_[i];
    }
    summary.indexChecksum = static_cast<uint16_t>(indexSum);

    // The device checks the first slot only, once for every slot in use.
    uint32_t slotSum = therapies_[0].stepWord;
    for (uint8_t b : therapies_[0].deviceBytes) {
        slotSum += b;
    }
    summary.therapyChecksum = static_cast<uint16_t>(static_cast<uint32_t>(therapyCount_) * slotSum);
    return summary;
}

ReportData SimulatedDevice::summaryReply() {
    ImageSummary summary = computeSummary();
    if (corruptVerifications_ > 0) {
        --corruptVerifications_;
        switch (corruptField_) {
        case SummaryField::ItemCount:
            ++summary.itemCount;
            break;
        case SummaryField::IndexCount:
            ++summary.indexCount;
            break;
        case SummaryField::TherapyCount:
            ++summary.therapyCount;
            break;
        case SummaryField::ItemChecksum:
            ++summary.itemChecksum;
            break;
        case SummaryField::IndexChecksum:
            ++summary.indexChecksum;
            break;
        case SummaryField::TherapyChecksum:
            ++summary.therapyChecksum;
            break;
        }
    }
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = SummaryReplyLength;
    reply[4] = wire::Summary;
    reply[5] = summary.itemCount;
    put16(reply, 6, summary.indexCount);
    put16(reply, 8, summary.therapyCount);
    put16(reply, 10, summary.itemChecksum);
    put16(reply, 12, summary.indexChecksum);
    put16(reply, 14, summary.therapyChecksum);
    return reply;
}

ReportData SimulatedDevice::startReply(bool accepted) const {
    ReportData reply{};
    std::copy(StartAcknowledgement.begin(), StartAcknowledgement.end(), reply.begin());
    if (!accepted) {
        reply[5] = 0x0A; // refused
    }
    return reply;
}

ReportData SimulatedDevice::baseStateReply() const {
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = wire::BaseStateLength;
    reply[4] = wire::StateQuery;
    reply[5] = reportedState();
    reply[6] = version_[0];
    reply[7] = version_[1];
    reply[8] = correctionPercentage_;
    reply[9] = powerLevel_;
    reply[10] = interrupted_ ? 1 : 0;
    reply[14] = version_[2];
    reply[15] = version_[3];
    put32(reply, 16, counterValue_);
    return reply;
}

SimTime SimulatedDevice::itemDuration(int index) const {
    const SimItem& item = items_[index];
    if (item.code == 'P' || item.code == 'T') {
        return std::chrono::seconds(item.value);
    }
    return SimTime(0);
}

ReportData SimulatedDevice::runStateReply() const {
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = StatusReplyLength;
    reply[4] = wire::RunStateMark;
    reply[5] = reportedState();
    reply[7] = powerLevel_;
    if (mode_ != RunMode::Idle && current_ >= 0) {
        reply[8] = static_cast<uint8_t>(current_ + 1);
        SimTime total{0};
        SimTime remaining{0};
        for (int i = 0; i < heldItems(); ++i) {
            total += itemDuration(i);
            if (i > current_) {
                remaining += itemDuration(i);
            }
        }
        const SimTime itemTotal = itemDuration(current_);
        const SimTime itemLeft = std::max(itemTotal - itemElapsed_, SimTime(0));
        remaining += itemLeft;
        put16(reply, 10, seconds16(remaining));
        put16(reply, 12, seconds16(total));
        put16(reply, 14, seconds16(itemLeft));
        put16(reply, 16, seconds16(itemTotal));
    }
    return reply;
}

ReportData SimulatedDevice::contextReply() const {
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = ContextReplyLength;
    reply[4] = wire::ContextMark;
    reply[6] = static_cast<uint8_t>(current_ + 1);
    reply[7] = static_cast<uint8_t>(itemCount_);
    const int words = std::min(heldItems(), MaxContextItemWords);
    for (int k = 0; k < words; ++k) {
        const SimItem& item = items_[k];
        ContextItem decoded;
        if (item.code == 'P') {
            decoded = {ContextItemKind::Program, item.programNumber};
        } else if (item.code == 'T') {
            decoded = {ContextItemKind::Pause, item.value};
        } else {
            decoded = {ContextItemKind::Wait, 0};
        }
        put16(reply, 16 + 2 * static_cast<size_t>(k), EncodeItemWord(decoded));
    }
    return reply;
}

uint8_t SimulatedDevice::reportedState() const {
    if (busyState_ != 0) {
        return busyState_;
    }
    switch (mode_) {
    case RunMode::Idle:
        return devstate::Idle;
    case RunMode::Waiting:
    case RunMode::Held:
        return devstate::Waiting;
    case RunMode::Running:
        break;
    }
    if (powerLevel_ <= LowPowerLevel) {
        return devstate::LowPower;
    }
    return items_[current_].code == 'P' ? StateRunningProgram : StateRunningPause;
}

bool SimulatedDevice::start(int itemIndex) {
    if (itemIndex >= heldItems() || powerLevel_ <= FlatPower) {
        return false;
    }
    interrupted_ = false;
    ++counterValue_;
    enterItem(itemIndex);
    return true;
}

void SimulatedDevice::enterItem(int index) {
    itemElapsed_ = SimTime(0);
    if (index >= heldItems()) {
        finish();
        return;
    }
    current_ = index;
    mode_ = items_[index].code == 'W' ? RunMode::Waiting : RunMode::Running;
}

void SimulatedDevice::interrupt() {
    if (mode_ == RunMode::Idle) {
        return;
    }
    // Kept for a later resume from the item it stopped in.
    mode_ = RunMode::Idle;
    interrupted_ = true;
    itemElapsed_ = SimTime(0);
}

void SimulatedDevice::pressStopKey() {
    update();
    interrupt();
}

void SimulatedDevice::recharge(uint8_t level) {
    update();
    powerLevel_ = level;
}

void SimulatedDevice::finish() {
    mode_ = RunMode::Idle;
    interrupted_ = false;
    current_ = -1;
    itemElapsed_ = SimTime(0);
}

void SimulatedDevice::loseOnePowerLevel() {
    if (powerLevel_ > 0) {
        --powerLevel_;
    }
    if (powerLevel_ <= FlatPower) {
        interrupt();
    }
}

void SimulatedDevice::update() {
    const SimTime now = clock_.now();
    SimTime elapsed = std::max(now - lastUpdate_, SimTime(0));
    lastUpdate_ = now;
    for (;;) {
        // Items of no length are passed at once.
        while (mode_ == RunMode::Running && itemElapsed_ >= itemDuration(current_)) {
            enterItem(current_ + 1);
        }
        if (elapsed <= SimTime(0)) {
            break;
        }
        // Working drains the battery ten times faster than standing idle.
        const SimTime drainEvery = std::max(mode_ == RunMode::Idle ? drainInterval_ * 10 : drainInterval_, SimTime(1));
        SimTime chunk = std::min(elapsed, drainEvery - std::min(drainCarry_, drainEvery));
        if (mode_ == RunMode::Running) {
            chunk = std::min(chunk, itemDuration(current_) - itemElapsed_);
            itemElapsed_ += chunk;
        }
        elapsed -= chunk;
        drainCarry_ += chunk;
        if (drainCarry_ >= drainEvery) {
            drainCarry_ = SimTime(0);
            loseOnePowerLevel();
        }
    }
}

} // namespace trv::sim
