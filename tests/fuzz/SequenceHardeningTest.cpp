// Faults the step machine fuzz targets found, shown against the simulated device.
#include "SequenceTestBench.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace trv {
namespace {

using test::DownloadBench;

size_t startRequests(const DownloadBench& b) {
    const std::vector<uint8_t> commands = b.commands();
    return static_cast<size_t>(std::count(commands.begin(), commands.end(), wire::Start));
}

// The Start button stays enabled until the acknowledgement is read. A second click used to send a
// second start, which the running device refuses; that refusal then stood for the first start's
// reply, and the dialog reported a refused start for a program that was running.
TEST(DownloadStartButton, ASecondClickBeforeTheAcknowledgementSendsNothing) {
    DownloadBench b;
    b.compose({3, 4});
    b.download();
    ASSERT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
    b.device.clearRequestLog();

    b.sequence.StartButtonClick();
    b.sequence.StartButtonClick();
    b.timer.runToRest();

    EXPECT_EQ(startRequests(b), 1u);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Started);
    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);
    EXPECT_EQ(std::count(b.view.lines.begin(), b.view.lines.end(), "M11"), 0);
}

// After a failed start the error box is followed by the closing step; a click on the still enabled
// Start button used to replace that step and go on talking to the device.
TEST(DownloadStartButton, AClickAfterAFailureDoesNotKeepTheDialogOpen) {
    DownloadBench b;
    b.compose({3});
    b.download();
    b.sequence.StartButtonClick();
    b.device.unplug();
    b.timer.tick(); // the fetch finds no device: error box, closing step next
    ASSERT_EQ(b.view.errors.size(), 1u);
    b.device.replug();
    b.device.clearRequestLog();

    b.sequence.StartButtonClick();
    b.timer.runToRest();

    EXPECT_EQ(startRequests(b), 0u);
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_FALSE(b.sequence.open());
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Failed);
    EXPECT_TRUE(b.session.startPending);
}

} // namespace
} // namespace trv
