#include "cue_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pythagoras {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// libsndfile reads through these, so that it never owns the descriptor. Handed the descriptor
// itself (sf_open_fd), version 1.2.0 closes it when a file fails to parse even when told not to,
// and our own close then hits whatever another thread has just opened under that number.
sf_count_t FileLength(void* user)
{
    struct stat info { };
    return ::fstat(*static_cast<int*>(user), &info) == 0 ? info.st_size : -1;
}

sf_count_t Seek(sf_count_t offset, int whence, void* user)
{
    return ::lseek(*static_cast<int*>(user), offset, whence);
}

sf_count_t Read(void* buffer, sf_count_t count, void* user)
{
    const int fd = *static_cast<int*>(user);
    sf_count_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += got;
    }
    return done;
}

sf_count_t Write(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t Tell(void* user)
{
    return ::lseek(*static_cast<int*>(user), 0, SEEK_CUR);
}

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

std::int16_t ToSample(float value)
{
    const float clipped = std::clamp(value, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lrint(clipped * 32767.0f));
}

} // namespace

std::optional<DecodedCue> DecodeCue(const QString& path, QString* why)
{
    const QByteArray native = path.toLocal8Bit();
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    FileDescriptor fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    struct stat info { };
    if (::fstat(fd.get(), &info) != 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = QStringLiteral("not a regular file");
        return std::nullopt;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    }

    SF_INFO format{};
    SF_VIRTUAL_IO io{FileLength, Seek, Read, Write, Tell};
    int descriptor = fd.get();
    std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open_virtual(&io, SFM_READ, &format, &descriptor));
    if (!file) {
        *why = QString::fromLocal8Bit(sf_strerror(nullptr));
        return std::nullopt;
    }
    if (format.channels < 1 || format.channels > 64 || format.samplerate < 1000
        || format.samplerate > 768000) {
        *why = QStringLiteral("unsupported channel count or sample rate");
        return std::nullopt;
    }

    // More than two channels keep their first two; the header's frame count is not trusted.
    const int outChannels = std::min(format.channels, 2);
    const sf_count_t maxFrames = static_cast<sf_count_t>(format.samplerate) * MaxCueSeconds;
    constexpr sf_count_t ChunkFrames = 4096;
    std::vector<float> chunk(static_cast<std::size_t>(ChunkFrames * format.channels));
    std::vector<std::int16_t> samples;
    sf_count_t total = 0;
    while (total < maxFrames) {
        const sf_count_t want = std::min(ChunkFrames, maxFrames - total);
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), want);
        if (got <= 0) {
            break;
        }
        for (sf_count_t f = 0; f < got; ++f) {
            for (int ch = 0; ch < outChannels; ++ch) {
                samples.push_back(ToSample(chunk[static_cast<std::size_t>(f * format.channels + ch)]));
            }
        }
        total += got;
    }
    if (samples.empty()) {
        *why = QStringLiteral("no sound in it");
        return std::nullopt;
    }

    DecodedCue cue;
    cue.sampleRate = format.samplerate;
    cue.channels = outChannels;
    cue.pcm = QByteArray(reinterpret_cast<const char*>(samples.data()),
        static_cast<qsizetype>(samples.size() * sizeof(std::int16_t)));
    return cue;
}

} // namespace pythagoras
