// Writes the reset and exit cues into the folder named on the command line.
#include "chime.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-cues FOLDER\n");
        return 2;
    }
    QString why;
    if (!pythagoras::WriteCueFiles(QString::fromLocal8Bit(argv[1]), &why)) {
        std::fprintf(stderr, "make-cues: %s: %s\n", argv[1], qUtf8Printable(why));
        return 1;
    }
    return 0;
}
