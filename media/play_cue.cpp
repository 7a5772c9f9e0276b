#include "cue_control.h"

namespace pythagoras {

void PlayCue(CueControl& player, const QString& fileName)
{
    player.setCommand(QStringLiteral("Stop"));
    player.setCommand(QStringLiteral("Close"));
    player.setFileName(fileName);
    player.setCommand(QStringLiteral("Open"));
    player.setCommand(QStringLiteral("Sound"));
}

} // namespace pythagoras
