#include "data/BuiltinMessages.h"

#include "data/MessageNumbers.h"

#include <string_view>
#include <utility>

namespace trv {

namespace {

// The texts of the English msg.txt, so a missing file never leaves an error box without words.
constexpr std::pair<int, std::string_view> Builtin[] = {
    {msg::ErrorTitle, "TRV"},
    {msg::CatalogueMissing, "The program catalogue trvimpr.tvb can't be opened.\nPlease reinstall the application."},
    {msg::CatalogueDamaged,
     "The program catalogue trvimpr.tvb is damaged or is not a TRV catalogue.\nPlease reinstall the application."},
    {msg::NamesMissing, "The program names file trvimpr.tvn of the selected language can't be opened."},
    {msg::NamesDamaged, "The program names file trvimpr.tvn of the selected language is damaged."},
    {msg::NamesMismatch, "The program names file trvimpr.tvn doesn't belong to this program catalogue."},
    {msg::NoDevice, "No connection to the TRV device. Check the USB cable and switch the device on."},
    {msg::DeviceTooOld,
     "The firmware of this TRV device is too old for this application.\nPlease have the device updated."},
    {msg::LowPower, "The battery of the device is low."},
    {msg::VerifyFailed, "The device could not verify the downloaded control program.\nPlease try the download again."},
    {msg::BadReply, "The device didn't answer, or its answer was not understood."},
    {msg::StartRefused, "The device refused to start the control program."},
    {msg::EndLine, "----- End -----"},
    {msg::WaitLine, "Wait"},
    {msg::PauseWord, "Pause"},
    {msg::DownloadOpened, "Connecting to the device..."},
    {msg::FetchingBaseState, "Reading the device status..."},
    {msg::TransferStarted, "Downloading the control program..."},
    {msg::VerifiedLine1, "Downloaded and verified."},
    {msg::VerifiedLine2, "Press Start to run it."},
    {msg::IdleHeading, "The device is ready."},
    {msg::StateHeld, "Held"},
    {msg::StateWaiting, "Waiting for Continue"},
    {msg::StateLowPower, "Battery low"},
    {msg::StateIdle, "Ready"},
    {msg::IdleValue, "Device counter: *"},
    {msg::EmptyReply, "The device has no answer ready. Please try again."},
    {msg::ProtocolTextsMissing, "The protocol texts file vorlix.spn of the selected language can't be opened."},
    {msg::ProtocolFileMissing, "The protocol file vorlix.spb can't be opened.\nPlease reinstall the application."},
    {msg::ProtocolFileDamaged, "The protocol file vorlix.spb is damaged.\nPlease reinstall the application."},
    {msg::TooManySteps, "A program of the control program has more than 128 steps, more than the device can hold."},
    {msg::TooManyIndexEntries,
     "The control program needs more than 1024 step entries.\nPlease remove some programs from it."},
    {msg::TooManyTherapySlots,
     "The control program uses more than 256 different steps.\nPlease remove some programs from it."},
    {msg::UnknownProgram, "The control program holds a program number that the program catalogue doesn't know."},
    {msg::DevicePermission, "The device was found but can't be opened: install the udev rule that comes with TRV, "
                            "then replug the device."},
};

} // namespace

std::string BuiltinMessage(int k) {
    if (k < 0 || k >= MessageCount)
        return {};
    for (const auto& [number, text] : Builtin) {
        if (number == k)
            return std::string(text);
    }
    return "Unexpected error (" + std::to_string(k) + ").";
}

std::string MessageText(const MessageTable& messages, int k) {
    const std::string& loaded = messages.text(k);
    return loaded.empty() ? BuiltinMessage(k) : loaded;
}

} // namespace trv
