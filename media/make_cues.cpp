// Writes the reset and exit cues into the folder named on the command line.
#include "chime.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-cues FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const struct {
        const char* name;
        std::vector<float> samples;
    } cues[] = {{"pinpon.wav", pythagoras::ResetChime()}, {"endpinpon.wav", pythagoras::ExitChime()}};
    for (const auto& cue : cues) {
        QString why;
        const QString path = folder.filePath(QString::fromLatin1(cue.name));
        if (!pythagoras::WriteWav(path, cue.samples, pythagoras::ChimeSampleRate, &why)) {
            std::fprintf(stderr, "make-cues: %s: %s\n", qUtf8Printable(path), qUtf8Printable(why));
            return 1;
        }
    }
    return 0;
}
