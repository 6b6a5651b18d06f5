// language.fld, caphint.txt and msg.txt through the language selection, and the code page
// conversion that shows their texts.
//
// Input: a flag byte (bit 0: the flag picture loads), then four parts separated by PartSeparator:
// the language name as the settings or the dialog hand it over, language.fld, caphint.txt and
// msg.txt. The files are written to a temporary data folder, into the language folder the
// selection will look in.
#include "FuzzSupport.h"

#include "data/Codepage.h"
#include "data/DataFolder.h"
#include "data/LanguagePaths.h"
#include "data/LanguageSelection.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace trv;

namespace {

const std::string OldText = "old text";

class FakeFlag : public FlagPicture {
public:
    bool loads = true;
    std::string path;
    bool loadFlag(const std::string& flagPath, const std::optional<std::string>&) override {
        path = flagPath;
        return loads;
    }
};

// A folder of our own for the run; the language folders in it are made and removed per input.
// Kept for the whole process (never destroyed) so the exit handler can still clear it.
const std::string& scratchFolder() {
    static const std::string* const folder = [] {
        const char* base = std::getenv("TMPDIR");
        auto* name =
            new std::string(std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/trv-fuzz-XXXXXX");
        if (::mkdtemp(name->data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            ::unlink((scratchFolder() + "/" + LanguageListFileName).c_str());
            ::rmdir(scratchFolder().c_str());
        });
        return name;
    }();
    return *folder;
}

void writeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_CHECK(fd >= 0);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        FUZZ_CHECK(n > 0 || (n < 0 && errno == EINTR));
        if (n > 0)
            done += static_cast<size_t>(n);
    }
    FUZZ_CHECK(::close(fd) == 0);
}

void removeFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0)
        FUZZ_CHECK(errno == ENOENT);
}

// A folder code names a sub-folder of the data folder: no separator may lead out of it.
bool staysInDataFolder(std::string_view code) {
    return code.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool plainFolderCode(std::string_view code) {
    if (code.size() != 3)
        return false;
    for (char c : code)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

template <int Size> void fillWithOldText(TextTable<Size>& table) {
    for (int k = 0; k < Size; ++k)
        table.set(k, OldText);
}

void checkText(const std::string& text) {
    FUZZ_CHECK(text.size() <= 116);
    FUZZ_CHECK(!fuzz::containsByte(text, '+'));
}

// Filled from entry 0 up to and including the first empty text; the rest keeps what it held.
template <int Size> void checkFilledTable(const TextTable<Size>& table) {
    bool stopped = false;
    for (int k = 0; k < Size; ++k) {
        if (stopped) {
            FUZZ_CHECK(table.text(k) == OldText);
            continue;
        }
        checkText(table.text(k));
        stopped = table.text(k).empty();
    }
}

// Every defined byte comes back from the round trip through UTF-8; an undefined one becomes '?'.
void checkCodepages(std::string_view text) {
    for (Codepage page : {Codepage::CentralEuropean, Codepage::Western}) {
        int unmapped = 0;
        const std::string back = EncodeFromUtf8(DecodeToUtf8(text, page), page, &unmapped);
        FUZZ_CHECK(back.size() == text.size());
        int undefined = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned char byte = static_cast<unsigned char>(text[i]);
            if (CodepointOf(byte, page) == 0xFFFD) {
                ++undefined;
                FUZZ_CHECK(back[i] == '?');
            } else {
                FUZZ_CHECK(back[i] == text[i]);
            }
        }
        FUZZ_CHECK(unmapped == undefined);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteSource in(data, size);
    FakeFlag flag;
    flag.loads = (in.byte() & 1) != 0;
    const std::vector<std::string_view> parts = fuzz::splitParts(in.rest(), 4);
    const std::string_view typedName = parts[0];
    const std::string_view languageList = parts[1];

    // The list as the dialog offers it.
    const std::vector<LanguageEntry> entries = ParseLanguageList(languageList);
    for (const LanguageEntry& entry : entries) {
        FUZZ_CHECK(!fuzz::containsByte(entry.name, ' ') && !fuzz::containsByte(entry.name, '\n'));
        FUZZ_CHECK(entry.folderCode.empty() || entry.folderCode.size() == 3);
    }
    FUZZ_CHECK(AcceptLanguageName(typedName).size() <= MaxLanguageNameLength);

    // Which folder the selection has to end up in.
    const std::string_view name = typedName.substr(0, typedName.find('\n'));
    std::string expectedCode = DefaultFolderCode;
    bool expectListed = false;
    for (const LanguageEntry& entry : entries) {
        if (entry.name == name) {
            expectListed = entry.folderCode.size() == 3 && staysInDataFolder(entry.folderCode);
            if (expectListed)
                expectedCode = entry.folderCode;
            break;
        }
    }

    const std::string& root = scratchFolder();
    const DataFolder folder(root);
    writeFile(folder.nativePath(LanguageListFileName), languageList);
    LanguagePaths paths;
    LanguagePaths expectedPaths;
    expectedPaths.setFolderCode(expectedCode);
    // Only plain codes get a folder; any other code has to find its files missing.
    const bool filesPresent = plainFolderCode(expectedCode);
    const std::string captionsPath = folder.nativePath(expectedPaths.path(LanguageFile::Captions));
    const std::string messagesPath = folder.nativePath(expectedPaths.path(LanguageFile::Messages));
    if (filesPresent) {
        ::mkdir(folder.nativePath(expectedCode).c_str(), 0755);
        writeFile(captionsPath, parts[2]);
        writeFile(messagesPath, parts[3]);
    }

    LanguageTexts texts;
    fillWithOldText(texts.messages);
    fillWithOldText(texts.captions);
    texts.mainTexts.fill(OldText);
    const LanguageSelection selection = SelectLanguage(typedName, folder, paths, flag, texts);

    FUZZ_CHECK(selection.listed == expectListed);
    FUZZ_CHECK(paths.folderCode() == expectedCode);
    for (LanguageFile file : {LanguageFile::Messages, LanguageFile::ProtocolTexts, LanguageFile::ProgramNames,
                              LanguageFile::Captions, LanguageFile::Flag})
        FUZZ_CHECK(paths.path(file) == expectedPaths.path(file));
    FUZZ_CHECK(flag.path == folder.nativePath(expectedPaths.path(LanguageFile::Flag)));

    const LanguageLoadStage expectedStage = !flag.loads     ? LanguageLoadStage::FlagFailed
                                            : !filesPresent ? LanguageLoadStage::CaptionsMissing
                                                            : LanguageLoadStage::Complete;
    FUZZ_CHECK(selection.stage == expectedStage);
    if (CaptionsLoaded(selection.stage)) {
        for (const std::string& text : texts.mainTexts)
            checkText(text);
        checkFilledTable(texts.captions);
        checkFilledTable(texts.messages);
        for (int k = 0; k < MessageCount; ++k)
            checkCodepages(texts.messages.text(k));
        for (const std::string& text : texts.mainTexts)
            checkCodepages(text);
    } else {
        // Nothing loaded: every text is still what it was.
        for (int k = 0; k < MessageCount; ++k)
            FUZZ_CHECK(texts.messages.text(k) == OldText);
        for (int k = 0; k < CaptionCount; ++k)
            FUZZ_CHECK(texts.captions.text(k) == OldText);
        for (const std::string& text : texts.mainTexts)
            FUZZ_CHECK(text == OldText);
    }

    if (filesPresent) {
        removeFile(captionsPath);
        removeFile(messagesPath);
        ::rmdir(folder.nativePath(expectedCode).c_str());
    }
    return 0;
}
