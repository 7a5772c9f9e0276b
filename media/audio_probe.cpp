#include "audio_probe.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>

#include <chrono>

namespace pythagoras {

bool AudioServerAnswers(int timeoutMs)
{
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) {
        return false;
    }
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "pythagorean-triples");
    bool ready = false;
    if (context != nullptr && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY) {
                ready = true;
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state)) {
                break;
            }
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
            if (left.count() <= 0 || pa_mainloop_prepare(loop, static_cast<int>(left.count())) < 0
                || pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0) {
                break;
            }
        }
        pa_context_disconnect(context);
    }
    if (context != nullptr) {
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return ready;
}

} // namespace pythagoras
