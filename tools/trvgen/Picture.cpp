#include "tools/trvgen/Picture.h"

#include "tools/trvgen/ByteWriter.h"
#include "tools/trvgen/SourceTable.h"

#include <stdexcept>

namespace trv::gen {

Picture::Picture(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a picture needs a positive size");
}

void Picture::fillRect(int left, int top, int width, int height, Rgb colour) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x)
            set(x, y, colour);
    }
}

std::string bmpFile(const Picture& picture) {
    constexpr uint32_t HeadersSize = 14 + 40;
    constexpr uint32_t PixelsPerMetre = 2835; // 72 dpi
    const uint32_t rowSize = (static_cast<uint32_t>(picture.width()) * 3 + 3) & ~3u;
    const uint32_t imageSize = rowSize * static_cast<uint32_t>(picture.height());

    ByteWriter out;
    out.text("BM");
    out.u32(HeadersSize + imageSize);
    out.u32(0); // reserved
    out.u32(HeadersSize);
    out.u32(40);
    out.u32(static_cast<uint32_t>(picture.width()));
    out.u32(static_cast<uint32_t>(picture.height())); // positive: bottom-up
    out.u16(1);                                       // planes
    out.u16(24);                                      // bits per pixel
    out.u32(0);                                       // no compression
    out.u32(imageSize);
    out.u32(PixelsPerMetre);
    out.u32(PixelsPerMetre);
    out.u32(0); // no palette
    out.u32(0);
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.at(x, y);
            out.u8(c.b);
            out.u8(c.g);
            out.u8(c.r);
        }
        out.zeros(rowSize - static_cast<uint32_t>(picture.width()) * 3);
    }
    return out.take();
}

namespace {

Rgb parseColour(const std::string& hex) {
    if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw std::invalid_argument("\"" + hex + "\" is not an RRGGBB colour");
    const auto value = std::stoul(hex, nullptr, 16);
    return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

} // namespace

FlagDesign parseFlagDesign(const std::string& text) {
    const std::vector<std::string> words = splitWords(text);
    FlagDesign design;
    if (words.size() == 3 && words[0] == "cross")
        design.kind = FlagDesign::Kind::Cross;
    else if (words.size() >= 3 && words[0] == "bands")
        design.kind = FlagDesign::Kind::Bands;
    else
        throw std::invalid_argument("a flag is \"cross <field> <cross>\" or \"bands <colour> <colour> ...\"");
    for (size_t i = 1; i < words.size(); ++i)
        design.colours.push_back(parseColour(words[i]));
    return design;
}

Picture drawFlag(const FlagDesign& design, int width, int height) {
    Picture picture(width, height, design.colours.front());
    if (design.kind == FlagDesign::Kind::Cross) {
        // Arms a fifth of the height thick, widened by one pixel where that keeps them centred.
        const int thickness = height / 5;
        const int barWidth = thickness + (width - thickness) % 2;
        const int barHeight = thickness + (height - thickness) % 2;
        picture.fillRect((width - barWidth) / 2, 0, barWidth, height, design.colours[1]);
        picture.fillRect(0, (height - barHeight) / 2, width, barHeight, design.colours[1]);
    } else {
        // Band edges rounded to the nearest row, so 25 rows in three bands are 8, 9 and 8.
        const int bands = static_cast<int>(design.colours.size());
        for (int k = 0; k < bands; ++k) {
            const int top = (2 * k * height + bands) / (2 * bands);
            const int bottom = (2 * (k + 1) * height + bands) / (2 * bands);
            picture.fillRect(0, top, width, bottom - top, design.colours[static_cast<size_t>(k)]);
        }
    }
    return picture;
}

} // namespace trv::gen
