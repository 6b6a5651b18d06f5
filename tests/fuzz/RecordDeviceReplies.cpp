// Records the replies of the simulated device to the requests the application sends, as seeds
// for the reply fuzz target: fuzz_record_replies <folder>. Each file holds the 64 data bytes of
// one reply followed by the two bytes the target reads after it (program count, percentage).
#include "link/DeviceLink.h"
#include "link/DeviceMessages.h"
#include "program/ControlProgram.h"
#include "program/DeviceImage.h"
#include "program/ImageRequests.h"
#include "sim/SimClock.h"
#include "sim/SimulatedDevice.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

using namespace trv;
using namespace std::chrono_literals;

namespace {

class Recorder {
public:
    Recorder(std::string folder) : folder_(std::move(folder)), device_(clock_), link_(device_) {}

    sim::ManualClock& clock() { return clock_; }
    sim::SimulatedDevice& device() { return device_; }

    bool send(const DeviceRequest& request) { return link_.WriteReport(request.span()); }

    // A framed request, then 200 ms later the fetch and the read, as the dialogs do it.
    bool ask(const DeviceRequest& request, const std::string& name) {
        if (!send(request))
            return false;
        clock_.advance(200ms);
        return send(FetchRequest()) && record(name);
    }

    bool record(const std::string& name) {
        ReportData reply{};
        // A timed-out read hands back the previous reply, which would be saved under the wrong name.
        if (link_.ReadReport(reply) != ReadResult::Reply)
            return false;
        std::ofstream out(folder_ + "/" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(reply.data()), static_cast<std::streamsize>(reply.size()));
        const char tail[2] = {6, 10}; // six catalogue programs, correction 10 %
        out.write(tail, sizeof tail);
        out.close();
        if (!out) {
            std::cerr << name << ": can't be written\n";
            return false;
        }
        return true;
    }

private:
    std::string folder_;
    sim::ManualClock clock_;
    sim::SimulatedDevice device_;
    DeviceLink link_;
};

ProgramCatalogue sixPrograms() {
    std::vector<ProgramStep> distinct;
    for (uint32_t k = 0; k < 6; ++k) {
        ProgramStep step;
        step.stepWord = static_cast<uint16_t>(0x40 + k);
        step.frequency = 100 * (k + 1);
        step.frequencySpan = 5 * k;
        distinct.push_back(step);
    }
    std::vector<CatalogueProgram> programs;
    std::vector<int> stepMap;
    for (int k = 0; k < 6; ++k) {
        CatalogueProgram program;
        program.number = k + 1;
        program.runningSeconds = 20u * static_cast<uint32_t>(k + 1);
        program.firstStep = static_cast<int>(stepMap.size());
        program.stepCount = 1 + k % 3;
        for (int j = 0; j < program.stepCount; ++j)
            stepMap.push_back((k + j) % 6);
        programs.push_back(program);
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), std::move(distinct), std::move(stepMap));
    return catalogue;
}

bool sendImage(Recorder& recorder, const DeviceImage& image) {
    bool ok = recorder.send(InfoHeadRequest(image));
    for (int next = 0; ok;) {
        const ControlCut cut = ControlRequest(image, next);
        ok = recorder.send(cut.request);
        next += cut.itemsTaken;
        if (cut.last)
            break;
    }
    const ProgressPlan plan = PlanProgress(image);
    for (int b = 0; ok && b < plan.indexsRequests; ++b)
        ok = recorder.send(IndexsRequest(image, b));
    for (int b = 0; ok && b < plan.therapiesRequests; ++b)
        ok = recorder.send(TherapiesRequest(image, b));
    return ok;
}

bool recordAll(Recorder& r) {
    const ProgramCatalogue catalogue = sixPrograms();
    ControlProgram control(catalogue, nullptr);
    control.AddSelectedProgram(0);
    control.InsertControlItem(0, 30);
    control.AddWait();
    control.AddSelectedProgram(2);
    DeviceImage image;
    if (!BuildDeviceImage(image, control, false, catalogue, 10).ok)
        return false;

    bool ok = r.send(LinkCheckRequest()) && r.record("link_check");
    ok = ok && r.ask(BaseStateRequest(), "base_state_idle");
    ok = ok && sendImage(r, image) && r.ask(SummaryRequest(), "summary_match");
    r.device().corruptSummary(sim::SummaryField::IndexChecksum, 1);
    ok = ok && r.ask(SummaryRequest(), "summary_index_checksum_off");
    ok = ok && r.ask(StartRequest(0), "start_ack");
    r.clock().advance(3s);
    ok = ok && r.ask(RunStateRequest(), "run_state_program");
    ok = ok && r.ask(ContextRequest(false), "context_running");
    ok = ok && r.send(WaitRequest()) && r.ask(RunStateRequest(), "run_state_held");
    ok = ok && r.send(ContinueRequest());
    r.clock().advance(60s);
    ok = ok && r.ask(RunStateRequest(), "run_state_waiting_item");
    ok = ok && r.send(ContinueRequest());
    r.device().setPowerLevel(sim::SimulatedDevice::LowPowerLevel);
    ok = ok && r.ask(RunStateRequest(), "run_state_low_power");
    r.device().setDrainInterval(1s);
    r.clock().advance(5s);
    ok = ok && r.ask(BaseStateRequest(), "base_state_stored_program");
    ok = ok && r.ask(ContextRequest(true), "context_stored_program");
    r.device().setPowerLevel(sim::SimulatedDevice::FullPower);
    r.device().giveEmptyReplies(1);
    ok = ok && r.ask(BaseStateRequest(), "empty_reply");
    r.device().setWrongStartAcknowledgement(true);
    ok = ok && r.ask(StartRequest(0), "start_refused");
    r.device().setWrongStartAcknowledgement(false);
    r.device().setBusyState(9);
    ok = ok && r.ask(BaseStateRequest(), "base_state_busy");
    r.device().setBusyState(0);
    r.device().setVersion({0, 9, 9, 9});
    ok = ok && r.ask(BaseStateRequest(), "base_state_old_version");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <corpus folder>\n";
        return 2;
    }
    Recorder recorder(argv[1]);
    if (!recordAll(recorder)) {
        std::cerr << "the simulated device did not answer as expected\n";
        return 1;
    }
    return 0;
}
