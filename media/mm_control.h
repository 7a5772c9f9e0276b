#pragma once

#include "cue_control.h"
#include "cue_decoder.h"

#include <QBuffer>
#include <QWidget>
#include <memory>

class QAudioSink;

namespace pythagoras {

enum class PlayerState { NothingOpen, Open, Sounding };

// The window's sound player. It is never shown; it takes the command words "Stop", "Close",
// "Open" and "Sound" and a file name. "Open" reads the named file relative to the working
// directory at that moment; a file that cannot be played leaves the cue silent with one warning.
// The audio output is opened when a cue first sounds, never at start-up.
class MMControl : public QWidget, public CueControl {
    Q_OBJECT
public:
    explicit MMControl(QWidget* parent = nullptr);
    ~MMControl() override;

    void setCommand(const QString& word) override;
    void setFileName(const QString& name) override;

    QString fileName() const { return fileName_; }
    PlayerState state() const { return state_; }

signals:
    void stateChanged(pythagoras::PlayerState state);

private:
    void stop();
    void close();
    void open();
    void sound();
    void setState(PlayerState state);
    bool ensureSink();

    QString fileName_;
    PlayerState state_ = PlayerState::NothingOpen;
    std::optional<DecodedCue> cue_;
    QBuffer buffer_;
    QAudioSink* sink_ = nullptr;
    int sinkRate_ = 0;
    int sinkChannels_ = 0;
};

}  // namespace pythagoras
