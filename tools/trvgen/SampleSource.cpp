#include "tools/trvgen/SampleSource.h"

#include "data/MessageNumbers.h"
#include "tools/trvgen/GeneratorError.h"
#include "tools/trvgen/SourceTable.h"

#include <unordered_map>

namespace trv::gen {

std::string encodeFor(const Language& language, const std::string& utf8, const std::string& where) {
    int unmapped = 0;
    std::string bytes = EncodeFromUtf8(utf8, language.codepage, &unmapped);
    if (unmapped != 0)
        throw GeneratorError(where + ": \"" + utf8 + "\" has characters the code page of " + language.folder +
                             " lacks");
    return bytes;
}

namespace {

const std::string& fileText(const FileSet& files, const std::string& path) {
    const auto found = files.find(path);
    if (found == files.end())
        throw GeneratorError(path + ": missing from the source folder");
    return found->second;
}

SourceTable table(const FileSet& files, const std::string& path) {
    return parseTable(path, fileText(files, path));
}

std::string where(const SourceTable& t, const TableRow& row) {
    return t.file + ":" + std::to_string(row.line);
}

long long integerCell(const SourceTable& t, const TableRow& row, const std::string& column, long long min,
                      long long max) {
    const long long value = parseInteger(t.cell(row, column), t.file, row.line);
    if (value < min || value > max)
        throw sourceError(t.file, row.line,
                          column + " " + std::to_string(value) + " is outside " + std::to_string(min) + " to " +
                              std::to_string(max));
    return value;
}

uint8_t hexByte(const std::string& text, const SourceTable& t, const TableRow& row) {
    if (text.size() != 2 || text.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        throw sourceError(t.file, row.line, "\"" + text + "\" is not a hex byte");
    return static_cast<uint8_t>(std::stoul(text, nullptr, 16));
}

// Checks a text for a line of an 8-bit file: representable, not too long, and nothing the
// reader would take for something else.
std::string lineText(const Language& language, const std::string& text, size_t maxBytes, const std::string& at) {
    const std::string bytes = encodeFor(language, text, at);
    if (bytes.empty())
        throw GeneratorError(at + ": empty text");
    if (bytes.size() > maxBytes)
        throw GeneratorError(at + ": \"" + text + "\" is longer than " + std::to_string(maxBytes) + " characters");
    return bytes;
}

void checkSpnLine(const Language& language, const std::string& text, size_t maxBytes, const std::string& at) {
    const std::string bytes = lineText(language, text, maxBytes, at);
    if (bytes[0] == '#' || bytes[0] == ' ')
        throw GeneratorError(at + ": \"" + text + "\" must not begin with \"#\" or a space");
}

std::vector<Language> readLanguages(const FileSet& files) {
    const SourceTable t = table(files, "languages.csv");
    std::vector<Language> languages;
    for (const TableRow& row : t.rows) {
        Language language;
        language.name = t.cell(row, "name");
        language.folder = t.cell(row, "folder");
        if (language.folder.size() != 3 || language.folder.find_first_of(" /\\") != std::string::npos)
            throw sourceError(t.file, row.line, "a folder code is three characters");
        if (language.name.find(' ') != std::string::npos ||
            language.name.size() + 1 + language.folder.size() > MaxLanguageLine)
            throw sourceError(t.file, row.line, "a language name has no spaces and fits language.fld's line");
        const std::string& page = t.cell(row, "codepage");
        if (page == "1250")
            language.codepage = Codepage::CentralEuropean;
        else if (page == "1252")
            language.codepage = Codepage::Western;
        else
            throw sourceError(t.file, row.line, "code page 1250 or 1252");
        const std::string& alphabet = t.cell(row, "alphabet");
        if (alphabet == "English")
            language.alphabet = Alphabet::English;
        else if (alphabet == "Hungarian")
            language.alphabet = Alphabet::Hungarian;
        else
            throw sourceError(t.file, row.line, "alphabet English or Hungarian");
        try {
            language.flag = parseFlagDesign(t.cell(row, "flag"));
        } catch (const std::invalid_argument& e) {
            throw sourceError(t.file, row.line, e.what());
        }
        encodeFor(language, language.name, where(t, row));
        languages.push_back(std::move(language));
    }
    if (languages.empty())
        throw GeneratorError("languages.csv: no language");
    return languages;
}

void readSteps(const FileSet& files, SampleSource& source) {
    const SourceTable t = table(files, "steps.csv");
    for (const TableRow& row : t.rows) {
        ProgramStep step;
        // 0xFFFF would end the step area.
        step.stepWord = static_cast<uint16_t>(integerCell(t, row, "seconds", 1, 0xFFFE));
        const std::vector<std::string> bytes = splitWords(t.cell(row, "device bytes"));
        if (bytes.size() != step.deviceBytes.size())
            throw sourceError(t.file, row.line, "nine device bytes");
        for (size_t i = 0; i < bytes.size(); ++i)
            step.deviceBytes[i] = hexByte(bytes[i], t, row);
        // The image build ORs the frequency codes into these bits; set bits would spoil the codes.
        if ((step.deviceBytes[3] & 0x0F) || step.deviceBytes[4] || step.deviceBytes[5] || (step.deviceBytes[6] & 0xC0))
            throw sourceError(t.file, row.line, "the code bits of device bytes 3 to 6 must be 0");
        step.padding = hexByte(t.cell(row, "padding"), t, row);
        step.frequency = static_cast<uint32_t>(integerCell(t, row, "frequency", 1, 1'000'000));
        step.frequencySpan = static_cast<uint32_t>(integerCell(t, row, "span", 0, 1'000'000));
        source.steps.push_back(step);
        source.stepIds.push_back(t.cell(row, "id"));
    }
}

std::vector<uint32_t> programList(const SourceTable& t, const TableRow& row, size_t programCount) {
    std::vector<uint32_t> numbers;
    for (const std::string& word : splitWords(t.cell(row, "programs"))) {
        const long long n = parseInteger(word, t.file, row.line);
        if (n < 1 || n > static_cast<long long>(programCount))
            throw sourceError(t.file, row.line, "no program " + word);
        numbers.push_back(static_cast<uint32_t>(n));
    }
    if (numbers.empty() || numbers.size() > MaxProgramsPerList)
        throw sourceError(t.file, row.line, "a program list holds 1 to 15 programs");
    return numbers;
}

std::vector<std::string> namesOf(const SourceTable& t, const TableRow& row, const std::vector<Language>& languages) {
    std::vector<std::string> names;
    for (const Language& language : languages)
        names.push_back(t.cell(row, language.folder));
    return names;
}

void readPrograms(const FileSet& files, SampleSource& source) {
    const SourceTable t = table(files, "programs.csv");
    source.catalogueVersion = static_cast<uint16_t>(parseInteger(t.directive("version"), t.file, 1) & 0xFFFF);
    std::unordered_map<std::string, size_t> stepById;
    for (size_t i = 0; i < source.stepIds.size(); ++i) {
        if (!stepById.emplace(source.stepIds[i], i).second)
            throw GeneratorError("steps.csv: step " + source.stepIds[i] + " defined twice");
    }
    for (const TableRow& row : t.rows) {
        ProgramSource program;
        program.number = static_cast<int>(integerCell(t, row, "number", 1, MaxPrograms));
        if (program.number != static_cast<int>(source.programs.size()) + 1)
            throw sourceError(t.file, row.line, "programs are numbered 1, 2, 3 ... in order");
        program.names = namesOf(t, row, source.languages);
        for (size_t k = 0; k < source.languages.size(); ++k) {
            const std::string line = std::to_string(program.number) + " " + program.names[k];
            checkSpnLine(source.languages[k], program.names[k], MaxNamesLine, where(t, row));
            lineText(source.languages[k], line, MaxNamesLine, where(t, row));
        }
        // "ID" runs one step, "ID*n" runs it n times in a row, "FIRST..LAST" the steps from FIRST
        // to LAST in the order of steps.csv.
        auto stepAt = [&](const std::string& id) {
            const auto found = stepById.find(id);
            if (found == stepById.end())
                throw sourceError(t.file, row.line, "no step " + id);
            return found->second;
        };
        auto run = [&](size_t step) {
            if (program.steps.size() == MaxStepsPerProgram)
                throw sourceError(t.file, row.line, "a program has at most 128 steps");
            program.steps.push_back(step);
            program.runningSeconds += source.steps[step].stepWord;
        };
        for (const std::string& word : splitWords(t.cell(row, "steps"))) {
            const size_t range = word.find("..");
            const size_t star = word.find('*');
            if (range != std::string::npos) {
                const size_t first = stepAt(word.substr(0, range));
                const size_t last = stepAt(word.substr(range + 2));
                if (last < first)
                    throw sourceError(t.file, row.line, "the range " + word + " runs backwards");
                for (size_t step = first; step <= last; ++step)
                    run(step);
            } else {
                const size_t step = stepAt(word.substr(0, star));
                const long long repeat =
                    star == std::string::npos ? 1 : parseInteger(word.substr(star + 1), t.file, row.line);
                if (repeat < 1)
                    throw sourceError(t.file, row.line, "bad repeat in " + word);
                for (long long i = 0; i < repeat; ++i)
                    run(step);
            }
        }
        if (program.steps.empty())
            throw sourceError(t.file, row.line, "a program without steps");
        source.programs.push_back(std::move(program));
    }
    if (source.programs.empty())
        throw GeneratorError("programs.csv: no program");
}

void readElectrodes(const FileSet& files, SampleSource& source) {
    const SourceTable t = table(files, "electrodes.csv");
    for (const TableRow& row : t.rows) {
        const long long number = integerCell(t, row, "number", 1, MaxElectrodes);
        if (number != static_cast<long long>(source.electrodes.size()) + 1)
            throw sourceError(t.file, row.line, "electrodes are numbered 1, 2, 3 ... in order");
        std::vector<std::string> names = namesOf(t, row, source.languages);
        for (size_t k = 0; k < names.size(); ++k)
            checkSpnLine(source.languages[k], names[k], MaxElectrodeName, where(t, row));
        source.electrodes.push_back(std::move(names));
    }
}

void readProtocols(const FileSet& files, SampleSource& source) {
    const SourceTable t = table(files, "protocols.csv");
    const auto electrodeCount = static_cast<long long>(source.electrodes.size());
    for (const TableRow& row : t.rows) {
        const std::string& kind = t.cell(row, "kind");
        std::vector<std::string> names = namesOf(t, row, source.languages);
        if (kind == "P") {
            for (size_t k = 0; k < names.size(); ++k)
                checkSpnLine(source.languages[k], names[k], MaxNamesLine, where(t, row));
            source.protocols.push_back({std::move(names), {}});
        } else if (kind == "I") {
            if (source.protocols.empty())
                throw sourceError(t.file, row.line, "an item before the first protocol");
            ProtocolSource& protocol = source.protocols.back();
            if (protocol.items.size() == MaxProtocolItems)
                throw sourceError(t.file, row.line, "a protocol holds at most 10 items");
            for (size_t k = 0; k < names.size(); ++k)
                checkSpnLine(source.languages[k], names[k], MaxNamesLine - 2, where(t, row));
            ProtocolItemSource item;
            item.names = std::move(names);
            item.programs = programList(t, row, source.programs.size());
            item.inputA = static_cast<uint32_t>(integerCell(t, row, "A", 1, electrodeCount));
            item.inputB = static_cast<uint32_t>(integerCell(t, row, "B", 1, electrodeCount));
            item.outputC = static_cast<uint32_t>(integerCell(t, row, "C", 1, electrodeCount));
            protocol.items.push_back(std::move(item));
        } else {
            throw sourceError(t.file, row.line, "kind P (protocol) or I (item)");
        }
    }
    for (const ProtocolSource& protocol : source.protocols) {
        if (protocol.items.empty())
            throw GeneratorError("protocols.csv: protocol \"" + protocol.names[0] + "\" has no items");
    }
}

void readSessions(const FileSet& files, SampleSource& source) {
    const SourceTable t = table(files, "sessions.csv");
    for (const TableRow& row : t.rows) {
        SessionSource session;
        session.names = namesOf(t, row, source.languages);
        for (size_t k = 0; k < session.names.size(); ++k)
            checkSpnLine(source.languages[k], session.names[k], MaxNamesLine, where(t, row));
        session.programs = programList(t, row, source.programs.size());
        source.sessions.push_back(std::move(session));
    }
}

// "key: text" lines; a text in double quotes keeps its leading and trailing spaces.
std::vector<std::pair<std::string, std::pair<int, std::string>>> keyedLines(const FileSet& files,
                                                                            const std::string& path) {
    std::vector<std::pair<std::string, std::pair<int, std::string>>> entries;
    for (auto& [number, line] : splitLines(fileText(files, path))) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t colon = line.find(": ");
        if (colon == std::string::npos)
            throw sourceError(path, number, "a text line is \"key: text\"");
        std::string text = line.substr(colon + 2);
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.substr(1, text.size() - 2);
        entries.push_back({line.substr(0, colon), {number, text}});
    }
    return entries;
}

LanguageTexts readTexts(const FileSet& files, const Language& language) {
    LanguageTexts texts;
    const std::string messagesPath = language.folder + "/messages.txt";
    for (auto& [key, entry] : keyedLines(files, messagesPath)) {
        const std::string expected = std::to_string(texts.messages.size());
        if (key != expected)
            throw sourceError(messagesPath, entry.first, "expected message " + expected);
        lineText(language, entry.second, MaxTextLine, messagesPath + ":" + std::to_string(entry.first));
        texts.messages.push_back(entry.second);
    }
    // An empty text ends the table fill, so every message the application uses must be there.
    if (texts.messages.size() <= static_cast<size_t>(msg::DevicePermission) || texts.messages.size() > MaxMessages)
        throw GeneratorError(messagesPath + ": messages 0 to " + std::to_string(msg::DevicePermission) +
                             " are needed, at most " + std::to_string(MaxMessages));

    const std::string captionsPath = language.folder + "/captions.txt";
    for (auto& [key, entry] : keyedLines(files, captionsPath)) {
        const bool mainDone = texts.mainWindow.size() == MainWindowTexts;
        const std::string expected =
            mainDone ? "C" + std::to_string(texts.captions.size()) : "L" + std::to_string(texts.mainWindow.size() + 1);
        if (key != expected)
            throw sourceError(captionsPath, entry.first, "expected " + expected);
        lineText(language, entry.second, MaxTextLine, captionsPath + ":" + std::to_string(entry.first));
        (mainDone ? texts.captions : texts.mainWindow).push_back(entry.second);
    }
    constexpr size_t CaptionsUsed = 45;
    if (texts.mainWindow.size() != MainWindowTexts || texts.captions.size() < CaptionsUsed ||
        texts.captions.size() > MaxCaptions)
        throw GeneratorError(captionsPath + ": L1 to L36 and C0 to C44 are needed, at most C69");
    return texts;
}

} // namespace

SampleSource readSampleSource(const FileSet& files) {
    SampleSource source;
    source.languages = readLanguages(files);
    readSteps(files, source);
    readPrograms(files, source);
    readElectrodes(files, source);
    readProtocols(files, source);
    readSessions(files, source);
    for (const Language& language : source.languages)
        source.texts.push_back(readTexts(files, language));
    return source;
}

} // namespace trv::gen
