#pragma once

class QString;

namespace trv {

// The player of the error sound. It lives in a module of its own, loaded when the first error
// sounds: the sound library and its audio stack take longer to load than the main window takes to
// appear, and most runs never need them.
class ErrorSound {
public:
    virtual ~ErrorSound() = default;
    // The file turned out unplayable (loading goes on after creation).
    virtual bool failed() const = 0;
    // Plays the sound asynchronously.
    virtual void play() = 0;
};

// What the module exports under the name ErrorSoundFactory: a player of the given file.
using CreateErrorSound = ErrorSound* (*)(const QString& soundPath);
inline constexpr const char* ErrorSoundFactory = "trvCreateErrorSound";

} // namespace trv
