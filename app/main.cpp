#include "form1.h"
#include "process_end.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Without this, Qt's failure to find a display ends in a long message and an abort.
bool DisplayMissing(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return false;
        }
    }
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return !set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    if (DisplayMissing(argc, argv)) {
        std::fputs("pythagorean-triples: no display to open the window on; run it on a desktop, "
                   "or under xvfb-run\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pythagorean-triples"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Lets a Wayland desktop match the window to its entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(PT_APP_ID));

    int status = 0;
    {
        pythagoras::Form1 form;
        form.show();
        status = app.exec();
    }
    pythagoras::EndProcess(status);
}
