#include "process_end.h"

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace pythagoras {

void EndProcess(int status)
{
    std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__)
    // _Exit skips the leak check that would run at a normal exit; run it here instead.
    if (__lsan_do_recoverable_leak_check() != 0 && status == 0) {
        status = 1;
    }
#endif
    std::_Exit(status);
}

} // namespace pythagoras
