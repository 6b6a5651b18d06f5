#include "program/DeviceImage.h"
#include "program/ImageRequests.h"

#include "TestCatalogue.h"
#include "data/MessageNumbers.h"
#include "program/ControlProgram.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace trv {
namespace {

using test::MakeCatalogue;
using test::TestProgram;

ImageItem Program(int number) {
    return ImageItem{ItemProgram, number, 0, 0, 0};
}
ImageItem Pause(int seconds) {
    return ImageItem{ItemPause, 0, 0, 0, seconds};
}
ImageItem Wait() {
    return ImageItem{ItemWait, 0, 0, 0, 0};
}

using test::ImageOf;

std::vector<int32_t> IndexEntries(const DeviceImage& image) {
    return {image.indexTable.begin(), image.indexTable.begin() + image.indexCount};
}

std::vector<uint32_t> SlotFrequencies(const DeviceImage& image) {
    std::vector<uint32_t> frequencies;
    for (int k = 0; k < image.therapyCount; ++k)
        frequencies.push_back(image.therapySlots[static_cast<size_t>(k)].frequency);
    return frequencies;
}

TEST(BuildDeviceImage, RepeatedStepOfOneProgramHasOneSlot) {
    // Steps A, B, A.
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(2), {{{0, 1, 0}, 300}});
    DeviceImage image = ImageOf({Program(1)});
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    EXPECT_EQ(image.therapyCount, 2);
    EXPECT_EQ(IndexEntries(image), (std::vector<int32_t>{0, 1, 0}));
    EXPECT_EQ(image.items[0], (ImageItem{ItemProgram, 1, 0, 3, 300}));
}

TEST(BuildDeviceImage, SlotsFollowFirstUseAcrossItems) {
    // Program 1 uses distinct steps 3 and 1; program 2 uses 1, 2 and 3.
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(4), {{{3, 1}, 100}, {{1, 2, 3}, 200}});
    DeviceImage image = ImageOf({Program(1), Pause(60), Program(2), Wait()});
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    EXPECT_EQ(IndexEntries(image), (std::vector<int32_t>{0, 1, 1, 2, 0}));
    EXPECT_EQ(SlotFrequencies(image), (std::vector<uint32_t>{103, 101, 102}));
    EXPECT_EQ(image.items[2].indexStart, 2);
    EXPECT_EQ(image.items[2].indexCount, 3);
    EXPECT_EQ(image.items[2].value, 200);
    // Pause and wait take no entries.
    EXPECT_EQ(image.items[1], Pause(60));
    EXPECT_EQ(image.items[3], Wait());
}

TEST(BuildDeviceImage, SlotsAreCopiesWithTheirCodes) {
    ProgramStep step = test::StepWithFrequency(1000, 500, 0x1234);
    step.padding = 0x77;
    const ProgramCatalogue catalogue = MakeCatalogue({step}, {{{0}, 10}});
    DeviceImage image = ImageOf({Program(1)});
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    const TherapySlot& slot = image.therapySlots[0];
    EXPECT_EQ(slot.stepWord, 0x1234);
    EXPECT_EQ(slot.padding, 0x77);
    EXPECT_EQ(slot.deviceBytes, (std::array<uint8_t, 9>{0, 0, 0, 0x01, 0xFE, 0x90, 0, 0, 0}));
    // The catalogue keeps its own bytes.
    EXPECT_EQ(catalogue.distinctSteps()[0].deviceBytes[3], 0);
}

TEST(BuildDeviceImage, WaitsAndPausesOnlyTakeNoEntriesOrSlots) {
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(1), {{{0}, 10}});
    DeviceImage image = ImageOf({Wait(), Pause(150), Wait()});
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    EXPECT_EQ(image.indexCount, 0);
    EXPECT_EQ(image.therapyCount, 0);
    EXPECT_EQ(TherapyChecksum(image), 0);
    const ProgressPlan plan = PlanProgress(image);
    EXPECT_EQ(plan.controlRequests, 1);
    EXPECT_EQ(plan.indexsRequests, 0);
    EXPECT_EQ(plan.therapiesRequests, 0);
    EXPECT_EQ(IndexsRequest(image, 0).length, 0u);
    EXPECT_EQ(TherapiesRequest(image, 0).length, 0u);
}

TEST(BuildDeviceImage, SelfTestProgramAloneUsesTheTestTherapy) {
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(1), {{{0}, 10}, {{0}, 20}});
    DeviceImage image = ImageOf({Program(3)}); // one past the last program
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    EXPECT_EQ(image.items[0], (ImageItem{ItemProgram, 3, 0, 1, 240}));
    EXPECT_EQ(IndexEntries(image), (std::vector<int32_t>{0}));
    ASSERT_EQ(image.therapyCount, 1);
    EXPECT_EQ(image.therapySlots[0].deviceBytes,
              (std::array<uint8_t, 9>{0x28, 0xF7, 0xF7, 0xF7, 0x66, 0x00, 0x35, 0xF5, 0xD8}));
    EXPECT_EQ(TherapyChecksum(image), 1637);
}

TEST(BuildDeviceImage, SelfTestNumberAmongOtherItemsIsRefused) {
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(1), {{{0}, 10}});
    DeviceImage image = ImageOf({Program(2), Wait()});
    const ImageBuildResult result = BuildDeviceImage(image, catalogue, 0);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, msg::UnknownProgram);
}

TEST(BuildDeviceImage, RebuildStartsFromScratchButKeepsTheTitle) {
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(3), {{{0, 1, 2}, 10}});
    DeviceImage image = ImageOf({Program(1), Program(1)});
    MarkImageTitle(image, true);
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    EXPECT_EQ(image.indexCount, 6);
    // A single pause after a program image: the general steps, nothing left over.
    image.items[0] = Pause(5);
    image.itemCount = 1;
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    EXPECT_EQ(image.indexCount, 0);
    EXPECT_EQ(image.therapyCount, 0);
    EXPECT_EQ(image.indexTable[0], 0);
    EXPECT_EQ(std::string(image.title.begin(), image.title.end()), "Xrotocol");
    MarkImageTitle(image, false);
    EXPECT_EQ(std::string(image.title.begin(), image.title.end()), "Protocol");
}

TEST(BuildDeviceImage, FromTheControlProgramOrTheStoredItems) {
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(2), {{{0}, 100}, {{1}, 200}});
    ControlProgram control(catalogue, [](int) { return std::string(); });
    control.AddSelectedProgram(1);
    ASSERT_TRUE(control.AddPause("2", "30").added);
    control.AddWait();

    DeviceImage image;
    ASSERT_TRUE(BuildDeviceImage(image, control, false, catalogue, 0).ok);
    ASSERT_EQ(image.itemCount, 3);
    EXPECT_EQ(image.items[0], (ImageItem{ItemProgram, 2, 0, 1, 200}));
    EXPECT_EQ(image.items[1], Pause(150));
    EXPECT_EQ(image.items[2], Wait());

    // The stored program keeps the items decoded from the device, whatever the control program holds.
    image = ImageOf({Pause(7), Program(1)});
    ASSERT_TRUE(BuildDeviceImage(image, control, true, catalogue, 0).ok);
    ASSERT_EQ(image.itemCount, 2);
    EXPECT_EQ(image.items[0], Pause(7));
    EXPECT_EQ(image.items[1], (ImageItem{ItemProgram, 1, 0, 1, 100}));
}

struct RefusalCase {
    const char* name;
    std::vector<TestProgram> programs;
    std::vector<ImageItem> items;
    int distinctSteps;
    bool ok;
    int message;
};

std::vector<int> Repeat(int step, int times) {
    return std::vector<int>(static_cast<size_t>(times), step);
}
std::vector<int> Run(int first, int count) {
    std::vector<int> steps;
    for (int k = 0; k < count; ++k)
        steps.push_back(first + k);
    return steps;
}

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, RefusesWhatTheTablesCannotHold) {
    const RefusalCase& c = GetParam();
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(c.distinctSteps), c.programs);
    DeviceImage image = ImageOf(c.items);
    const ImageBuildResult result = BuildDeviceImage(image, catalogue, 0);
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.message, c.ok ? -1 : c.message);
    EXPECT_LE(image.indexCount, MaxIndexEntries);
    EXPECT_LE(image.therapyCount, MaxTherapySlots);
}

std::vector<ImageItem> Programs(int number, int times) {
    return std::vector<ImageItem>(static_cast<size_t>(times), Program(number));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RefusalTest,
    testing::Values(
        RefusalCase{"Steps128", {{Repeat(0, 128), 1}}, {Program(1)}, 1, true, 0},
        RefusalCase{"Steps129", {{Repeat(0, 129), 1}}, {Program(1)}, 1, false, msg::TooManySteps},
        RefusalCase{"Index1024", {{Repeat(0, 128), 1}}, Programs(1, 8), 1, true, 0},
        RefusalCase{"Index1025",
                    {{Repeat(0, 128), 1}, {{0}, 1}},
                    [] {
                        auto items = Programs(1, 8);
                        items.push_back(Program(2));
                        return items;
                    }(),
                    1,
                    false,
                    msg::TooManyIndexEntries},
        RefusalCase{"Slots256", {{Run(0, 128), 1}, {Run(128, 128), 1}}, {Program(1), Program(2)}, 257, true, 0},
        RefusalCase{"Slots257",
                    {{Run(0, 128), 1}, {Run(128, 128), 1}, {{256}, 1}},
                    {Program(1), Program(2), Program(3)},
                    257,
                    false,
                    msg::TooManyTherapySlots},
        RefusalCase{"NumberZero", {{{0}, 1}}, {Program(0)}, 1, false, msg::UnknownProgram},
        RefusalCase{"NumberBeyondSelfTest", {{{0}, 1}}, {Program(3)}, 1, false, msg::UnknownProgram},
        RefusalCase{"UnknownAfterPause", {{{0}, 1}}, {Pause(5), Program(9)}, 1, false, msg::UnknownProgram}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(BuildDeviceImage, StepRangeOutsideTheCatalogueIsRefused) {
    std::vector<CatalogueProgram> programs(1);
    programs[0].number = 1;
    programs[0].firstStep = 1;
    programs[0].stepCount = 2; // raw step 2 doesn't exist
    ProgramCatalogue catalogue;
    catalogue.assemble(1, programs, test::DistinctSteps(1), {0, 0});
    DeviceImage image = ImageOf({Program(1)});
    const ImageBuildResult result = BuildDeviceImage(image, catalogue, 0);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, msg::CatalogueDamaged);
}

TEST(Checksums, ItemChecksumSumsOnlyTheUsedFields) {
    DeviceImage image = ImageOf({ImageItem{ItemProgram, 3, 0, 2, 300}, ImageItem{ItemPause, 99, 99, 99, 60},
                                 ImageItem{ItemWait, 99, 99, 99, 99}});
    EXPECT_EQ(ItemChecksum(image), 616);
}

TEST(Checksums, KeepTheLow16Bits) {
    DeviceImage image = ImageOf({ImageItem{ItemProgram, 1, 0, 1, 70000}});
    EXPECT_EQ(ItemChecksum(image), (80 + 1 + 1 + 70000) % 65536);
    image.indexCount = MaxIndexEntries;
    image.indexTable.fill(255);
    EXPECT_EQ(IndexChecksum(image), (255 * 1024) % 65536);
}

TEST(Checksums, TherapyChecksumCountsSlotZeroForEverySlot) {
    std::array<TherapySlot, 3> slots{};
    slots[0].stepWord = 1000;
    slots[0].deviceBytes = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    slots[0].padding = 200; // takes no part
    slots[1].stepWord = 5;  // nor do the other slots
    EXPECT_EQ(TherapyChecksum(slots), 3 * (1000 + 45));
    EXPECT_EQ(TherapyChecksum(std::span(slots.data(), 1)), 1045);
    EXPECT_EQ(TherapyChecksum(std::span<const TherapySlot>()), 0);
}

TEST(ExpectedSummary, CarriesCountsAndChecksums) {
    const ProgramCatalogue catalogue = MakeCatalogue(test::DistinctSteps(2), {{{0, 1, 0}, 300}});
    DeviceImage image = ImageOf({Program(1), Wait()});
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    const ImageSummary summary = ExpectedSummary(image);
    EXPECT_EQ(summary.itemCount, 2);
    EXPECT_EQ(summary.indexCount, 3);
    EXPECT_EQ(summary.therapyCount, 2);
    EXPECT_EQ(summary.itemChecksum, 80 + 1 + 0 + 3 + 300 + 87);
    EXPECT_EQ(summary.indexChecksum, 1);
    EXPECT_EQ(summary.therapyChecksum, TherapyChecksum(std::span(image.therapySlots.data(), 2)));
}

ContextReply ContextOf(std::vector<uint16_t> words, int reportedCount) {
    ContextReply context;
    context.currentItem = 1;
    context.itemCount = static_cast<uint8_t>(reportedCount);
    context.wordCount = std::min<int>(static_cast<int>(words.size()), MaxContextItemWords);
    for (int k = 0; k < context.wordCount; ++k)
        context.words[static_cast<size_t>(k)] = words[static_cast<size_t>(k)];
    return context;
}

TEST(SetImageItemsFromContext, DecodesWaitsPausesAndPrograms) {
    DeviceImage image = ImageOf({Program(4), Program(4), Program(4)});
    ASSERT_TRUE(SetImageItemsFromContext(image, ContextOf({0xC000, 0x8096, 0x0005, 0xFFFF}, 4)));
    ASSERT_EQ(image.itemCount, 4);
    EXPECT_EQ(image.items[0], Wait());
    EXPECT_EQ(image.items[1], Pause(150));
    EXPECT_EQ(image.items[2], Program(5));
    EXPECT_EQ(image.items[3], Pause(0x7FFF));
}

TEST(SetImageItemsFromContext, RefusesMoreItemsThanFitAndKeepsTheImage) {
    DeviceImage image = ImageOf({Program(4)});
    const DeviceImage before = image;
    // 21 words would overflow the 20-item table; 30 can't even be carried by the reply.
    EXPECT_FALSE(SetImageItemsFromContext(image, ContextOf(std::vector<uint16_t>(21, 0xC000), 21)));
    EXPECT_FALSE(SetImageItemsFromContext(image, ContextOf(std::vector<uint16_t>(24, 0xC000), 30)));
    EXPECT_EQ(image.itemCount, before.itemCount);
    EXPECT_EQ(image.items, before.items);
    EXPECT_TRUE(SetImageItemsFromContext(image, ContextOf(std::vector<uint16_t>(20, 0xC000), 20)));
    EXPECT_EQ(image.itemCount, 20);
}

} // namespace
} // namespace trv
