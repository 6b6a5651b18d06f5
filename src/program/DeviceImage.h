#pragma once

#include "data/ProgramCatalogue.h"
#include "link/DeviceMessages.h"
#include "program/TherapyCodes.h"

#include <array>
#include <cstdint>
#include <span>

namespace trv {

class ControlProgram;

// Sizes of the device's image tables. The build refuses a control program that would not fit.
inline constexpr int MaxImageItems = 20;
inline constexpr int MaxItemSteps = 128;
inline constexpr int MaxIndexEntries = 1024;
inline constexpr int MaxTherapySlots = 256; // slot numbers travel as one byte

// Item codes as the device knows them.
inline constexpr int32_t ItemProgram = 'P';
inline constexpr int32_t ItemPause = 'T';
inline constexpr int32_t ItemWait = 'W';

inline constexpr int ImageTitleSize = 8;
using ImageTitle = std::array<uint8_t, ImageTitleSize>;
inline constexpr ImageTitle DefaultImageTitle{'P', 'r', 'o', 't', 'o', 'c', 'o', 'l'};

struct ImageItem {
    int32_t code = 0;          // ItemProgram, ItemPause or ItemWait
    int32_t programNumber = 0; // program: catalogue number, 1-based
    int32_t indexStart = 0;    // program: first position in the index table
    int32_t indexCount = 0;    // program: its step count
    int32_t value = 0;         // program: running seconds; pause: length in seconds

    friend bool operator==(const ImageItem&, const ImageItem&) = default;
};

// The built-in step of the self-test program (the program number one past the catalogue's last).
inline constexpr TherapySlot TestTherapy{240, {0x28, 0xF7, 0xF7, 0xF0, 0x00, 0x00, 0x35, 0xF5, 0xD8}, 0x00, 500, 0};

// The control program as the device receives it. The title survives rebuilding: it is what the
// next download sends unless the main window marks it again.
struct DeviceImage {
    std::array<ImageItem, MaxImageItems> items{};
    int32_t itemCount = 0;
    std::array<int32_t, MaxIndexEntries> indexTable{};
    int32_t indexCount = 0;
    std::array<TherapySlot, MaxTherapySlots> therapySlots{};
    int32_t therapyCount = 0;
    ImageTitle title = DefaultImageTitle;
    uint8_t correctionPercentage = 0;
};

// Outcome of a build: when refused, message is the message number to show and the image must not
// be sent (its tables hold nothing beyond their sizes, but they are incomplete).
struct ImageBuildResult {
    bool ok = true;
    int message = -1;
};

// First title byte: 'P' for a download of the composed program, 'X' for the self-test.
void MarkImageTitle(DeviceImage& image, bool selfTest);

// Step 1 of the build for a composed program: the control program's items (end marker excluded).
void SetImageItems(DeviceImage& image, const ControlProgram& program);

// Builds the image for the correction percentage the device reported. storedProgram: keep the
// items decoded from the device's context reply instead of taking the control program's.
ImageBuildResult BuildDeviceImage(DeviceImage& image, const ControlProgram& program, bool storedProgram,
                                  const ProgramCatalogue& catalogue, uint8_t correctionPercentage);
// The same over items already in the image (the stored program, or items set by the caller).
ImageBuildResult BuildDeviceImage(DeviceImage& image, const ProgramCatalogue& catalogue, uint8_t correctionPercentage);

// Replaces the image's items by those decoded from a context reply (C000 a wait, bit 15 a pause of
// word & 7FFF seconds, otherwise a program number). false, leaving the image as it was, when the
// reply lists more items than it carries or than the image holds.
bool SetImageItemsFromContext(DeviceImage& image, const ContextReply& context);

uint16_t ItemChecksum(std::span<const ImageItem> items);
uint16_t IndexChecksum(std::span<const int32_t> indexEntries);
// What the device computes: count x (stepWord + nine device bytes) of slot 0 alone.
uint16_t TherapyChecksum(std::span<const TherapySlot> slotsInUse);

uint16_t ItemChecksum(const DeviceImage& image);
uint16_t IndexChecksum(const DeviceImage& image);
uint16_t TherapyChecksum(const DeviceImage& image);
// The summary a device holding this image reports.
ImageSummary ExpectedSummary(const DeviceImage& image);

} // namespace trv
