#include "form1.h"

#include "accessibility.h"
#include "cue_control.h"
#include "explanation.h"
#include "form1_layout.h"
#include "handler_binding.h"
#include "mm_control.h"
#include "picture_box.h"
#include "process_end.h"
#include "rule_line.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

#include "form1_icon.xpm"

namespace pythagoras {
namespace {

template <class T> void Attach(QWidget& form, T*& member, const char* name)
{
    member = form.findChild<T*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(member != nullptr, "Form1", name);
}

QString MethodCaption(TripleMethod method)
{
    return method == TripleMethod::Plato ? QStringLiteral("＜プラトンの方法＞")
                                         : QStringLiteral("＜ピタゴラスの方法＞");
}

// The 32 x 32 picture, and the same pixels doubled for dense screens.
QIcon WindowIcon()
{
    const QImage picture(form1_icon_xpm);
    QIcon icon;
    for (const int size : {32, 64, 128}) {
        icon.addPixmap(
            QPixmap::fromImage(picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    }
    return icon;
}

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , endProgram_(EndProcess)
{
    InstallAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(layout::Window.caption));
    setWindowIcon(WindowIcon());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setGeometry(layout::PixelRect(
        layout::Window.left, layout::Window.top, layout::Window.width, layout::Window.height));

    layout::Build(*this);
    Attach(*this, Label1, "Label1");
    Attach(*this, Label2, "Label2");
    Attach(*this, Label3, "Label3");
    Attach(*this, Label4, "Label4");
    Attach(*this, Label5, "Label5");
    Attach(*this, Label6, "Label6");
    Attach(*this, Label7, "Label7");
    Attach(*this, Label8, "Label8");
    Attach(*this, Label9, "Label9");
    Attach(*this, Command1, "Command1");
    Attach(*this, Command2, "Command2");
    Attach(*this, Command3, "Command3");
    Attach(*this, Picture1, "Picture1");
    Attach(*this, MMControl1, "MMControl1");
    Attach(*this, Line1, "Line1");
    Attach(*this, Line2, "Line2");

    // Heard by screen readers beside the numbers; nothing on screen changes.
    Label1->setAccessibleDescription(QStringLiteral("ａ"));
    Label2->setAccessibleDescription(QStringLiteral("ｂ"));
    Label3->setAccessibleDescription(QStringLiteral("ｃ"));
    Label8->setAccessibleDescription(QStringLiteral("求め方"));

    connect(Command1, &QPushButton::clicked, this, [this] { run("Command1_Click", &Form1::Command1_Click); });
    connect(Command2, &QPushButton::clicked, this, [this] { run("Command2_Click", &Form1::Command2_Click); });
    connect(Command3, &QPushButton::clicked, this, [this] { run("Command3_Click", &Form1::Command3_Click); });
}

void Form1::run(const char* handlerName, void (Form1::*handler)())
{
    RunHandler(this, handlerName, [this, handler] { (this->*handler)(); });
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window is activated once, when it is first shown; showing it again after it was
    // minimised, or coming back to it from another program, is no new activation. Running here,
    // before the window is mapped, puts the first triple into the very first frame.
    if (!activated_) {
        activated_ = true;
        run("Form_Activate", &Form1::Form_Activate);
    }
}

void Form1::Form_Activate()
{
    ShowMethod(TripleMethod::Pythagoras);
    ResetTriple(triple_);
    ShowTriple();
    PrintExplanation();
}

void Form1::Command1_Click()
{
    if (!AdvanceTriple(triple_)) {
        Command1->setEnabled(false); // a stays at the limit
    }
    ShowMethod(MethodOf(triple_.a));
    ComputeTriple(triple_);
    ShowTriple();
}

void Form1::Command2_Click()
{
    PlayCue(*MMControl1, QStringLiteral("pinpon.wav"));
    Command1->setEnabled(true);
    ShowMethod(TripleMethod::Pythagoras);
    ResetTriple(triple_);
    ShowTriple();
}

void Form1::Command3_Click()
{
    PlayCue(*MMControl1, QStringLiteral("endpinpon.wav"));
    ConfirmExit();
}

void Form1::ShowTriple()
{
    Label1->setText(QString::number(triple_.a));
    Label2->setText(QString::number(triple_.b));
    Label3->setText(QString::number(triple_.c));
}

void Form1::ShowMethod(TripleMethod method)
{
    Label8->setText(MethodCaption(method));
}

void Form1::PrintExplanation()
{
    for (const char* line : ExplanationLines) {
        Picture1->print(QString::fromUtf8(line));
    }
}

void Form1::ConfirmExit()
{
    const int answer = AskYesNo(this, QStringLiteral("終了していいですか？"), QStringLiteral("ピタゴラス数"));
    if (answer == AnswerYes) {
        endProgram_(0);
    }
}

int AskYesNo(QWidget* parent, const QString& prompt, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Yes | QMessageBox::No, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    return box.exec() == QMessageBox::Yes ? AnswerYes : AnswerNo;
}

} // namespace pythagoras
