#pragma once

#include <QString>
#include <stdexcept>

namespace pythagoras {

// What the program asks of a cue player: command words, carried out in the order written, and
// the name of the file that the next "Open" opens.
class CueControl {
public:
    virtual ~CueControl() = default;
    virtual void setCommand(const QString& word) = 0;
    virtual void setFileName(const QString& name) = 0;
};

class PlayerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Stops and closes whatever cue is open, then opens `fileName` and sounds it once.
void PlayCue(CueControl& player, const QString& fileName);

} // namespace pythagoras
