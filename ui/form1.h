#pragma once

#include "triple.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace pythagoras {

class MMControl;
class PictureBox;
class RuleLine;

// The program's one window: the current triple between brackets, the name of the construction
// that made it, the explanation panel, and Next, Reset and Exit.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    PictureBox* Picture1 = nullptr;
    MMControl* MMControl1 = nullptr;
    RuleLine* Line1 = nullptr;
    RuleLine* Line2 = nullptr;

    // Tests reach states here that the buttons never lead to.
    TripleState& triple() { return triple_; }

    // How Yes to the exit question ends the program: at once, by default, with no closing steps.
    void setProgramEnd(std::function<void(int)> end) { endProgram_ = std::move(end); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Runs a handler the way every event reaches one: an error it raises is caught and reported.
    void run(const char* handlerName, void (Form1::*handler)());

    void Form_Activate();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    void ShowTriple();
    void ShowMethod(TripleMethod method);
    void PrintExplanation();
    void ConfirmExit();

    TripleState triple_;
    bool activated_ = false;
    std::function<void(int)> endProgram_;
};

// The Yes/No question of the exit; returns 6 for Yes, 7 for No.
int AskYesNo(QWidget* parent, const QString& prompt, const QString& title);
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;

} // namespace pythagoras
