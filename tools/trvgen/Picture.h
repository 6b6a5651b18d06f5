#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trv::gen {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A small true-colour picture, row 0 at the top.
class Picture {
public:
    Picture(int width, int height, Rgb fill);
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, Rgb colour) { pixels_[index(x, y)] = colour; }
    void fillRect(int left, int top, int width, int height, Rgb colour);

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + x; }
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// An uncompressed 24-bit Windows bitmap: file header, 40-byte info header, bottom-up rows padded
// to four bytes.
std::string bmpFile(const Picture& picture);

// The size of a language's flag picture in the main window.
inline constexpr int FlagWidth = 38;
inline constexpr int FlagHeight = 25;

// "cross <field> <cross>": a centred cross on a plain field; "bands <top> ... <bottom>": equal
// horizontal bands. Colours are six hex digits, RRGGBB.
struct FlagDesign {
    enum class Kind { Cross, Bands } kind = Kind::Bands;
    std::vector<Rgb> colours;
};

// Throws std::invalid_argument on a malformed design.
FlagDesign parseFlagDesign(const std::string& text);
Picture drawFlag(const FlagDesign& design, int width, int height);

} // namespace trv::gen
