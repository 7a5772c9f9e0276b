#pragma once

#include "cue_control.h"
#include "cue_decoder.h"

#include <QWidget>
#include <memory>

class QThread;

namespace pythagoras {

class CueMailbox;
class CueOutput;

enum class PlayerState { NothingOpen, Open, Sounding };

// The window's sound player. It is never shown; it takes the command words "Stop", "Close",
// "Open" and "Sound" and a file name, and carries them out in the order written. "Open" reads
// the named file relative to the working directory at that moment; a file that cannot be played
// leaves its cue silent with one warning. The audio output is opened on a thread of its own when
// a cue first sounds, never at start-up, and the window never waits on it.
class MMControl : public QWidget, public CueControl {
    Q_OBJECT
public:
    explicit MMControl(QWidget* parent = nullptr);
    ~MMControl() override;

    void setCommand(const QString& word) override;
    void setFileName(const QString& name) override;

    QString fileName() const { return fileName_; }
    PlayerState state() const { return state_; }
    bool outputStarted() const { return thread_ != nullptr; }

signals:
    void stateChanged(pythagoras::PlayerState state);

private:
    void stopCue();
    void closeFile();
    void openFile();
    void soundCue();
    void setState(PlayerState state);
    void startOutput();
    void post(bool sound);

    QString fileName_;
    PlayerState state_ = PlayerState::NothingOpen;
    std::optional<DecodedCue> cue_;
    quint64 sounding_ = 0; // which sounding the output's reports belong to
    std::shared_ptr<CueMailbox> mailbox_;
    QThread* thread_ = nullptr;
    CueOutput* output_ = nullptr;
};

} // namespace pythagoras
