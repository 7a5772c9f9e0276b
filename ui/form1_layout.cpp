#include "form1_layout.h"

#include "mm_control.h"
#include "picture_box.h"
#include "rule_line.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pythagoras::layout {

const WindowSpec Window = {" ピタゴラス数 作：さんすう教室", 3090, 2040, 9375, 5115};

// clang-format off
const std::array<Control, 16> Controls = {{
//   name          kind               left   top width height text                 font                     fill               border shown  tab
    {"Picture1",   Kind::PictureBox,  120, 1920, 9135,  2295, "",                  FontRole::Panel,         Fill::White,       true,  true,   12},
    {"MMControl1", Kind::Player,     2880, 1680, 3540,   330, "",                  FontRole::WindowDefault, Fill::ButtonFace,  false, false,  11},
    {"Command3",   Kind::Button,        0,    0,  855,   375, "終了",              FontRole::WindowDefault, Fill::ButtonFace,  false, true,   10},
    {"Command2",   Kind::Button,     8520,    0,  855,   375, "初期化",            FontRole::WindowDefault, Fill::ButtonFace,  false, true,    9},
    {"Command1",   Kind::Button,     4080, 4440, 1215,   375, "次　へ",            FontRole::WindowDefault, Fill::ButtonFace,  false, true,    7},
    {"Line2",      Kind::Line,          0,  360, 9360,     0, "",                  FontRole::WindowDefault, Fill::ButtonFace,  false, true,   -1},
    {"Label9",     Kind::Label,      3360,    0, 2655,   375, "ピ タ ゴ ラ ス 数", FontRole::Banner,        Fill::LightOrange, true,  true,   13},
    {"Line1",      Kind::Line,          0,  360, 7080,     0, "",                  FontRole::WindowDefault, Fill::ButtonFace,  false, true,   -1},
    {"Label8",     Kind::Label,      3480,  600, 2415,   255, "",                  FontRole::Method,        Fill::ButtonFace,  false, true,    8},
    {"Label7",     Kind::Label,      5520, 1200,  255,   375, "，",                FontRole::Bracket,       Fill::ButtonFace,  false, true,    6},
    {"Label6",     Kind::Label,      3600, 1200,  255,   375, "，",                FontRole::Bracket,       Fill::ButtonFace,  false, true,    5},
    {"Label5",     Kind::Label,      7440, 1200,  255,   375, "）",                FontRole::Bracket,       Fill::ButtonFace,  false, true,    4},
    {"Label4",     Kind::Label,      1680, 1200,  255,   375, "（",                FontRole::Bracket,       Fill::ButtonFace,  false, true,    3},
    {"Label3",     Kind::Label,      5880, 1200, 1455,   375, "",                  FontRole::Value,         Fill::White,       true,  true,    2},
    {"Label2",     Kind::Label,      3960, 1200, 1455,   375, "",                  FontRole::Value,         Fill::White,       true,  true,    1},
    {"Label1",     Kind::Label,      2040, 1200, 1455,   375, "",                  FontRole::Value,         Fill::White,       true,  true,    0},
}};

const std::array<FontSpec, 5> Fonts = {{
    {FontRole::Bracket, 15.75, 700},
    {FontRole::Value,   14.25, 700},
    {FontRole::Banner,  14.25, 700},
    {FontRole::Method,  11.25, 700},
    {FontRole::Panel,   12.0,  400},
}};
// clang-format on

double ContrastRatio(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel
            = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QRect PixelRect(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

QStringList JapaneseGothicFamilies()
{
    // The first face is what the window was designed with; where it is missing, a proportional
    // Japanese Gothic of close metrics stands in, then any Japanese Gothic the system has.
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
        QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")};
}

QStringList FirstInstalledFace(const QStringList& wanted, QStringList installed)
{
    for (QString& family : installed) {
        family = family.section(QStringLiteral(" ["), 0, 0);
    }
    for (const QString& family : wanted) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            return QStringList{family};
        }
    }
    return wanted;
}

namespace {

// Looked up once: asking Qt for faces that are missing costs a font search for each of them at
// every size. Qt's hasFamily() is not used, as it runs each name through fontconfig's alias rules,
// a full substitution pass per name, at start-up.
QStringList AvailableJapaneseGothic()
{
    static const QStringList available
        = FirstInstalledFace(JapaneseGothicFamilies(), QFontDatabase::families());
    return available;
}

} // namespace

QFont FontFor(FontRole role)
{
    QFont font;
    const auto spec
        = std::find_if(Fonts.begin(), Fonts.end(), [role](const FontSpec& f) { return f.role == role; });
    if (spec == Fonts.end()) {
        return font; // the window's default font
    }
    font.setFamilies(AvailableJapaneseGothic());
    font.setStyleHint(QFont::SansSerif);
    // Sizes are fixed in pixels at 96 dpi, like the layout, so a desktop's font DPI setting
    // cannot push the texts out of their fixed boxes.
    font.setPixelSize(qRound(spec->points * 96.0 / 72.0));
    font.setWeight(static_cast<QFont::Weight>(spec->weight));
    return font;
}

namespace {

QColor FillColor(Fill fill, const QPalette& palette)
{
    switch (fill) {
    case Fill::White:
        return QColor(255, 255, 255);
    case Fill::LightOrange:
        return QColor(255, 192, 128);
    case Fill::ButtonFace:
        break;
    }
    return palette.color(QPalette::Button);
}

// The system's button-text colour where it reads on `fill`; on a dark desktop theme the white and
// light orange boxes would otherwise carry light text, so there it is black (or white).
QColor TextColorOn(const QColor& fill, const QColor& buttonText)
{
    if (ContrastRatio(buttonText, fill) >= 4.5) {
        return buttonText;
    }
    return ContrastRatio(Qt::black, fill) >= ContrastRatio(Qt::white, fill) ? QColor(Qt::black)
                                                                            : QColor(Qt::white);
}

QWidget* Create(const Control& c, QWidget& form)
{
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case Kind::Label: {
        auto* label = new QLabel(text, &form);
        label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        label->setFrameStyle(c.border ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        label->setLineWidth(1);
        label->setMargin(0);
        label->setIndent(0);
        label->setWordWrap(false);
        label->setAutoFillBackground(true);
        return label;
    }
    case Kind::Button: {
        auto* button = new QPushButton(text, &form);
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case Kind::PictureBox:
        return new PictureBox(&form);
    case Kind::Player:
        return new MMControl(&form);
    case Kind::Line:
        return new RuleLine(&form);
    }
    return nullptr;
}

QRect Geometry(const Control& c)
{
    if (c.kind == Kind::Line) {
        // A horizontal or vertical stroke one pixel wide, its end point not drawn.
        const QRect r = PixelRect(c.left, c.top, c.width, c.height);
        return QRect(r.x(), r.y(), std::max(r.width(), 1), std::max(r.height(), 1));
    }
    return PixelRect(c.left, c.top, c.width, c.height);
}

} // namespace

void Build(QWidget& form)
{
    // The buttons keep the desktop's own font. For the Japanese it cannot show they fall back to
    // the face the labels use, so one Japanese face is loaded, not two (each maps megabytes).
    QFont::insertSubstitutions(form.font().family(), AvailableJapaneseGothic());

    std::vector<std::pair<int, QWidget*>> focusable;
    std::vector<QWidget*> lines;
    std::vector<QWidget*> childWindows;

    for (const Control& c : Controls) {
        QWidget* w = Create(c, form);
        w->setObjectName(QString::fromLatin1(c.name));
        w->setGeometry(Geometry(c));
        if (c.font != FontRole::WindowDefault) {
            w->setFont(FontFor(c.font));
        }
        QPalette palette = w->palette();
        palette.setColor(QPalette::Window, FillColor(c.fill, palette));
        if (c.kind != Kind::Line) {
            // Texts use the button-text colour; the rule keeps the window-text colour.
            palette.setColor(QPalette::WindowText,
                TextColorOn(palette.color(QPalette::Window), palette.color(QPalette::ButtonText)));
        }
        w->setPalette(palette);
        if (!c.shown) {
            w->hide();
        }
        switch (c.kind) {
        case Kind::Label:
            break;
        case Kind::Line:
            lines.push_back(w);
            break;
        case Kind::Player:
            childWindows.push_back(w);
            break;
        case Kind::Button:
        case Kind::PictureBox:
            childWindows.push_back(w);
            focusable.emplace_back(c.tabIndex, w);
            break;
        }
    }

    // Labels and lines are drawn on the window's surface, the lines over the labels (the rule
    // crosses the banner's bottom row); buttons, the panel and the player lie above them all.
    for (QWidget* w : lines) {
        w->raise();
    }
    for (QWidget* w : childWindows) {
        w->raise();
    }

    std::sort(
        focusable.begin(), focusable.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
    }
    // The window comes up with the focus on the lowest tab index that can take it.
    if (!focusable.empty()) {
        focusable.front().second->setFocus();
    }
}

} // namespace pythagoras::layout
