#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <array>

class QWidget;

namespace pythagoras::layout {

// Places and sizes are kept in twips, as the window was drawn; 15 twips make one pixel at
// 96 dots per inch, and Qt scales logical pixels on denser screens.
constexpr int TwipsPerPixel = 15;

enum class Kind { PictureBox, Player, Button, Label, Line };
enum class FontRole { WindowDefault, Bracket, Value, Banner, Method, Panel };
enum class Fill { ButtonFace, White, LightOrange };

struct Control {
    const char* name;
    Kind kind;
    // For a line, (left, top) is where it starts and (width, height) how far its end lies from there.
    int left;
    int top;
    int width;
    int height;
    const char* text;
    FontRole font;
    Fill fill;
    bool border;
    bool shown;
    int tabIndex; // -1: a line has none
};

struct FontSpec {
    FontRole role;
    double points;
    int weight;
};

struct WindowSpec {
    const char* caption;
    int left; // the client area's place on the screen and its size, in twips
    int top;
    int width;
    int height;
};

extern const WindowSpec Window;
// In the order the window creates them.
extern const std::array<Control, 16> Controls;
extern const std::array<FontSpec, 5> Fonts;

QRect PixelRect(int left, int top, int width, int height);
QFont FontFor(FontRole role);
// The face the labels and the panel ask for first, and the substitutes tried after it.
QStringList JapaneseGothicFamilies();
// The first of `wanted` that is among the `installed` families (as Qt lists them, "Face [foundry]"
// where two foundries have a face), alone; all of `wanted` when none is.
QStringList FirstInstalledFace(const QStringList& wanted, QStringList installed);

// The contrast ratio of two colours, 1 to 21, as readability guidelines measure it.
double ContrastRatio(const QColor& a, const QColor& b);

// Creates every control of the table as a child of `form`, in the table's order, with its
// name, place, text, font and looks, then sets stacking and tab order.
void Build(QWidget& form);

} // namespace pythagoras::layout
