#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace pythagoras {

// A cue ready for the audio output: interleaved signed 16-bit samples.
struct DecodedCue {
    QByteArray pcm;
    int sampleRate = 0;
    int channels = 0;
};

// Longer cue files are cut here, so that no file can hold the window up for long.
constexpr int MaxCueSeconds = 30;

// Reads a sound file. Only a regular file is opened, and never in a way that could block (a named
// pipe with the cue's name is refused, not waited on). On failure returns nothing and says why.
std::optional<DecodedCue> DecodeCue(const QString& path, QString* why);

} // namespace pythagoras
