#pragma once

#include "logic/DownloadSequence.h"
#include "logic/SessionEvents.h"

#include <string>

namespace trv {

// The events the download and status sequences send, made from their state, so each report in
// a step machine stays one call.

// The Download dialog opened: what it is about to send (the stored program on a resume).
DownloadBegin BeginOfDownload(const DeviceSession& session, const ControlProgram& control,
                              const ProgramCatalogue& catalogue);
// A message ended the download; text is the message as shown (8-bit language text).
DownloadResult FailureOfDownload(int message, const std::string& text, int verifyCount);
// The dialog ends with `after` (Started, GaveWay or Closed) where the download stood at `before`.
DownloadResult EndOfDownload(DownloadSequence::Outcome before, DownloadSequence::Outcome after, int verifyCount,
                             const MessageTable& messages);
// The device's program item (1-based) is a wait item.
bool IsWaitItem(const DeviceImage& image, int item);

} // namespace trv
