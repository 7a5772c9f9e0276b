#pragma once

namespace pythagoras {

// True when a PulseAudio server (or PipeWire's PulseAudio service) accepts a connection within
// `timeoutMs`. Qt's own audio output waits on the server for as long as it takes; asking first,
// with a deadline, keeps a stalled or missing server from holding a cue up.
bool AudioServerAnswers(int timeoutMs);

} // namespace pythagoras
