#include "cue_control.h"
#include "form1.h"
#include "form1_layout.h"
#include "handler_binding.h"
#include "mm_control.h"
#include "picture_box.h"
#include "rule_line.h"
#include "test_support.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace pythagoras;

namespace {

QStringList JapaneseGothics()
{
    return {QStringLiteral("MS PGothic"), QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")};
}

const QString Pythagoras = QStringLiteral("＜ピタゴラスの方法＞");
const QString Plato = QStringLiteral("＜プラトンの方法＞");

// The explanation as the reader must see it, one entry a line.
const QStringList Explanation = {
    QString(),
    QStringLiteral("　三平方の定理を満たす正の整数の組（ａ，ｂ，ｃ）をピタゴラス数と言います。"),
    QString(),
    QStringLiteral("　ａが奇数のとき、ｂ＝(ａ^2－１)÷２、ｃ＝(ａ^2＋１)÷２ で、ピタゴラス数が求められます。"),
    QStringLiteral("　この方法を「ピタゴラスの方法」言います。"),
    QString(),
    QStringLiteral("　ａが偶数のとき、ｂ＝(ａ÷２)^2－１、ｃ＝(ａ÷２)^2＋１ で、ピタゴラス数が求められます。"),
    QStringLiteral("　この方法を「プラトンの方法」言います。"),
};

void ClickNext(Form1& form, int times)
{
    for (int i = 0; i < times; ++i) {
        form.Command1->click();
    }
}

QStringList Shown(const Form1& form)
{
    return {form.Label8->text(), form.Label1->text(), form.Label2->text(), form.Label3->text()};
}

} // namespace

class TestForm : public QObject {
    Q_OBJECT

private slots:
    void windowFrameCaptionAndPlace();
    void iconIsThreeColoursOpaque();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void labelsLookAsDrawn_data();
    void labelsLookAsDrawn();
    void faceIsTheFirstInstalled_data();
    void faceIsTheFirstInstalled();
    void ruleIsDrawnOverTheBannerAndUnderTheButtons();
    void tabOrderAndFirstFocus();
    void nothingMovesOnResize();
    void firstActivationShowsTheFirstTripleAndExplanation();
    void nextStepsToTheLimit_data();
    void nextStepsToTheLimit();
    void clickAtTheLimitWritesTheTripleAgain();
    void activationIsNotRepeated();
    void panelKeepsItsTextWhenCoveredAndRepainted();
    void errorEndsTheHandlerAtTheFailingStep();
    void errorsAreNamedPlainly_data();
    void errorsAreNamedPlainly();
    void resetFromAnyState_data();
    void resetFromAnyState();
    void exitAnsweredNoChangesNothingAndAsksAgain();
    void exitAnsweredYesEndsTheProgram();
    void closeRequestEndsWithoutQuestionOrCue();
    void audioOutputIsNotOpenedAtStartUp();
};

void TestForm::windowFrameCaptionAndPlace()
{
    Form1 form;
    QVERIFY(form.windowTitle().startsWith(QStringLiteral(" ピタゴラス数 ")));
    QVERIFY(form.windowTitle().size() > QStringLiteral(" ピタゴラス数 ").size());
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.geometry(), QRect(206, 136, 625, 341));
    QCOMPARE(form.minimumSize(), QSize(0, 0)); // the frame stays sizable
    QCOMPARE(form.palette().color(QPalette::Window), form.palette().color(QPalette::Button));
    QCOMPARE(form.children().size(), 16);
}

void TestForm::iconIsThreeColoursOpaque()
{
    Form1 form;
    const QImage icon = form.windowIcon().pixmap(QSize(32, 32), 1.0).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    const QRgb white = qRgb(255, 255, 255), blue = qRgb(0, 0, 255), rose = qRgb(255, 0, 128);
    QSet<QRgb> seen;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = icon.pixel(x, y);
            QCOMPARE(qAlpha(pixel), 255);
            seen.insert(pixel | 0xff000000u);
            const bool edge = x == 0 || y == 0 || x == 31 || y == 31;
            if (edge) {
                QCOMPARE(pixel | 0xff000000u, blue);
            }
        }
    }
    QCOMPARE(seen, (QSet<QRgb>{white, blue, rose}));
    // The right angle sits at the lower right: the vertical side and the base meet there.
    const auto blueAt = [&](int x, int y) { return (icon.pixel(x, y) | 0xff000000u) == blue; };
    int corner = 0;
    for (int y = 16; y < 28; ++y) {
        for (int x = 16; x < 28; ++x) {
            corner += blueAt(x, y) && blueAt(x - 1, y) && blueAt(x, y - 1) ? 1 : 0;
        }
    }
    QVERIFY(corner > 0);
}

void TestForm::controlsStandWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");
    // Places and sizes at 96 dpi, from the drawing of the window.
    QTest::addRow("Picture1") << "Picture1" << QRect(8, 128, 609, 153) << QString() << true;
    QTest::addRow("MMControl1") << "MMControl1" << QRect(192, 112, 236, 22) << QString() << false;
    QTest::addRow("Command3 Exit") << "Command3" << QRect(0, 0, 57, 25) << "終了" << true;
    QTest::addRow("Command2 Reset") << "Command2" << QRect(568, 0, 57, 25) << "初期化" << true;
    QTest::addRow("Command1 Next") << "Command1" << QRect(272, 296, 81, 25) << "次\u3000へ" << true;
    QTest::addRow("Line2") << "Line2" << QRect(0, 24, 624, 1) << QString() << true;
    QTest::addRow("Label9 banner") << "Label9" << QRect(224, 0, 177, 25) << "ピ タ ゴ ラ ス 数" << true;
    QTest::addRow("Line1") << "Line1" << QRect(0, 24, 472, 1) << QString() << true;
    QTest::addRow("Label8 method") << "Label8" << QRect(232, 40, 161, 17) << QString() << true;
    QTest::addRow("Label7 comma") << "Label7" << QRect(368, 80, 17, 25) << "\uFF0C" << true;
    QTest::addRow("Label6 comma") << "Label6" << QRect(240, 80, 17, 25) << "\uFF0C" << true;
    QTest::addRow("Label5 close") << "Label5" << QRect(496, 80, 17, 25) << "\uFF09" << true;
    QTest::addRow("Label4 open") << "Label4" << QRect(112, 80, 17, 25) << "\uFF08" << true;
    QTest::addRow("Label3 c") << "Label3" << QRect(392, 80, 97, 25) << QString() << true;
    QTest::addRow("Label2 b") << "Label2" << QRect(264, 80, 97, 25) << QString() << true;
    QTest::addRow("Label1 a") << "Label1" << QRect(136, 80, 97, 25) << QString() << true;
}

void TestForm::controlsStandWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(QString, text);
    QFETCH(bool, shown);
    Form1 form;
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &form);
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->isVisibleTo(&form), shown);
    QVERIFY(control->isEnabled());
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void TestForm::labelsLookAsDrawn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("background"); // invalid: the button face
    QTest::addColumn<bool>("framed");
    const QColor white(255, 255, 255), orange(255, 192, 128), face;
    QTest::addRow("banner") << "Label9" << 19 << true << orange << true;
    QTest::addRow("method") << "Label8" << 15 << true << face << false;
    QTest::addRow("comma bc") << "Label7" << 21 << true << face << false;
    QTest::addRow("comma ab") << "Label6" << 21 << true << face << false;
    QTest::addRow("close bracket") << "Label5" << 21 << true << face << false;
    QTest::addRow("open bracket") << "Label4" << 21 << true << face << false;
    QTest::addRow("value c") << "Label3" << 19 << true << white << true;
    QTest::addRow("value b") << "Label2" << 19 << true << white << true;
    QTest::addRow("value a") << "Label1" << 19 << true << white << true;
    QTest::addRow("panel") << "Picture1" << 16 << false << white << true;
}

void TestForm::labelsLookAsDrawn()
{
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(QColor, background);
    QFETCH(bool, framed);
    Form1 form;
    auto* control = form.findChild<QFrame*>(name);
    QVERIFY(control);
    const QFontInfo font(control->font());
    QVERIFY2(JapaneseGothics().contains(font.family()), qPrintable(font.family()));
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(font.bold(), bold);
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    QVERIFY(control->autoFillBackground());
    const QColor expected = background.isValid() ? background : form.palette().color(QPalette::Button);
    QCOMPARE(control->palette().color(QPalette::Window), expected);
    QCOMPARE(control->palette().color(QPalette::WindowText), form.palette().color(QPalette::ButtonText));
    QCOMPARE(control->frameShape() != QFrame::NoFrame, framed);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->alignment(), Qt::AlignTop | Qt::AlignHCenter);
        QVERIFY(!label->wordWrap());
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QCOMPARE(label->lineWidth(), framed ? 1 : label->lineWidth());
    } else {
        QCOMPARE(control->frameShadow(), QFrame::Sunken);
    }
}

void TestForm::faceIsTheFirstInstalled_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("chosen");
    const QStringList wanted = layout::JapaneseGothicFamilies();
    QTest::addRow("designed face") << QStringList{"IPAPGothic", "ＭＳ Ｐゴシック"} << QStringList{"ＭＳ Ｐゴシック"};
    QTest::addRow("substitute") << QStringList{"DejaVu Sans", "IPAGothic", "IPAPGothic"}
                                << QStringList{"IPAPGothic"};
    QTest::addRow("other letter case") << QStringList{"ipapgothic"} << QStringList{"IPAPGothic"};
    QTest::addRow("listed with its foundry") << QStringList{"IPAPGothic [IPA]", "IPAPGothic [ipa ]"}
                                             << QStringList{"IPAPGothic"};
    QTest::addRow("name inside a longer one") << QStringList{"IPAPGothic Bold Condensed"} << wanted;
    QTest::addRow("none at all") << QStringList{"DejaVu Sans"} << wanted;
}

void TestForm::faceIsTheFirstInstalled()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, chosen);
    QCOMPARE(layout::FirstInstalledFace(layout::JapaneseGothicFamilies(), installed), chosen);
}

void TestForm::ruleIsDrawnOverTheBannerAndUnderTheButtons()
{
    Form1 form;
    const QObjectList order = form.children(); // bottom to top
    const auto at = [&](QWidget* w) { return order.indexOf(w); };
    for (QLabel* label : form.findChildren<QLabel*>()) {
        QVERIFY(at(label) < at(form.Line1));
        QVERIFY(at(label) < at(form.Line2));
    }
    for (QWidget* window : {static_cast<QWidget*>(form.Command1), static_cast<QWidget*>(form.Command2),
             static_cast<QWidget*>(form.Command3), static_cast<QWidget*>(form.Picture1)}) {
        QVERIFY(at(window) > at(form.Line1));
        QVERIFY(at(window) > at(form.Line2));
    }
    // On screen: the banner's last row carries the rule, the row above it is still orange.
    const QImage shot = form.grab().toImage();
    const QColor rule = form.Line1->palette().color(QPalette::WindowText);
    QCOMPARE(shot.pixelColor(300, 24), rule);
    QCOMPARE(shot.pixelColor(300, 23), QColor(255, 192, 128));
    QCOMPARE(shot.pixelColor(500, 24), rule); // Line2 alone, past Line1's end
    QVERIFY(shot.pixelColor(624, 24) != rule); // Line2 stops one pixel short of the edge
}

void TestForm::tabOrderAndFirstFocus()
{
    Form1 form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Command1);
    const QList<QWidget*> forward = {form.Command2, form.Command3, form.Picture1, form.Command1};
    for (QWidget* expected : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
    const QList<QWidget*> backward = {form.Picture1, form.Command3, form.Command2, form.Command1};
    for (QWidget* expected : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
}

void TestForm::nothingMovesOnResize()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QHash<QObject*, QRect> before;
    for (QWidget* w : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        before.insert(w, w->geometry());
    }
    form.resize(300, 200);
    QCoreApplication::processEvents();
    form.resize(900, 700);
    QCoreApplication::processEvents();
    for (QWidget* w : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        QCOMPARE(w->geometry(), before.value(w));
    }
}

void TestForm::firstActivationShowsTheFirstTripleAndExplanation()
{
    Form1 form;
    QCOMPARE(Shown(form), QStringList({"", "", "", ""}));
    QVERIFY(form.Picture1->printedLines().isEmpty());
    form.show();
    QCOMPARE(Shown(form), QStringList({Pythagoras, "3", "4", "5"}));
    QVERIFY(form.Command1->isEnabled());
    QCOMPARE(form.Picture1->printedLines(), Explanation);

    // Each line stands in its own band of the panel from the top edge; empty lines leave theirs
    // white, and every text starts after its ideographic-space indent.
    const QImage surface = form.Picture1->surface();
    const int lineHeight = QFontMetrics(form.Picture1->font()).height();
    const qreal ratio = surface.devicePixelRatio();
    const QRgb white = qRgb(255, 255, 255);
    for (int line = 0; line < Explanation.size(); ++line) {
        int firstInk = -1;
        const int top = qRound(line * lineHeight * ratio);
        for (int y = top; y < qRound((line + 1) * lineHeight * ratio) && y < surface.height(); ++y) {
            for (int x = 0; x < surface.width(); ++x) {
                if (surface.pixel(x, y) != white && (firstInk < 0 || x < firstInk)) {
                    firstInk = x;
                }
            }
        }
        if (Explanation[line].isEmpty()) {
            QVERIFY2(firstInk < 0, qPrintable(QString::number(line)));
        } else {
            QVERIFY2(firstInk > lineHeight * ratio / 2 && firstInk < 2 * lineHeight * ratio,
                qPrintable(QString::number(line)));
        }
    }
    QCOMPARE(form.Picture1->printPosition(), QPoint(0, 8 * lineHeight));
}

void TestForm::nextStepsToTheLimit_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("shown"); // method caption, a, b, c
    QTest::addColumn<bool>("nextEnabled");
    QTest::addRow("first triple") << 0 << QStringList({Pythagoras, "3", "4", "5"}) << true;
    QTest::addRow("one click: Plato, b below a") << 1 << QStringList({Plato, "4", "3", "5"}) << true;
    QTest::addRow("two: Pythagoras again") << 2 << QStringList({Pythagoras, "5", "12", "13"}) << true;
    QTest::addRow("three: not reduced") << 3 << QStringList({Plato, "6", "8", "10"}) << true;
    QTest::addRow("999, no digit grouping")
        << 996 << QStringList({Pythagoras, "999", "499000", "499001"}) << true;
    QTest::addRow("1000 reached, Next still on")
        << 997 << QStringList({Plato, "1000", "249999", "250001"}) << true;
    QTest::addRow("one click past: Next off")
        << 998 << QStringList({Plato, "1000", "249999", "250001"}) << false;
}

void TestForm::nextStepsToTheLimit()
{
    QFETCH(int, clicks);
    QFETCH(QStringList, shown);
    QFETCH(bool, nextEnabled);
    Form1 form;
    form.show();
    ClickNext(form, clicks);
    QCOMPARE(Shown(form), shown);
    QCOMPARE(form.Command1->isEnabled(), nextEnabled);
    QCOMPARE(form.Picture1->printedLines(), Explanation);
    if (!nextEnabled) {
        form.Label1->setText(QStringLiteral("untouched"));
        QTest::mouseClick(form.Command1, Qt::LeftButton); // a disabled Next takes no click
        QCOMPARE(form.Label1->text(), QStringLiteral("untouched"));
    }
}

void TestForm::clickAtTheLimitWritesTheTripleAgain()
{
    Form1 form;
    form.show();
    ClickNext(form, 997);
    form.Label1->setText(QStringLiteral("stale"));
    form.Label8->setText(QStringLiteral("stale"));
    ClickNext(form, 1);
    QVERIFY(!form.Command1->isEnabled());
    QCOMPARE(Shown(form), QStringList({Plato, "1000", "249999", "250001"}));
}

void TestForm::activationIsNotRepeated()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ClickNext(form, 1);

    QWidget other;
    other.setGeometry(50, 50, 200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    form.showMinimized();
    QCoreApplication::processEvents();
    form.showNormal();
    form.hide();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    WhenModalAppears([](QWidget* box) { static_cast<QMessageBox*>(box)->button(QMessageBox::No)->click(); });
    form.setProgramEnd([](int) { QFAIL("the program must not end on No"); });
    form.Command3->click();

    QCOMPARE(Shown(form), QStringList({Plato, "4", "3", "5"}));
    QCOMPARE(form.Picture1->printedLines(), Explanation);
}

void TestForm::panelKeepsItsTextWhenCoveredAndRepainted()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage before = form.Picture1->grab().toImage();

    QWidget cover;
    cover.setGeometry(form.geometry());
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.hide();
    form.Picture1->repaint();
    ClickNext(form, 5);
    form.Command2->click();

    QCOMPARE(form.Picture1->grab().toImage(), before);
    QCOMPARE(form.Picture1->printedLines(), Explanation);
}

void TestForm::errorEndsTheHandlerAtTheFailingStep()
{
    Form1 form;
    form.show();
    ClickNext(form, 1); // Plato's caption and (4, 3, 5) on the window
    // b of 99999 by Pythagoras's method lies beyond 32 bits.
    form.triple() = TripleState{99999, 7, 9};

    QString title, text;
    WhenModalAppears([&](QWidget* box) {
        title = box->windowTitle();
        text = static_cast<QMessageBox*>(box)->text();
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    form.Command1->click();

    QCOMPARE(title, QStringLiteral("ピタゴラス数"));
    QVERIFY2(
        text.contains(QStringLiteral("オーバーフロー")) && text.contains("Command1_Click"), qPrintable(text));
    QVERIFY(!form.Command1->isEnabled()); // step 2 ran: a is past the limit
    QCOMPARE(form.Label8->text(), Pythagoras); // step 3 ran
    QCOMPARE(form.triple().b, 7); // step 4 failed before storing b
    QCOMPARE(Shown(form).mid(1), QStringList({"4", "3", "5"})); // step 5 never ran

    form.Command2->click(); // the program goes on
    QCOMPARE(Shown(form), QStringList({Pythagoras, "3", "4", "5"}));
}

using Thrower = std::function<void()>;
Q_DECLARE_METATYPE(Thrower)

void TestForm::errorsAreNamedPlainly_data()
{
    QTest::addColumn<Thrower>("raise");
    QTest::addColumn<QString>("words");
    QTest::addRow("overflow") << Thrower([] { throw OverflowError("overflow"); })
                              << "オーバーフローしました。";
    QTest::addRow("floating point") << Thrower([] { throw FloatingPointError("fp"); })
                                    << "浮動小数点演算でエラーが発生しました。";
    QTest::addRow("player") << Thrower([] { throw PlayerError("unknown player command: Play"); })
                            << "サウンドプレーヤーでエラーが発生しました（unknown player command: Play）。";
    QTest::addRow("memory") << Thrower([] { throw std::bad_alloc(); }) << "メモリが不足しています。";
    QTest::addRow("other") << Thrower([] { throw std::runtime_error("disk"); })
                           << "予期しないエラーが発生しました（disk）。";
    QTest::addRow("not an exception") << Thrower([] { throw 42; }) << "予期しないエラーが発生しました。";
}

void TestForm::errorsAreNamedPlainly()
{
    QFETCH(Thrower, raise);
    QFETCH(QString, words);
    std::exception_ptr error;
    try {
        raise();
    } catch (...) {
        error = std::current_exception();
    }
    QCOMPARE(
        DescribeError("Command2_Click", error), QStringLiteral("実行時エラー（Command2_Click）：") + words);
}

void TestForm::resetFromAnyState_data()
{
    QTest::addColumn<int>("nextClicks");
    QTest::addRow("at the limit with Next disabled") << 998;
    QTest::addRow("under Plato's caption") << 1;
    QTest::addRow("at the first triple") << 0;
}

void TestForm::resetFromAnyState()
{
    QFETCH(int, nextClicks);
    Form1 form;
    form.show();
    ClickNext(form, nextClicks);
    QCOMPARE(form.Command1->isEnabled(), nextClicks < 998);
    form.Command2->click();
    QCOMPARE(Shown(form), QStringList({Pythagoras, "3", "4", "5"}));
    QVERIFY(form.Command1->isEnabled());
    QCOMPARE(form.MMControl1->fileName(), QStringLiteral("pinpon.wav"));
    QCOMPARE(form.Picture1->printedLines(), Explanation);
    ClickNext(form, 1);
    QCOMPARE(Shown(form), QStringList({Plato, "4", "3", "5"}));
}

void TestForm::exitAnsweredNoChangesNothingAndAsksAgain()
{
    Form1 form;
    form.show();
    ClickNext(form, 4);
    const QStringList before = Shown(form);
    bool ended = false;
    form.setProgramEnd([&](int) { ended = true; });

    for (int round = 0; round < 2; ++round) {
        QString title, prompt;
        QMessageBox::Icon icon = QMessageBox::Critical;
        QMessageBox::StandardButtons buttons;
        QAbstractButton* defaultButton = nullptr;
        QAbstractButton* yes = nullptr;
        Qt::WindowModality modality = Qt::NonModal;
        WhenModalAppears([&](QWidget* w) {
            auto* box = static_cast<QMessageBox*>(w);
            title = box->windowTitle();
            prompt = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            defaultButton = box->defaultButton();
            yes = box->button(QMessageBox::Yes);
            modality = box->windowModality();
            box->button(QMessageBox::No)->click();
        });
        form.Command3->click();
        QCOMPARE(title, QStringLiteral("ピタゴラス数"));
        QCOMPARE(prompt, QStringLiteral("終了していいですか？"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(defaultButton, yes);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(form.MMControl1->fileName(), QStringLiteral("endpinpon.wav"));
        QCOMPARE(Shown(form), before);
        QVERIFY(form.Command1->isEnabled());
        QVERIFY(!ended);
    }
    QCOMPARE(form.Picture1->printedLines(), Explanation);
}

void TestForm::exitAnsweredYesEndsTheProgram()
{
    Form1 form;
    form.show();
    QList<int> ends;
    form.setProgramEnd([&](int status) { ends.append(status); });
    WhenModalAppears([](QWidget* box) { static_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
    form.Command3->click();
    QCOMPARE(ends, QList<int>({0}));
}

void TestForm::closeRequestEndsWithoutQuestionOrCue()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.setProgramEnd([](int) { QFAIL("a close request asks nothing"); });
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(form.MMControl1->state(), PlayerState::NothingOpen);
    QCOMPARE(form.MMControl1->fileName(), QString());
}

void TestForm::audioOutputIsNotOpenedAtStartUp()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.MMControl1->outputStarted());
    form.Command2->click();
    QVERIFY(form.MMControl1->outputStarted());
}

PT_TEST_MAIN(TestForm)
#include "tst_form.moc"
