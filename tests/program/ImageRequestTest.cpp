#include "program/DeviceImage.h"
#include "program/ImageRequests.h"

#include "TestCatalogue.h"

#include <gtest/gtest.h>

#include <vector>

namespace trv {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const DeviceRequest& request) {
    return {request.bytes.begin(), request.bytes.begin() + static_cast<long>(request.length)};
}

using test::ImageOf;

std::vector<ControlCut> AllControlRequests(const DeviceImage& image) {
    std::vector<ControlCut> cuts;
    int next = 0;
    for (;;) {
        cuts.push_back(ControlRequest(image, next));
        next += cuts.back().itemsTaken;
        if (cuts.back().last || cuts.size() > 40)
            return cuts;
    }
}

TEST(InfoHeadRequest, CountsAndTitle) {
    DeviceImage image;
    image.itemCount = 3;
    image.indexCount = 0x0123;
    image.therapyCount = 0x0100;
    MarkImageTitle(image, true);
    EXPECT_EQ(BytesOf(InfoHeadRequest(image)),
              (Bytes{0xC0, 0x0E, 0xD0, 3, 0x23, 0x01, 0x00, 0x01, 'X', 'r', 'o', 't', 'o', 'c', 'o', 'l'}));
}

TEST(ControlRequest, EncodesEachKindOfItem) {
    const DeviceImage image = ImageOf({ImageItem{ItemProgram, 0x0102, 0x0304, 0x0506, 0x12345},
                                       ImageItem{ItemPause, 0, 0, 0, 150}, ImageItem{ItemWait, 0, 0, 0, 0}});
    const ControlCut cut = ControlRequest(image, 0);
    EXPECT_EQ(cut.itemsTaken, 3);
    EXPECT_TRUE(cut.last);
    // 13 item bytes: N = 15, then the 00 that closes a short run.
    EXPECT_EQ(BytesOf(cut.request), (Bytes{0xC0, 15, 0xD1, 0, 0x50, 0x02, 0x01, 0x04, 0x03, 0x06, 0x05, 0x45, 0x23,
                                           0x54, 0x96, 0x00, 0x57, 0x00}));
}

TEST(ControlRequest, TwentyProgramItemsTakeSixSixSixAndTwo) {
    const DeviceImage image = ImageOf(std::vector<ImageItem>(20, ImageItem{ItemProgram, 1, 0, 1, 60}));
    const std::vector<ControlCut> cuts = AllControlRequests(image);
    ASSERT_EQ(cuts.size(), 4u);
    const int taken[] = {6, 6, 6, 2};
    for (size_t k = 0; k < cuts.size(); ++k) {
        EXPECT_EQ(cuts[k].itemsTaken, taken[k]);
        EXPECT_EQ(cuts[k].last, k == 3);
        EXPECT_EQ(cuts[k].request.bytes[3], 6 * k); // number of the first item
        EXPECT_EQ(cuts[k].request.bytes[1], 2 + 9 * taken[k]);
        EXPECT_EQ(cuts[k].request.length, 4u + 9 * static_cast<size_t>(taken[k]) + 1);
        EXPECT_EQ(cuts[k].request.bytes[cuts[k].request.length - 1], 0x00);
    }
    EXPECT_EQ(PlanProgress(image).controlRequests, 4);
}

TEST(ControlRequest, FullSixtyBytesHaveNoClosingZero) {
    // 20 pauses of 3 bytes fill one request exactly.
    const DeviceImage image = ImageOf(std::vector<ImageItem>(20, ImageItem{ItemPause, 0, 0, 0, 0x5A5A}));
    const ControlCut cut = ControlRequest(image, 0);
    EXPECT_EQ(cut.itemsTaken, 20);
    EXPECT_TRUE(cut.last);
    EXPECT_EQ(cut.request.bytes[1], 62);
    EXPECT_EQ(cut.request.length, 64u);
    EXPECT_EQ(cut.request.bytes[63], 0x5A);
}

TEST(ControlRequest, AnItemIsNeverSplit) {
    // 17 pauses (51 bytes) leave room for one program item; 18 (54) don't.
    std::vector<ImageItem> items(17, ImageItem{ItemPause, 0, 0, 0, 1});
    items.push_back(ImageItem{ItemProgram, 1, 0, 1, 1});
    EXPECT_EQ(AllControlRequests(ImageOf(items)).size(), 1u);

    items.insert(items.begin(), ImageItem{ItemPause, 0, 0, 0, 1});
    const std::vector<ControlCut> cuts = AllControlRequests(ImageOf(items));
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_EQ(cuts[0].itemsTaken, 18);
    EXPECT_EQ(cuts[0].request.length, 4u + 54 + 1);
    EXPECT_EQ(cuts[1].itemsTaken, 1);
    EXPECT_EQ(cuts[1].request.bytes[3], 18);
    EXPECT_EQ(PlanProgress(ImageOf(items)).controlRequests, 2);
}

TEST(ControlRequest, CursorOutsideTheItemsGivesNoRequest) {
    const DeviceImage image = ImageOf({ImageItem{ItemWait, 0, 0, 0, 0}});
    EXPECT_EQ(ControlRequest(image, 2).request.length, 0u);
    EXPECT_EQ(ControlRequest(image, -1).request.length, 0u);
}

TEST(IndexsRequest, SixtyOneEntriesTakeTwoBlocks) {
    DeviceImage image;
    image.indexCount = 61;
    for (int k = 0; k < 61; ++k)
        image.indexTable[static_cast<size_t>(k)] = k + 1;
    EXPECT_EQ(PlanProgress(image).indexsRequests, 2);

    const Bytes first = BytesOf(IndexsRequest(image, 0));
    ASSERT_EQ(first.size(), 64u);
    EXPECT_EQ((Bytes{first.begin(), first.begin() + 5}), (Bytes{0xC0, 0x3E, 0xD2, 0, 1}));
    EXPECT_EQ(first[63], 60);

    const Bytes second = BytesOf(IndexsRequest(image, 1));
    ASSERT_EQ(second.size(), 64u);
    EXPECT_EQ((Bytes{second.begin(), second.begin() + 5}), (Bytes{0xC0, 0x3E, 0xD2, 1, 61}));
    EXPECT_EQ(IndexsRequest(image, 2).length, 0u);
}

TEST(IndexsRequest, LastBlockOfAFullTableStaysInsideIt) {
    DeviceImage image;
    image.indexCount = MaxIndexEntries;
    image.indexTable.fill(7);
    EXPECT_EQ(PlanProgress(image).indexsRequests, 18);
    const Bytes last = BytesOf(IndexsRequest(image, 17)); // entries 1020..1079 of 1024
    ASSERT_EQ(last.size(), 64u);
    EXPECT_EQ((Bytes{last.begin() + 4, last.begin() + 9}), (Bytes{7, 7, 7, 7, 0}));
}

TEST(TherapiesRequest, SixSlotsTakeTwoBlocks) {
    DeviceImage image;
    image.therapyCount = 6;
    for (int k = 0; k < 6; ++k) {
        TherapySlot& slot = image.therapySlots[static_cast<size_t>(k)];
        slot.stepWord = static_cast<uint16_t>(0x0100 + k);
        slot.deviceBytes.fill(static_cast<uint8_t>(k));
        slot.padding = 0xEE;
        slot.frequency = 1000; // not sent
    }
    EXPECT_EQ(PlanProgress(image).therapiesRequests, 2);

    const DeviceRequest first = TherapiesRequest(image, 0);
    EXPECT_EQ(first.length, 64u);
    EXPECT_EQ(first.bytes[1], 62);
    const Bytes second = BytesOf(TherapiesRequest(image, 1));
    EXPECT_EQ(second, (Bytes{0xC0, 0x0E, 0xD3, 1, 0x05, 0x01, 5, 5, 5, 5, 5, 5, 5, 5, 5, 0xEE}));
    EXPECT_EQ(TherapiesRequest(image, 2).length, 0u);
}

TEST(TherapiesRequest, TestTherapyEntry) {
    const ProgramCatalogue catalogue = test::MakeCatalogue(test::DistinctSteps(1), {{{0}, 10}});
    DeviceImage image = ImageOf({ImageItem{ItemProgram, 2, 0, 0, 0}});
    ASSERT_TRUE(BuildDeviceImage(image, catalogue, 0).ok);
    EXPECT_EQ(BytesOf(TherapiesRequest(image, 0)),
              (Bytes{0xC0, 14, 0xD3, 0, 0xF0, 0x00, 0x28, 0xF7, 0xF7, 0xF7, 0x66, 0x00, 0x35, 0xF5, 0xD8, 0x00}));
}

TEST(PlanProgress, SectionStartsFollowTheCounts) {
    DeviceImage image = ImageOf(std::vector<ImageItem>(20, ImageItem{ItemProgram, 1, 0, 15, 60}));
    image.indexCount = 300;
    image.therapyCount = 100;
    const ProgressPlan plan = PlanProgress(image);
    EXPECT_EQ(plan.controlRequests, 4);
    EXPECT_EQ(plan.indexsRequests, 5);
    EXPECT_EQ(plan.therapiesRequests, 20);
    EXPECT_EQ(plan.indexsStart(), 5);
    EXPECT_EQ(plan.therapiesStart(), 10);
    EXPECT_EQ(plan.maximum(), 29);
}

} // namespace
} // namespace trv
