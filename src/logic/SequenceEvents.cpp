#include "logic/SequenceEvents.h"

#include "data/BuiltinMessages.h"
#include "data/Codepage.h"
#include "data/MessageNumbers.h"

namespace trv {

DownloadBegin BeginOfDownload(const DeviceSession& session, const ControlProgram& control,
                              const ProgramCatalogue& catalogue) {
    DownloadBegin begin;
    begin.resume = session.storedProgramFlag;
    begin.selfTest = !begin.resume && session.image.title[0] == 'X';
    begin.startItem = session.startItemIndex;
    if (session.storedProgramFlag) {
        begin.items = SentItemsOf(session.image, catalogue);
    } else {
        DeviceImage image;
        SetImageItems(image, control);
        begin.items = SentItemsOf(image, catalogue);
    }
    return begin;
}

DownloadResult FailureOfDownload(int message, const std::string& text, int verifyCount) {
    return {DownloadEnd::Failed, verifyCount, message, DecodeToUtf8(text, Codepage::CentralEuropean)};
}

DownloadResult EndOfDownload(DownloadSequence::Outcome before, DownloadSequence::Outcome after, int verifyCount,
                             const MessageTable& messages) {
    using Outcome = DownloadSequence::Outcome;
    DownloadResult result;
    // A verified program took one check more than the failed ones counted.
    const bool verified = before == Outcome::Verified || before == Outcome::StartRefused;
    result.verifications = verifyCount + (verified || after == Outcome::Started ? 1 : 0);
    if (after == Outcome::Started) {
        result.end = DownloadEnd::Started;
    } else if (after == Outcome::GaveWay) {
        result.end = DownloadEnd::DeviceKeptRunning;
        result.verifications = 0;
    } else if (verified) {
        result.end = DownloadEnd::VerifiedNotStarted;
        if (before == Outcome::StartRefused) {
            result.message = msg::StartRefused;
            result.messageText = DecodeToUtf8(MessageText(messages, msg::StartRefused), Codepage::CentralEuropean);
        }
    } else {
        result.end = DownloadEnd::ClosedByUser;
    }
    return result;
}

bool IsWaitItem(const DeviceImage& image, int item) {
    return item >= 1 && item <= std::min(image.itemCount, MaxImageItems) &&
           image.items[static_cast<size_t>(item - 1)].code == ItemWait;
}

} // namespace trv
