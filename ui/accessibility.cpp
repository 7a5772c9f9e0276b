#include "accessibility.h"

#include "form1.h"
#include "mm_control.h"
#include "picture_box.h"
#include "rule_line.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

namespace pythagoras {
namespace {

// Hidden controls and the rules under the top band say nothing to a listener.
bool Presented(const QWidget* w, const QWidget* window)
{
    return w->isVisibleTo(window) && qobject_cast<const RuleLine*>(w) == nullptr
        && qobject_cast<const MMControl*>(w) == nullptr;
}

class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }

    int childCount() const override { return int(presented().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QWidgetList shown = presented();
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                                  : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr ? int(presented().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QWidgetList presented() const
    {
        QWidgetList shown;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w != nullptr && !w->isWindow() && Presented(w, widget())) {
                shown.append(w);
            }
        }
        // In reading order, top to bottom, then left to right.
        std::stable_sort(shown.begin(), shown.end(),
            [](QWidget* a, QWidget* b) { return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x(); });
        return shown;
    }
};

class PanelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PanelAccessible(PictureBox* panel)
        : QAccessibleWidget(panel, QAccessible::StaticText, QStringLiteral("説明"))
    {
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) {
            return all();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        return s;
    }

    // Nothing can be selected or typed here.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return QString();
    }

    QString text(int start, int end) const override { return all().mid(start, end - start); }
    int characterCount() const override { return int(all().size()); }

    QRect characterRect(int offset) const override
    {
        const QStringList& lines = panel()->printedLines();
        const QFontMetrics metrics(panel()->font());
        int line = 0;
        while (line < lines.size() && offset > lines[line].size()) {
            offset -= int(lines[line].size()) + 1;
            ++line;
        }
        if (line >= lines.size()) {
            return QRect();
        }
        const QString& text = lines[line];
        const int x = metrics.horizontalAdvance(text.left(offset));
        const int width = offset < text.size() ? metrics.horizontalAdvance(text.at(offset)) : 1;
        const QPoint topLeft = panel()->contentsRect().topLeft() + QPoint(x, line * metrics.height());
        return QRect(panel()->mapToGlobal(topLeft), QSize(width, metrics.height()));
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint local = panel()->mapFromGlobal(point) - panel()->contentsRect().topLeft();
        const QStringList& lines = panel()->printedLines();
        const QFontMetrics metrics(panel()->font());
        const int line = local.y() / std::max(1, metrics.height());
        if (local.y() < 0 || line >= lines.size()) {
            return -1;
        }
        int offset = 0;
        for (int i = 0; i < line; ++i) {
            offset += int(lines[i].size()) + 1;
        }
        const QString& text = lines[line];
        for (int column = 0; column < text.size(); ++column) {
            if (metrics.horizontalAdvance(text.left(column + 1)) > local.x()) {
                return offset + column;
            }
        }
        return offset + int(text.size());
    }

private:
    PictureBox* panel() const { return static_cast<PictureBox*>(widget()); }
    // Each printed line ends with a line break, empty lines too.
    QString all() const
    {
        QString text;
        for (const QString& line : panel()->printedLines()) {
            text += line + QLatin1Char('\n');
        }
        return text;
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("pythagoras::Form1")) {
        return new WindowAccessible(static_cast<QWidget*>(object));
    }
    if (className == QLatin1String("pythagoras::PictureBox")) {
        return new PanelAccessible(static_cast<PictureBox*>(object));
    }
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(Factory);
        installed = true;
    }
}

} // namespace pythagoras
