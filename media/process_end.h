#pragma once

namespace pythagoras {

// Ends the process at once with `status`, after flushing the standard streams, without running
// the libraries' teardown. Qt 6.4's PulseAudio engine can fail an assertion of libpulse's while it
// is torn down at exit, and the program keeps nothing that teardown would have to save.
[[noreturn]] void EndProcess(int status);

} // namespace pythagoras
