#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace pythagoras {

// Runs one event handler. Qt lets no exception cross its event loop, so this is where an error
// that the handler did not catch ends up: the handler has stopped at the failing step, the
// error is reported in a message box over `window` and on stderr, and the program goes on.
void RunHandler(QWidget* window, const char* handlerName, const std::function<void()>& handler);

// The line that reports an error, in plain Japanese, naming the handler it stopped.
QString DescribeError(const char* handlerName, std::exception_ptr error);

} // namespace pythagoras
