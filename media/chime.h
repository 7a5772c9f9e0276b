#pragma once

#include <QString>
#include <vector>

namespace pythagoras {

struct ChimeNote {
    double startSeconds;
    double frequency;
    double decaySeconds; // time for the note to fall to about a third of its strength
};

constexpr int ChimeSampleRate = 44100;

// Mono samples in [-1, 1] of bell-like notes struck at their start times.
std::vector<float> SynthesizeChime(const std::vector<ChimeNote>& notes, double lengthSeconds);

// Writes mono 16-bit PCM WAV. Returns false with a reason when the file cannot be written.
bool WriteWav(const QString& path, const std::vector<float>& samples, int sampleRate, QString* why);

// The reset cue, a rising-then-falling two-tone "pin-pon", and the exit cue, a falling three-tone
// close. Both are shorter than a second.
std::vector<float> ResetChime();
std::vector<float> ExitChime();

// Writes both cues, "pinpon.wav" and "endpinpon.wav", into `folder`.
bool WriteCueFiles(const QString& folder, QString* why);

} // namespace pythagoras
