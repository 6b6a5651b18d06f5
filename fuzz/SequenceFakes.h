#pragma once

// What the step machine targets put around the Download and Device Status sequences: a link
// whose answers come from the fuzzer's bytes, a timer fired by the input, the catalogue and the
// texts. Replies are mostly built in the shape of a real reply kind (with any field values) and
// then possibly damaged, so the fuzzer gets past the leading checks instead of stalling there.
#include "FuzzSupport.h"
#include "ImageChecks.h"

#include "data/LanguageSelection.h"
#include "link/DeviceMessages.h"
#include "link/ReportLink.h"
#include "logic/SequenceTimer.h"
#include "program/DeviceSession.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace trv::fuzz {

class ScriptedLink : public ReportLink {
public:
    ScriptedLink(ByteSource& script, const DeviceSession& session) : script_(script), session_(session) {}

    std::vector<std::vector<uint8_t>> written; // every request the link accepted
    int closes = 0;
    int reads = 0;
    int timedOutReads = 0; // reads that handed back the previous report
    bool refusedOpen = false;
    // Called with each request before it goes out (the targets check their invariants there).
    std::function<void(std::span<const uint8_t>)> onWrite;

    bool WriteReport(std::span<const uint8_t> request) override {
        FUZZ_CHECK(!request.empty() && request.size() <= ReportDataSize);
        if (request[0] == wire::Framed) {
            FUZZ_CHECK(request.size() >= 3);
            const size_t n = request[1];
            FUZZ_CHECK(n >= 1 && n <= wire::MaxFramedPayload && n + 2 <= request.size());
        } else {
            FUZZ_CHECK(request.size() == 1 && (request[0] == wire::LinkCheck || request[0] == wire::Fetch));
        }
        if (onWrite)
            onWrite(request);
        // No device now and then; a device that was found but refused is told through openFailure.
        const uint8_t answer = script_.byte();
        if (answer < 0x08) {
            refusedOpen = answer < 0x02;
            return false;
        }
        refusedOpen = false;
        written.emplace_back(request.begin(), request.end());
        return true;
    }

    ReadResult ReadReport(ReportData& dest) override {
        ++reads;
        const uint8_t kind = script_.byte();
        if (kind < 0x06)
            return ReadResult::NoDevice;
        timedOut_ = kind % 10 == 8;
        ReportData reply{};
        switch (kind % 10) {
        case 0:
            copyFromScript(reply, 0);
            break;
        case 1: // base state
            reply[0] = wire::Reply;
            reply[1] = wire::BaseStateLength;
            reply[5] = stateCode();
            reply[6] = script_.byte() < 0x10 ? 0 : 1;
            for (size_t at : {7, 8, 9, 10, 14, 15, 16, 17, 18, 19})
                reply[at] = script_.byte();
            break;
        case 2: // run state
            reply[0] = wire::Reply;
            reply[1] = 0x1C;
            reply[4] = wire::RunStateMark;
            reply[5] = stateCode();
            for (size_t at = 7; at < 18; ++at)
                reply[at] = script_.byte();
            break;
        case 3: { // context
            reply[0] = wire::Reply;
            reply[1] = 0x3C;
            reply[4] = wire::ContextMark;
            reply[6] = script_.byte() % 26;
            reply[7] = script_.byte() % 26;
            for (size_t at = 16; at < 16 + 2 * static_cast<size_t>(reply[7]) && at + 1 < reply.size(); at += 2) {
                const uint8_t shape = script_.byte();
                const uint16_t word = shape < 0x40   ? WaitItemWord
                                      : shape < 0x80 ? static_cast<uint16_t>(0x8000 | script_.u16())
                                                     : static_cast<uint16_t>(script_.byte() % 16);
                reply[at] = static_cast<uint8_t>(word & 0xFF);
                reply[at + 1] = static_cast<uint8_t>(word >> 8);
            }
            break;
        }
        case 4: { // the summary of the image being sent, one field possibly off
            const ImageSummary summary = ExpectedSummary(session_.image);
            reply[0] = wire::Reply;
            reply[1] = 0x10;
            reply[4] = wire::Summary;
            reply[5] = summary.itemCount;
            const uint16_t fields[] = {summary.indexCount, summary.therapyCount, summary.itemChecksum,
                                       summary.indexChecksum, summary.therapyChecksum};
            for (size_t f = 0; f < 5; ++f) {
                reply[6 + 2 * f] = static_cast<uint8_t>(fields[f] & 0xFF);
                reply[7 + 2 * f] = static_cast<uint8_t>(fields[f] >> 8);
            }
            const uint8_t off = script_.byte();
            if (off < 16)
                reply[5 + off] ^= 1;
            break;
        }
        case 5:
            std::copy(StartAcknowledgement.begin(), StartAcknowledgement.end(), reply.begin());
            break;
        case 6:
            reply[0] = wire::Reply; // nothing ready
            break;
        case 7:
            reply[0] = wire::LinkCheckReply;
            break;
        case 8:
            reply = last_; // a read that timed out hands back the previous report, and says so
            ++timedOutReads;
            break;
        default:
            reply[0] = wire::Reply;
            copyFromScript(reply, 1);
            break;
        }
        // Now and then one byte damaged.
        const uint8_t damage = script_.byte();
        if (damage >= 0xC0)
            reply[damage % ReportDataSize] = script_.byte();
        last_ = reply;
        dest = reply;
        return timedOut_ ? ReadResult::TimedOut : ReadResult::Reply;
    }

    // Whether the last read that found the device timed out.
    bool lastReadTimedOut() const { return timedOut_; }
    void CloseDevice() override { ++closes; }
    std::string openFailure() const override { return refusedOpen ? "Permission denied" : std::string(); }

private:
    uint8_t stateCode() {
        const uint8_t choice = script_.byte();
        switch (choice % 8) {
        case 0:
        case 1:
            return devstate::Idle;
        case 2:
            return devstate::IdleBusy;
        case 3:
            return devstate::Waiting;
        case 4:
            return devstate::LowPower;
        case 5:
            return devstate::Held;
        default:
            return script_.byte();
        }
    }

    void copyFromScript(ReportData& reply, size_t from) {
        const std::string_view bytes = script_.bytes(ReportDataSize - from);
        std::copy(bytes.begin(), bytes.end(), reply.begin() + static_cast<long>(from));
    }

    ByteSource& script_;
    const DeviceSession& session_;
    ReportData last_{};
    bool timedOut_ = false;
};

// A dialog's timer, fired by the target. Every interval a sequence sets is one of its own.
class FuzzTimer : public SequenceTimer {
public:
    explicit FuzzTimer(std::vector<int> intervals) : intervals_(std::move(intervals)) {}

    void setHandler(Handler handler) override { handler_ = std::move(handler); }
    void setInterval(int milliseconds) override {
        FUZZ_CHECK(std::find(intervals_.begin(), intervals_.end(), milliseconds) != intervals_.end());
        interval_ = milliseconds;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool enabled() const override { return enabled_; }
    bool hasHandler() const { return static_cast<bool>(handler_); }

    // One time-out; false when the timer was off.
    bool fire() {
        if (!enabled_ || !handler_)
            return false;
        Handler run = handler_; // the step replaces the handler while it runs
        run();
        return true;
    }

private:
    std::vector<int> intervals_;
    Handler handler_;
    int interval_ = 200;
    bool enabled_ = false;
};

// Texts that look like format strings, in every entry; message 34 with its "*" somewhere inside.
inline LanguageTexts formatLikeTexts(bool empty) {
    LanguageTexts texts;
    if (empty)
        return texts;
    for (int k = 0; k < MessageTable::size(); ++k)
        texts.messages.set(k, "%s%n%d M" + std::to_string(k));
    for (int k = 0; k < CaptionTable::size(); ++k)
        texts.captions.set(k, "%n%s C" + std::to_string(k));
    texts.messages.set(34, "%n value: * %s");
    return texts;
}

// Twelve programs: 1 to 8 small and sharing steps, 9 and 10 with 100 steps of their own each,
// 11 with more steps than an item may have, 12 with none. Twenty items of programs 9 and 10
// overflow the index table; 9, 10 and the others together the therapy slots.
inline ProgramCatalogue sequenceCatalogue() {
    std::vector<ProgramStep> distinct;
    for (int k = 0; k < 400; ++k) {
        ProgramStep step;
        step.stepWord = static_cast<uint16_t>(k + 1);
        step.frequency = 1 + static_cast<uint32_t>(k) * 37;
        step.frequencySpan = static_cast<uint32_t>(k % 5) * 11;
        distinct.push_back(step);
    }
    std::vector<CatalogueProgram> programs;
    std::vector<int> stepMap;
    const auto add = [&](std::vector<int> steps, uint32_t seconds) {
        CatalogueProgram program;
        program.number = static_cast<int>(programs.size()) + 1;
        program.runningSeconds = seconds;
        program.firstStep = static_cast<int>(stepMap.size());
        program.stepCount = static_cast<int>(steps.size());
        program.shortLabel = "%3d %s" + std::to_string(program.number);
        stepMap.insert(stepMap.end(), steps.begin(), steps.end());
        programs.push_back(program);
    };
    for (int k = 0; k < 8; ++k)
        add({k, k + 1, k + 2, k}, 60u * static_cast<uint32_t>(k + 1));
    for (int k = 0; k < 2; ++k) {
        std::vector<int> steps;
        for (int j = 0; j < 100; ++j)
            steps.push_back(10 + 100 * k + j);
        add(steps, 3600);
    }
    std::vector<int> tooMany;
    for (int j = 0; j < 130; ++j)
        tooMany.push_back(210 + j);
    add(tooMany, 7200);
    add({}, 0);
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), std::move(distinct), std::move(stepMap));
    return catalogue;
}

// With TRV_FUZZ_TRACE set, the requests that went out (commands of framed requests, A0 and C1
// alone) and how the run ended: for writing seeds that reach a particular step.
inline void traceRun(const ScriptedLink& link, const char* ending) {
    if (std::getenv("TRV_FUZZ_TRACE") == nullptr)
        return;
    for (const std::vector<uint8_t>& request : link.written)
        std::fprintf(stderr, "%02X ", request[0] == wire::Framed ? request[2] : request[0]);
    std::fprintf(stderr, "\n%s\n", ending);
}

// Checks an image as it goes out: the InfoHead request is sent only for an image the build accepted.
inline void checkImageOnInfoHead(std::span<const uint8_t> request, const DeviceImage& image,
                                 const ProgramCatalogue& catalogue) {
    if (request.size() >= 3 && request[0] == wire::Framed && request[2] == wire::InfoHead)
        checkAcceptedImage(image, catalogue);
}

} // namespace trv::fuzz
