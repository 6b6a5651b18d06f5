#include "tools/trvgen/SampleFiles.h"

#include "tools/trvgen/ByteWriter.h"
#include "tools/trvgen/Sound.h"

#include <algorithm>
#include <numeric>

namespace trv::gen {

namespace {

void writeStep(ByteWriter& out, const ProgramStep& step) {
    out.u16(step.stepWord);
    for (uint8_t b : step.deviceBytes)
        out.u8(b);
    out.u8(step.padding);
    out.u32(step.frequency);
    out.u32(step.frequencySpan);
}

void writeProgramList(ByteWriter& out, const std::vector<uint32_t>& numbers) {
    // Sixteen slots: up to fifteen numbers, then zeros.
    for (size_t slot = 0; slot < 16; ++slot)
        out.u32(slot < numbers.size() ? numbers[slot] : 0);
}

void addLine(std::string& file, std::string_view line) {
    file += line;
    file += LineEnd;
}

} // namespace

std::string catalogueFile(const SampleSource& source) {
    ByteWriter out;
    out.text("TVB");
    out.u8(0);
    out.u16(source.catalogueVersion);
    out.u16(static_cast<uint16_t>(source.programs.size()));
    out.zeros(8);
    uint32_t firstStep = 0;
    for (const ProgramSource& program : source.programs) {
        out.u32(firstStep * StepRecordSize);
        out.u32(program.runningSeconds);
        firstStep += static_cast<uint32_t>(program.steps.size());
    }
    for (const ProgramSource& program : source.programs) {
        for (size_t step : program.steps)
            writeStep(out, source.steps[step]);
    }
    ProgramStep end;
    end.stepWord = 0xFFFF;
    writeStep(out, end);
    return out.take();
}

int NamesChecksum(const std::vector<std::string>& programLines) {
    long long sum = 0;
    for (const std::string& line : programLines) {
        for (char c : line)
            sum += static_cast<signed char>(c);
    }
    return static_cast<int>(sum % 65536);
}

std::string namesFile(const SampleSource& source, size_t language) {
    const Language& lang = source.languages[language];
    std::vector<const ProgramSource*> order;
    for (const ProgramSource& program : source.programs)
        order.push_back(&program);
    std::stable_sort(order.begin(), order.end(), [&](const ProgramSource* a, const ProgramSource* b) {
        return compareNames(a->names[language], b->names[language], lang.alphabet) < 0;
    });

    std::vector<std::string> lines;
    for (const ProgramSource* program : order)
        lines.push_back(std::to_string(program->number) + " " +
                        encodeFor(lang, program->names[language], "program " + std::to_string(program->number)));

    std::string file;
    addLine(file, "#" + std::to_string(source.catalogueVersion));
    for (const std::string& line : lines)
        addLine(file, line);
    addLine(file, "#" + std::to_string(NamesChecksum(lines)) + " " + std::to_string(lines.size()));
    return file;
}

std::string protocolFile(const SampleSource& source) {
    ByteWriter out;
    out.text("TVX");
    out.u8(1);
    out.u16(static_cast<uint16_t>(source.sessions.size()));
    out.u16(static_cast<uint16_t>(source.protocols.size()));
    out.zeros(56);
    for (const SessionSource& session : source.sessions)
        writeProgramList(out, session.programs);
    for (const ProtocolSource& protocol : source.protocols) {
        for (size_t item = 0; item < MaxProtocolItems; ++item)
            writeProgramList(out,
                             item < protocol.items.size() ? protocol.items[item].programs : std::vector<uint32_t>{});
        for (size_t item = 0; item < MaxProtocolItems; ++item) {
            if (item < protocol.items.size()) {
                const ProtocolItemSource& it = protocol.items[item];
                out.u32(0);
                out.u32(it.inputA);
                out.u32(it.inputB);
                out.u32(it.outputC);
            } else {
                out.zeros(16);
            }
        }
    }
    return out.take();
}

std::string protocolTextsFile(const SampleSource& source, size_t language) {
    const Language& lang = source.languages[language];
    std::string file;
    addLine(file, "#E");
    for (const auto& names : source.electrodes)
        addLine(file, encodeFor(lang, names[language], "electrode"));
    addLine(file, "#P");
    for (const ProtocolSource& protocol : source.protocols) {
        addLine(file, encodeFor(lang, protocol.names[language], "protocol"));
        for (const ProtocolItemSource& item : protocol.items)
            addLine(file, "  " + encodeFor(lang, item.names[language], "protocol item"));
    }
    addLine(file, "#S");
    for (const SessionSource& session : source.sessions)
        addLine(file, encodeFor(lang, session.names[language], "session"));
    return file;
}

std::string messageFile(const SampleSource& source, size_t language) {
    std::string file;
    for (const std::string& text : source.texts[language].messages)
        addLine(file, encodeFor(source.languages[language], text, "message"));
    return file;
}

std::string captionFile(const SampleSource& source, size_t language) {
    const LanguageTexts& texts = source.texts[language];
    std::string file;
    for (const std::string& text : texts.mainWindow)
        addLine(file, encodeFor(source.languages[language], text, "caption"));
    for (const std::string& text : texts.captions)
        addLine(file, encodeFor(source.languages[language], text, "caption"));
    if (texts.captions.size() < MaxCaptions)
        addLine(file, "");
    return file;
}

std::string languageList(const SampleSource& source) {
    std::string file;
    for (const Language& language : source.languages)
        addLine(file, encodeFor(language, language.name, "language") + " " + language.folder);
    return file;
}

FileSet sampleFolder(const SampleSource& source) {
    FileSet files;
    files["trvimpr.tvb"] = catalogueFile(source);
    files["vorlix.spb"] = protocolFile(source);
    files["language.fld"] = languageList(source);
    // Settings as the application writes them, so the first start already shows the first
    // language's texts and flag instead of the bare design texts.
    files["trv.cff"] =
        "0\r\nNum\r\n" + encodeFor(source.languages.front(), source.languages.front().name, "language") + "\r\n";
    const SoundDesign sound = errorSoundDesign();
    files["bom.wav"] = wavFile(synthesise(sound), sound.sampleRate);
    for (size_t k = 0; k < source.languages.size(); ++k) {
        const std::string folder = source.languages[k].folder + "/";
        files[folder + "trvimpr.tvn"] = namesFile(source, k);
        files[folder + "vorlix.spn"] = protocolTextsFile(source, k);
        files[folder + "msg.txt"] = messageFile(source, k);
        files[folder + "caphint.txt"] = captionFile(source, k);
        files[folder + "flag.bmp"] = bmpFile(drawFlag(source.languages[k].flag, FlagWidth, FlagHeight));
    }
    return files;
}

} // namespace trv::gen
