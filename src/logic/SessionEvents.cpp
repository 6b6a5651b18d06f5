#include "logic/SessionEvents.h"

#include "data/Codepage.h"
#include "data/ProgramCatalogue.h"
#include "program/DeviceImage.h"

#include <algorithm>

namespace trv {

SessionEventSink& SessionEventSink::none() {
    static SessionEventSink sink;
    return sink;
}

void SessionEventFanOut::add(std::shared_ptr<SessionEventSink> sink) {
    if (!sink)
        return;
    const std::lock_guard lock(mutex_);
    auto next = std::make_shared<Sinks>(*sinks_);
    next->push_back(std::move(sink));
    sinks_ = std::move(next);
}

void SessionEventFanOut::remove(const SessionEventSink* sink) {
    const std::lock_guard lock(mutex_);
    auto next = std::make_shared<Sinks>(*sinks_);
    std::erase_if(*next, [sink](const auto& held) { return held.get() == sink; });
    sinks_ = std::move(next);
}

size_t SessionEventFanOut::size() const {
    return sinks()->size();
}

std::shared_ptr<const SessionEventFanOut::Sinks> SessionEventFanOut::sinks() const {
    // Copy-on-write: a call holds its own list, so it never runs a sink under the lock.
    const std::lock_guard lock(mutex_);
    return sinks_;
}

template <typename Event>
void SessionEventFanOut::forward(void (SessionEventSink::*notify)(const Event&), const Event& event) {
    for (const auto& sink : *sinks())
        (*sink.*notify)(event);
}

void SessionEventFanOut::downloadBegan(const DownloadBegin& event) {
    forward(&SessionEventSink::downloadBegan, event);
}

void SessionEventFanOut::deviceIdentified(const DeviceIdentified& event) {
    forward(&SessionEventSink::deviceIdentified, event);
}

void SessionEventFanOut::downloadPrepared(const std::vector<SentItem>& items) {
    forward(&SessionEventSink::downloadPrepared, items);
}

void SessionEventFanOut::downloadEnded(const DownloadResult& result) {
    forward(&SessionEventSink::downloadEnded, result);
}

void SessionEventFanOut::statusEvent(const StatusEvent& event) {
    forward(&SessionEventSink::statusEvent, event);
}

std::vector<SentItem> SentItemsOf(const DeviceImage& image, const ProgramCatalogue& catalogue) {
    std::vector<SentItem> items;
    const int count = std::clamp(image.itemCount, 0, MaxImageItems);
    items.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const ImageItem& item = image.items[static_cast<size_t>(k)];
        SentItem sent;
        switch (item.code) {
        case ItemProgram: {
            sent.kind = SentItem::Kind::Program;
            sent.programNumber = item.programNumber;
            sent.seconds = std::max(item.value, 0);
            if (const CatalogueProgram* program = catalogue.program(item.programNumber)) {
                // The name as the windows show it; the language files are in the Central European page.
                std::string label = program->shortLabel;
                while (!label.empty() && label.back() == ' ')
                    label.pop_back();
                sent.name = DecodeToUtf8(label, Codepage::CentralEuropean);
                if (sent.seconds == 0)
                    sent.seconds = static_cast<int>(program->runningSeconds);
            }
            break;
        }
        case ItemPause:
            sent.kind = SentItem::Kind::Pause;
            sent.seconds = std::max(item.value, 0);
            break;
        case ItemWait:
            sent.kind = SentItem::Kind::Wait;
            break;
        default:
            continue; // nothing the device runs
        }
        items.push_back(std::move(sent));
    }
    return items;
}

int64_t TotalSeconds(const std::vector<SentItem>& items) {
    int64_t total = 0;
    for (const SentItem& item : items)
        total += item.seconds;
    return total;
}

std::string VersionText(const std::array<uint8_t, 4>& bytes) {
    std::string text;
    for (size_t k = 0; k < bytes.size(); ++k) {
        if (k > 0)
            text += '.';
        text += std::to_string(bytes[k]);
    }
    return text;
}

} // namespace trv
