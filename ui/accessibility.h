#pragma once

namespace pythagoras {

// Tells Qt how the window and its explanation panel present themselves to screen readers: the
// window as a frame without its hidden player and decorative rules, the panel as the text it
// has printed. Call once, after the application object exists.
void InstallAccessibility();

} // namespace pythagoras
