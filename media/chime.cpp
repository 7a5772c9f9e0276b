#include "chime.h"

#include <sndfile.h>

#include <QDir>

#include <algorithm>
#include <cmath>

namespace pythagoras {

std::vector<float> SynthesizeChime(const std::vector<ChimeNote>& notes, double lengthSeconds)
{
    constexpr double Pi = 3.14159265358979323846;
    const auto length = static_cast<std::size_t>(lengthSeconds * ChimeSampleRate);
    std::vector<float> samples(length, 0.0f);
    for (const ChimeNote& note : notes) {
        const auto first = static_cast<std::size_t>(note.startSeconds * ChimeSampleRate);
        for (std::size_t i = first; i < length; ++i) {
            const double t = static_cast<double>(i - first) / ChimeSampleRate;
            const double attack = std::min(1.0, t / 0.004); // no click at the strike
            const double envelope = attack * std::exp(-t / note.decaySeconds);
            const double tone = std::sin(2 * Pi * note.frequency * t)
                + 0.25 * std::sin(2 * Pi * 2.0 * note.frequency * t)
                + 0.08 * std::sin(2 * Pi * 3.0 * note.frequency * t);
            samples[i] += static_cast<float>(0.32 * envelope * tone);
        }
    }
    // Fade the last 20 ms so the cue ends without a click.
    const std::size_t fade = ChimeSampleRate / 50;
    for (std::size_t i = 0; i < fade && i < length; ++i) {
        samples[length - 1 - i] *= static_cast<float>(i) / fade;
    }
    return samples;
}

std::vector<float> ResetChime()
{
    return SynthesizeChime({{0.00, 1318.51, 0.16}, {0.28, 1046.50, 0.22}}, 0.90);
}

std::vector<float> ExitChime()
{
    return SynthesizeChime({{0.00, 1046.50, 0.12}, {0.20, 783.99, 0.14}, {0.40, 523.25, 0.20}}, 0.95);
}

bool WriteWav(const QString& path, const std::vector<float>& samples, int sampleRate, QString* why)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (file == nullptr) {
        *why = QString::fromLocal8Bit(sf_strerror(nullptr));
        return false;
    }
    const auto count = static_cast<sf_count_t>(samples.size());
    const sf_count_t written = sf_writef_float(file, samples.data(), count);
    sf_close(file);
    if (written != count) {
        *why = QStringLiteral("short write");
        return false;
    }
    return true;
}

bool WriteCueFiles(const QString& folder, QString* why)
{
    const QDir dir(folder);
    return WriteWav(dir.filePath(QStringLiteral("pinpon.wav")), ResetChime(), ChimeSampleRate, why)
        && WriteWav(dir.filePath(QStringLiteral("endpinpon.wav")), ExitChime(), ChimeSampleRate, why);
}

} // namespace pythagoras
