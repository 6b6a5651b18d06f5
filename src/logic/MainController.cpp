#include "logic/MainController.h"

#include "data/CatalogueFile.h"
#include "data/CatalogueTexts.h"
#include "program/DeviceImage.h"

#include <algorithm>

namespace trv {

MainController::MainController(AppContext& context, MainView& view) : context_(context), view_(view) {}

void MainController::end() {
    ended_ = true;
    view_.endApplication();
}

// The texts of a language reach the window only when its caption file was read.
bool MainController::applyLanguage(LanguageLoadStage stage) {
    if (stage == LanguageLoadStage::FlagFailed) {
        view_.showFlagError();
        return false;
    }
    if (CaptionsLoaded(stage))
        view_.applyMainTexts(context_.texts.mainTexts);
    return true;
}

void MainController::fillProgramList() {
    view_.showProgramList(context_.catalogue.programListLines(context_.catalogue.listOrder()));
}

void MainController::showControl() {
    view_.showControlProgram(context_.control);
}

StartupFiles ReadStartupFiles(const DataFolder& folder) {
    StartupFiles files;
    // Read once for both of its readers: the full catalogue is over half a megabyte.
    const std::optional<std::string> catalogueBytes = folder.read(CatalogueFileName);
    files.steps = LoadStepTable(catalogueBytes ? std::string_view(*catalogueBytes) : std::string_view());
    files.header = ReadCatalogueHeader(catalogueBytes);
    files.protocols = LoadProtocolFile(folder.read(ProtocolFileName));
    return files;
}

bool MainController::Start() {
    return Start(ReadStartupFiles(context_.folder));
}

bool MainController::Start(StartupFiles files) {
    const DataFolder& folder = context_.folder;
    ProgramCatalogue& catalogue = context_.catalogue;

    const LoadedSettings loaded = LoadSettings(folder.read(SettingsFileName));
    settings_ = loaded.settings;
    catalogue.setListOrder(settings_.listOrder);
    if (settings_.listOrder == ListOrder::Alphabetical)
        view_.showListOrder(ListOrder::Alphabetical);
    if (loaded.languageLineRead) {
        const LanguageSelection selection =
            SelectLanguage(settings_.languageName, folder, paths_, view_.flagPicture(), context_.texts);
        if (!applyLanguage(selection.stage)) {
            end();
            return false;
        }
    }

    const CatalogueHeaderResult& header = files.header;
    if (!header.outcome.ok()) {
        view_.ShowError(header.outcome.message);
        end();
        return false;
    }
    AssembleCatalogue(catalogue, header.header, std::move(files.steps));

    context_.control.Clear();
    showControl();

    ProtocolFileResult& protocols = files.protocols;
    if (!protocols.outcome.ok()) {
        view_.ShowError(protocols.outcome.message);
        end();
        return false;
    }
    protocolFile_ = std::move(protocols.file);

    const LoadOutcome texts = LoadCatalogueTexts(folder, paths_, catalogue, protocolTexts_);
    if (!texts.ok()) {
        view_.ShowError(texts.message);
        end();
        return false;
    }
    view_.showProtocolTexts(protocolTexts_);

    fillProgramList();
    currentPage_ = view_.activePage();
    return true;
}

void MainController::NumRBClick() {
    if (context_.catalogue.setListOrder(ListOrder::Numerical))
        fillProgramList();
}

void MainController::AlphaRBClick() {
    if (context_.catalogue.setListOrder(ListOrder::Alphabetical))
        fillProgramList();
}

void MainController::ProgPCChange(int page) {
    currentPage_ = page;
}

void MainController::ProtocolTWClick(int treePosition) {
    if (treePosition < 0)
        return;
    view_.showProtocolNode(browser_.selectTreeNode(treePosition, protocolFile_, protocolTexts_, context_.catalogue));
}

void MainController::loadList(const SessionProgramList* list) {
    if (list == nullptr)
        return;
    context_.control.LoadProgramList(std::span<const uint32_t>(list->begin(), list->end()));
    showControl();
}

void MainController::ProtocolTWDblClick() {
    loadList(browser_.itemListToLoad());
}

void MainController::SessionLBClick(int line) {
    if (line < 0)
        return;
    view_.showSessionPrograms(ProtocolBrowser::sessionLines(line, protocolFile_, context_.catalogue));
}

void MainController::SessionLBDblClick(int line) {
    loadList(ProtocolBrowser::sessionList(line, protocolFile_));
}

void MainController::ACButtonClick(int programLine, int sessionLine) {
    switch (static_cast<MainPage>(currentPage_)) {
    case MainPage::Protocols:
        loadList(browser_.itemListToLoad());
        break;
    case MainPage::Sessions:
        loadList(ProtocolBrowser::sessionList(sessionLine, protocolFile_));
        break;
    case MainPage::Programs:
        ProgLBDoubleClick(programLine);
        break;
    }
}

void MainController::ProgLBDoubleClick(int programLine) {
    if (programLine < 0)
        return;
    const ProgramCatalogue& catalogue = context_.catalogue;
    context_.control.AddSelectedProgram(catalogue.programIndexOfLine(catalogue.listOrder(), programLine));
    showControl();
}

void MainController::APButtonClick(std::string_view minutesText, std::string_view secondsText) {
    const AddPauseResult result = context_.control.AddPause(minutesText, secondsText);
    showControl();
    if (!result.error.empty())
        view_.showStandardError(result.error);
}

void MainController::AWButtonClick() {
    context_.control.AddWait();
    showControl();
}

void MainController::DelButtonClick() {
    context_.control.DeleteSelected();
    showControl();
}

void MainController::NewButtonClick() {
    context_.control.Clear();
    showControl();
}

void MainController::ControlLB1Click(int line) {
    context_.control.SelectLine(line);
    showControl();
}

bool MainController::ChangeLanguage(std::string_view name) {
    const std::string chosen = AcceptLanguageName(name.substr(0, name.find('\n')));
    const DataFolder& folder = context_.folder;

    // The folder the chosen name leads to; an unlisted name keeps the folder in force.
    LanguagePaths candidate = paths_;
    if (const std::optional<std::string> code = ListedFolderCode(folder, chosen))
        candidate.setFolderCode(*code);

    // Everything that would end the application or leave it half switched is loaded aside first.
    const std::string& flagPath = candidate.path(LanguageFile::Flag);
    if (!view_.flagCheck().loadFlag(folder.nativePath(flagPath), folder.read(flagPath))) {
        view_.showFlagError();
        return false;
    }
    ProgramCatalogue renamed = context_.catalogue;
    ProtocolTexts texts;
    const LoadOutcome outcome = LoadCatalogueTexts(folder, candidate, renamed, texts);
    if (!outcome.ok()) {
        view_.ShowError(outcome.message);
        return false;
    }

    paths_ = candidate;
    settings_.languageName = chosen;
    applyLanguage(ApplyLanguageTexts(folder, paths_, view_.flagPicture(), context_.texts));
    context_.catalogue = std::move(renamed);
    protocolTexts_ = std::move(texts);
    view_.showProtocolTexts(protocolTexts_);
    fillProgramList();
    context_.control.RefreshControlList();
    showControl();
    return true;
}

void MainController::PrepareDownload() {
    DeviceSession& session = context_.session;
    session.startItemIndex = 0;
    session.storedProgramFlag = false;
    MarkImageTitle(session.image, false);
}

ControlProgram::Snapshot MainController::PrepareSelfTest() {
    ControlProgram::Snapshot composed = context_.control.Save();
    context_.control.LoadSelfTest(context_.catalogue.programCount());
    showControl();
    DeviceSession& session = context_.session;
    session.startItemIndex = 0;
    session.storedProgramFlag = false;
    MarkImageTitle(session.image, true);
    return composed;
}

void MainController::EndSelfTest(const ControlProgram::Snapshot& composed) {
    context_.control.Restore(composed);
    showControl();
}

ProgramFileOpened MainController::OpenProgramFile(const std::string& path) {
    ProgramFileOpened opened = trv::OpenProgramFile(path, context_.catalogue, context_.control);
    if (!opened.problem)
        showControl();
    return opened;
}

std::optional<ProgramFileIssue> MainController::SaveProgramFile(const std::string& path, const std::string& title,
                                                                const std::string& note) const {
    ProgramDocument document = DocumentOfControlProgram(context_.control, context_.catalogue);
    document.title = title;
    document.note = note;
    return WriteProgramFile(path, document);
}

int MainController::ProgramListLine(int number) const {
    const ProgramCatalogue& catalogue = context_.catalogue;
    if (catalogue.longLabel(number) == nullptr)
        return -1;
    if (catalogue.listOrder() == ListOrder::Alphabetical) {
        const std::vector<int>& order = catalogue.nameOrder();
        return static_cast<int>(std::find(order.begin(), order.end(), number) - order.begin());
    }
    // The numerical list skips numbers without a name, as the list itself does.
    int line = 0;
    for (int before = 1; before < number; ++before)
        line += catalogue.longLabel(before) != nullptr ? 1 : 0;
    return line;
}

void MainController::AddProgramNumber(int number) {
    context_.control.AddSelectedProgram(number - 1);
    showControl();
}

bool MainController::CloseDown() {
    context_.link.CloseDevice();
    settings_.listOrder = context_.catalogue.listOrder();
    return SaveSettings(context_.folder, settings_);
}

} // namespace trv
