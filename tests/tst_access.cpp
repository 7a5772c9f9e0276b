#include "form1.h"
#include "form1_layout.h"
#include "picture_box.h"
#include "rule_line.h"
#include "test_support.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace pythagoras;

namespace {

// Accessibility events as a screen reader would get them: which object, what happened.
QList<QPair<QObject*, QAccessible::Event>> g_events;
void RecordEvent(QAccessibleEvent* event)
{
    g_events.append({event->object(), event->type()});
}

QStringList ChildNames(QAccessibleInterface* parent)
{
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i) {
        names << parent->child(i)->object()->objectName();
    }
    return names;
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void windowIsAFrameOfItsControls();
    void valueBoxesAnnounceTheirNewTexts();
    void panelReadsAsItsExplanation();
    void exitQuestionIsADialogAnsweredByKeys_data();
    void exitQuestionIsADialogAnsweredByKeys();
    void spacePressesTheFocusedButton();
    void darkThemeLeavesEveryTextReadable();
};

void TestAccess::initTestCase()
{
    QAccessible::installUpdateHandler(RecordEvent);
    // The bridge to the accessibility bus comes up a moment after start.
    (void)QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000);
    if (!QAccessible::isActive()) {
        QSKIP("no accessibility bus: Qt reports nothing to screen readers here");
    }
}

void TestAccess::init()
{
    g_events.clear();
}

void TestAccess::windowIsAFrameOfItsControls()
{
    Form1 form;
    form.show();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), form.windowTitle());
    // Reading order; no hidden player, no rules.
    QCOMPARE(ChildNames(window),
        QStringList({"Command3", "Label9", "Command2", "Label8", "Label4", "Label1", "Label6", "Label2",
            "Label7", "Label3", "Label5", "Picture1", "Command1"}));
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        QCOMPARE(child->parent()->object(), &form);
        QCOMPARE(window->indexOfChild(child), i);
    }
    const struct {
        QPushButton* button;
        const char* name;
    } buttons[] = {{form.Command1, "次\u3000へ"}, {form.Command2, "初期化"}, {form.Command3, "終了"}};
    for (const auto& b : buttons) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(b.button);
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), QString::fromUtf8(b.name));
    }
}

void TestAccess::valueBoxesAnnounceTheirNewTexts()
{
    Form1 form;
    form.show();
    form.Command1->click();
    g_events.clear();
    form.Command1->click(); // (4, 3, 5) to (5, 12, 13): every text changes
    const QList<QObject*> changed = {form.Label8, form.Label1, form.Label2, form.Label3};
    for (QObject* label : changed) {
        QVERIFY2(g_events.contains({label, QAccessible::NameChanged}), qPrintable(label->objectName()));
    }
    const QStringList expected = {"＜ピタゴラスの方法＞", "5", "12", "13"};
    for (int i = 0; i < changed.size(); ++i) {
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(changed[i]);
        QCOMPARE(label->role(), QAccessible::StaticText);
        QCOMPARE(label->text(QAccessible::Name), expected[i]);
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(form.Label1)->text(QAccessible::Description),
        QStringLiteral("ａ"));
}

void TestAccess::panelReadsAsItsExplanation()
{
    Form1 form;
    form.show();
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(form.Picture1);
    QCOMPARE(panel->role(), QAccessible::StaticText);
    QVERIFY(panel->state().focusable);
    QAccessibleTextInterface* text = panel->textInterface();
    QVERIFY(text);
    const QString expected = form.Picture1->printedLines().join('\n') + '\n';
    QCOMPARE(text->characterCount(), int(expected.size()));
    QCOMPARE(text->text(0, text->characterCount()), expected);
    QVERIFY(expected.startsWith(QStringLiteral("\n\u3000三平方の定理")));
    QCOMPARE(panel->text(QAccessible::Value), expected);
    int inserted = 0;
    for (const auto& e : std::as_const(g_events)) {
        inserted += e.first == form.Picture1 && e.second == QAccessible::TextInserted ? 1 : 0;
    }
    QCOMPARE(inserted, 8);

    // Offsets and places agree: the first character of the second line is at its left edge.
    const int second = text->text(0, text->characterCount()).indexOf(QChar(0x4E09)); // 三
    const QRect r = text->characterRect(second);
    QVERIFY(r.isValid());
    QCOMPARE(text->offsetAtPoint(r.center()), second);
}

void TestAccess::exitQuestionIsADialogAnsweredByKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ends");
    QTest::addRow("Y for Yes") << int(Qt::Key_Y) << true;
    QTest::addRow("N for No") << int(Qt::Key_N) << false;
    QTest::addRow("Enter takes the default, Yes") << int(Qt::Key_Return) << true;
    QTest::addRow("Escape is No") << int(Qt::Key_Escape) << false;
}

void TestAccess::exitQuestionIsADialogAnsweredByKeys()
{
    QFETCH(int, key);
    QFETCH(bool, ends);
    Form1 form;
    form.show();
    bool ended = false;
    form.setProgramEnd([&](int) { ended = true; });
    QAccessible::Role role = QAccessible::NoRole;
    QString description;
    QStringList buttons;
    WhenModalAppears([&](QWidget* box) {
        QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(box);
        role = dialog->role();
        description = dialog->text(QAccessible::Name) + dialog->text(QAccessible::Description)
            + dialog->text(QAccessible::Value);
        for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
            buttons << QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name);
        }
        QTest::keyClick(box, Qt::Key(key));
    });
    form.Command3->click();
    QVERIFY(role == QAccessible::Dialog || role == QAccessible::AlertMessage);
    QVERIFY2(description.contains(QStringLiteral("終了していいですか？")), qPrintable(description));
    buttons.sort();
    QCOMPARE(buttons, QStringList({"いいえ(N)", "はい(Y)"}));
    QCOMPARE(ended, ends);
}

void TestAccess::spacePressesTheFocusedButton()
{
    Form1 form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Command1);
    QTest::keyClick(form.Command1, Qt::Key_Space);
    QCOMPARE(form.Label1->text(), QStringLiteral("4"));
}

void TestAccess::darkThemeLeavesEveryTextReadable()
{
    const QPalette saved = QApplication::palette();
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base}) {
        dark.setColor(role, QColor(0x30, 0x30, 0x30));
    }
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    }
    QApplication::setPalette(dark);
    {
        Form1 form;
        form.show();
        QList<QWidget*> texts;
        for (QLabel* label : form.findChildren<QLabel*>()) {
            texts << label;
        }
        texts << form.Picture1;
        for (QWidget* w : std::as_const(texts)) {
            const QPalette p = w->palette();
            QVERIFY2(layout::ContrastRatio(p.color(QPalette::WindowText), p.color(QPalette::Window)) >= 4.5,
                qPrintable(w->objectName()));
        }
        // The fixed white and orange boxes keep their colours, with dark text on them.
        QCOMPARE(form.Label1->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(form.Label9->palette().color(QPalette::Window), QColor(255, 192, 128));
        QCOMPARE(form.Label1->palette().color(QPalette::WindowText), QColor(Qt::black));
        // On the dark face the desktop's own light text stays.
        QCOMPARE(form.Label8->palette().color(QPalette::WindowText), QColor(0xee, 0xee, 0xee));
        const QPalette p = form.Line1->palette();
        QVERIFY(layout::ContrastRatio(p.color(QPalette::WindowText), form.palette().color(QPalette::Window))
            >= 3);
    }
    QApplication::setPalette(saved);
}

PT_TEST_MAIN(TestAccess)
#include "tst_access.moc"
