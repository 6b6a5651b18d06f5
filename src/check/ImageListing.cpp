#include "check/ImageListing.h"

#include "program/ImageRequests.h"

#include <algorithm>
#include <cstdio>

namespace trv {

namespace {

bool ParseNumber(std::string_view text, int limit, int& value) {
    if (text.empty() || text.size() > 6)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= limit;
}

std::string HexBytes(std::span<const uint8_t> bytes) {
    std::string text;
    char byte[4];
    for (size_t k = 0; k < bytes.size(); ++k) {
        std::snprintf(byte, sizeof byte, k == 0 ? "%02X" : " %02X", bytes[k]);
        text += byte;
    }
    return text;
}

std::string Hex16(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

void DescribeItem(std::ostream& out, int number, const ImageItem& item) {
    out << "  item " << number << ": ";
    if (item.code == ItemProgram)
        out << "P program " << item.programNumber << ", index start " << item.indexStart << ", index count "
            << item.indexCount << ", running time " << item.value << " s\n";
    else if (item.code == ItemPause)
        out << "T pause " << item.value << " s (" << item.value / 60 << ":" << (item.value % 60 < 10 ? "0" : "")
            << item.value % 60 << ")\n";
    else
        out << "W wait\n";
}

} // namespace

bool ComposeControlProgram(std::string_view items, ControlProgram& control, std::string& error) {
    control.Clear();
    size_t start = 0;
    while (start <= items.size()) {
        const size_t comma = std::min(items.find(',', start), items.size());
        const std::string_view token = items.substr(start, comma - start);
        start = comma + 1;
        const std::string quoted = "\"" + std::string(token) + "\"";
        bool added = false;
        int value = 0;
        if (token.size() > 1 && (token[0] == 'P' || token[0] == 'p')) {
            if (!ParseNumber(token.substr(1), 65535, value) || value == 0) {
                error = quoted + ": a program number from 1 is expected";
                return false;
            }
            added = control.InsertControlItem(KindProgram, value - 1);
        } else if (token.size() > 1 && (token[0] == 'T' || token[0] == 't')) {
            const size_t colon = token.find(':');
            int minutes = 0;
            int seconds = 0;
            if (colon == std::string_view::npos || !ParseNumber(token.substr(1, colon - 1), MaxPauseMinutes, minutes) ||
                token.size() - colon != 3 || !ParseNumber(token.substr(colon + 1), MaxPauseSeconds, seconds) ||
                minutes + seconds == 0) {
                error = quoted + ": a pause is written T followed by minutes (0 to 99), ':' and two digits of seconds, "
                                 "not 0:00";
                return false;
            }
            added = control.InsertControlItem(minutes, seconds);
        } else if (token == "W" || token == "w") {
            added = control.InsertControlItem(KindWait, 0);
        } else {
            error = quoted + ": an item is P<number>, T<minutes>:<seconds> or W";
            return false;
        }
        if (!added) {
            error = "a control program holds at most " + std::to_string(MaxControlItems) + " items";
            return false;
        }
    }
    return true;
}

std::vector<ListedRequest> DownloadRequests(const DeviceImage& image) {
    std::vector<ListedRequest> requests;
    requests.push_back({"InfoHead", InfoHeadRequest(image)});
    for (int next = 0;;) {
        const ControlCut cut = ControlRequest(image, next);
        requests.push_back({"Control from item " + std::to_string(next + 1), cut.request});
        next += cut.itemsTaken;
        if (cut.last || cut.itemsTaken == 0)
            break;
    }
    // Empty sections are left out, as the download leaves them out.
    const ProgressPlan plan = PlanProgress(image);
    for (int block = 0; block < plan.indexsRequests; ++block)
        requests.push_back({"Indexs block " + std::to_string(block), IndexsRequest(image, block)});
    for (int block = 0; block < plan.therapiesRequests; ++block)
        requests.push_back({"Therapies block " + std::to_string(block), TherapiesRequest(image, block)});
    requests.push_back({"Summary request", SummaryRequest()});
    return requests;
}

void WriteImageListing(std::ostream& out, const DeviceImage& image) {
    int item = 0;
    for (const ListedRequest& listed : DownloadRequests(image)) {
        const DeviceRequest& request = listed.request;
        out << HexBytes(request.span()) << '\n';
        out << "  " << listed.name;
        const uint8_t command = request.length > 2 ? request.bytes[2] : 0;
        if (command == wire::InfoHead) {
            out << ": items " << image.itemCount << ", index entries " << image.indexCount << ", therapy slots "
                << image.therapyCount << ", title \"";
            for (uint8_t c : image.title)
                out << (c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
            out << "\"\n";
        } else if (command == wire::Control) {
            const ControlCut cut = ControlRequest(image, item);
            out << ": " << cut.itemsTaken << " items\n";
            for (int k = 0; k < cut.itemsTaken; ++k, ++item)
                DescribeItem(out, item + 1, image.items[static_cast<size_t>(item)]);
        } else if (command == wire::Indexs) {
            const int first = request.bytes[3] * IndexsPerRequest;
            const int last = std::min(image.indexCount, first + IndexsPerRequest) - 1;
            out << ": entries " << first << " to " << last << ", slot numbers";
            for (int k = first; k <= last; ++k)
                out << ' ' << image.indexTable[static_cast<size_t>(k)];
            out << '\n';
        } else if (command == wire::Therapies) {
            const int first = request.bytes[3] * TherapiesPerRequest;
            const int last = std::min(image.therapyCount, first + TherapiesPerRequest) - 1;
            out << ": slots " << first << " to " << last << "\n";
            for (int k = first; k <= last; ++k) {
                const TherapySlot& slot = image.therapySlots[static_cast<size_t>(k)];
                out << "  slot " << k << ": step word " << Hex16(slot.stepWord) << ", device bytes "
                    << HexBytes(slot.deviceBytes) << ", padding " << HexBytes(std::span(&slot.padding, 1))
                    << " (frequency " << slot.frequency << ", span " << slot.frequencySpan << ")\n";
            }
        } else {
            out << '\n';
        }
    }
    const ImageSummary summary = ExpectedSummary(image);
    const uint8_t reply[] = {summary.itemCount,
                             static_cast<uint8_t>(summary.indexCount & 0xFF),
                             static_cast<uint8_t>(summary.indexCount >> 8),
                             static_cast<uint8_t>(summary.therapyCount & 0xFF),
                             static_cast<uint8_t>(summary.therapyCount >> 8),
                             static_cast<uint8_t>(summary.itemChecksum & 0xFF),
                             static_cast<uint8_t>(summary.itemChecksum >> 8),
                             static_cast<uint8_t>(summary.indexChecksum & 0xFF),
                             static_cast<uint8_t>(summary.indexChecksum >> 8),
                             static_cast<uint8_t>(summary.therapyChecksum & 0xFF),
                             static_cast<uint8_t>(summary.therapyChecksum >> 8)};
    out << "Summary the device must answer, reply bytes 5 to 15:\n" << HexBytes(reply) << '\n';
    out << "  items " << int{summary.itemCount} << ", index entries " << summary.indexCount << ", therapy slots "
        << summary.therapyCount << ", item checksum " << Hex16(summary.itemChecksum) << ", index checksum "
        << Hex16(summary.indexChecksum) << ", therapy checksum " << Hex16(summary.therapyChecksum) << '\n';
}

} // namespace trv
