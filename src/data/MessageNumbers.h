#pragma once

// Numbers of the texts in a language's msg.txt (line k + 1 holds message k). The numbers are
// part of the file format: every language's msg.txt binds to them.

#include <algorithm>
#include <iterator>

namespace trv::msg {

inline constexpr int ErrorTitle = 0;       // title of every error box; status line of unnamed states
inline constexpr int CatalogueMissing = 1; // trvimpr.tvb can't be opened
inline constexpr int CatalogueDamaged = 2; // trvimpr.tvb unreadable or not a catalogue
inline constexpr int NamesMissing = 3;     // trvimpr.tvn can't be opened
inline constexpr int NamesDamaged = 4;     // trvimpr.tvn damaged
inline constexpr int NamesMismatch = 5;    // trvimpr.tvn doesn't match the catalogue
inline constexpr int NoDevice = 6;         // a request could not be sent
inline constexpr int DeviceTooOld = 7;     // device version below the minimum
inline constexpr int LowPower = 8;         // shown before EmptyReply when the battery is low
inline constexpr int VerifyFailed = 9;     // third verification failed
inline constexpr int BadReply = 10;        // no reply, or an unexpected one
inline constexpr int StartRefused = 11;    // wrong start acknowledgement
inline constexpr int EndLine = 16;         // end line of the control list
inline constexpr int WaitLine = 17;        // a wait item
inline constexpr int PauseWord = 19;       // word before a pause's minutes and seconds
inline constexpr int DownloadOpened = 20;
inline constexpr int FetchingBaseState = 21;
inline constexpr int TransferStarted = 22;
inline constexpr int VerifiedLine1 = 23;
inline constexpr int VerifiedLine2 = 24;
inline constexpr int IdleHeading = 27;          // heading of the idle summary
inline constexpr int StateHeld = 29;            // device state 18
inline constexpr int StateWaiting = 30;         // device state 20
inline constexpr int StateLowPower = 31;        // device state 17
inline constexpr int StateIdle = 32;            // device states 0 and 15
inline constexpr int IdleValue = 34;            // holds a "*" where the number goes
inline constexpr int EmptyReply = 37;           // the device had no reply ready
inline constexpr int ProtocolTextsMissing = 38; // vorlix.spn can't be opened
inline constexpr int ProtocolFileMissing = 39;  // vorlix.spb can't be opened
inline constexpr int ProtocolFileDamaged = 40;  // vorlix.spb damaged

// Refusals of the image build: the image tables have fixed sizes the device relies on.
inline constexpr int TooManySteps = 41;        // a program item with more than 128 steps
inline constexpr int TooManyIndexEntries = 42; // more than 1024 index entries
inline constexpr int TooManyTherapySlots = 43; // more than 256 distinct steps
inline constexpr int UnknownProgram = 44;      // a program number not in the catalogue
// Follows NoDevice when a matching device was found but could not be opened.
inline constexpr int DevicePermission = 45;

inline constexpr int Count = 50;

// The messages something shows, in ascending order; the others are never looked up.
inline constexpr int InUse[] = {
    ErrorTitle,
    CatalogueMissing,
    CatalogueDamaged,
    NamesMissing,
    NamesDamaged,
    NamesMismatch,
    NoDevice,
    DeviceTooOld,
    LowPower,
    VerifyFailed,
    BadReply,
    StartRefused,
    EndLine,
    WaitLine,
    PauseWord,
    DownloadOpened,
    FetchingBaseState,
    TransferStarted,
    VerifiedLine1,
    VerifiedLine2,
    IdleHeading,
    StateHeld,
    StateWaiting,
    StateLowPower,
    StateIdle,
    IdleValue,
    EmptyReply,
    ProtocolTextsMissing,
    ProtocolFileMissing,
    ProtocolFileDamaged,
    TooManySteps,
    TooManyIndexEntries,
    TooManyTherapySlots,
    UnknownProgram,
    DevicePermission,
};
static_assert(std::is_sorted(std::begin(InUse), std::end(InUse)) &&
              std::adjacent_find(std::begin(InUse), std::end(InUse)) == std::end(InUse));

} // namespace trv::msg
