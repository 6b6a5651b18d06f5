#pragma once

#include "data/ProgramCatalogue.h"
#include "data/TextTables.h"
#include "link/DeviceMessages.h"
#include "program/DeviceImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trv {

// What the WRC button of the Device Status dialog does when pressed.
enum class WrcMode { None, Wait, Continue, Resume };

// The Device Status dialog's display as data: the six lists, the two bars and the WRC button.
// The status sequence changes it; the window copies it into its widgets. Texts are the 8-bit
// texts of the language files.
class StatusDisplay {
public:
    // ListBox1 to ListBox6.
    enum List { ProgramList = 0, WholeTotal, WholeRemaining, ItemTotal, ItemRemaining, StatusLineList, ListCount };

    static constexpr int NoStatusCode = -1;
    static constexpr int NoPowerLevel = 256; // before any reply carried a power level
    static constexpr int LowPowerNoticeLevel = 111;
    // The fixed marker of a resumable program; not localised.
    static constexpr const char* SavedProgramLine = "                   * * *   Saved program!!!   * * *";

    const std::vector<std::string>& lines(List list) const { return lists_[list]; }
    // Bumped at every change of a list, so the window rewrites only what changed.
    int revision(List list) const { return revisions_[list]; }
    int highlightedLine() const { return highlighted_; } // line of ListBox1; -1 none
    int powerBar() const { return powerBar_; }
    int progressBar() const { return progressBar_; }
    int lastStatusCode() const { return lastStatusCode_; }
    int lastPowerLevel() const { return lastPowerLevel_; }

    WrcMode wrcMode() const { return wrcMode_; }
    bool wrcEnabled() const { return wrcEnabled_; }
    const std::string& wrcCaption() const { return wrcCaption_; }
    const std::string& wrcHint() const { return wrcHint_; }

    // Empties the six lists, both bars to 0, forgets the status code written last.
    void Clear();
    // Rewrites ListBox6 only when the code differs from the one written last.
    void StatusLine(int code, const MessageTable& messages);
    void TimeLine(List list, uint16_t seconds);
    void Power(int level);
    void Progress(uint32_t remaining, uint32_t total);
    void IdleSummary(const BaseState& state, const MessageTable& messages);
    // The items of the image, one line each, then the highlight of (currentItem - 1).
    void ShowProgramList(const DeviceImage& image, const ProgramCatalogue& catalogue, const MessageTable& messages,
                         int currentItem);
    void Highlight(int line);
    void SavedProgramMarker();
    void WaitingFigures(const RunState& state, const MessageTable& messages);
    void RunningFigures(int runCode, const RunState& state, const MessageTable& messages);
    // Each notice clears the display first. openFailure: why a found device could not be opened.
    void NoDeviceNotice(const MessageTable& messages, const std::string& openFailure);
    void EmptyReplyNotice(const MessageTable& messages);
    void BadReplyNotice(const MessageTable& messages);

    // Button mode and its caption-table texts (27/28 none and wait, 12/13 continue, 43/44 resume).
    void SetWrcMode(WrcMode mode, const CaptionTable& captions);
    void SetWrcEnabled(bool enabled) { wrcEnabled_ = enabled; }

    // "  %2d:%02d" of seconds / 60 and seconds mod 60.
    static std::string FormatTimeLine(uint16_t seconds);
    // min(max(level - 109, 0), 26) x 100 / 26.
    static int PowerBarPosition(int level);
    // The elapsed share 100 - remaining x 100 / total; 0 when the total is 0.
    static int ProgressPosition(uint32_t remaining, uint32_t total);
    // Message 34 up to its "*" followed by the value; without a "*", the whole text, a space and the value.
    static std::string IdleValueLine(const std::string& text, int32_t value);
    // A line of the program list for one image item.
    static std::string ProgramListLine(const ImageItem& item, const ProgramCatalogue& catalogue,
                                       const MessageTable& messages);

private:
    void clearList(List list);
    void addLine(List list, std::string line);

    std::array<std::vector<std::string>, ListCount> lists_;
    std::array<int, ListCount> revisions_{};
    int highlighted_ = -1;
    int powerBar_ = 0;
    int progressBar_ = 0;
    int lastStatusCode_ = NoStatusCode;
    int lastPowerLevel_ = NoPowerLevel;
    WrcMode wrcMode_ = WrcMode::None;
    bool wrcEnabled_ = false;
    std::string wrcCaption_;
    std::string wrcHint_;
};

} // namespace trv
