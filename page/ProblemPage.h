// The exercise-book page: operands in tens and units columns, the rule and the answer box.
#pragma once

#include "ui/SvgPicture.h"

class AnswerBox;
class QFrame;
class QLabel;
struct DrillView;

/// The page picture box Picture1 with the problem written on it. Every control carries its
/// name as objectName, so tests and accessibility tools find it.
class ProblemPage : public SvgPicture
{
    Q_OBJECT

public:
    explicit ProblemPage(QWidget* parent = nullptr);

    /// Shows the view's problem, answer, marks and logo.
    void showView(const DrillView& view);

    AnswerBox* answerBox() const { return AnsText; }

    /// "{" is how division is written in the problem; on the page it is the division sign.
    static QString displayedOperator(const QString& operatorText);

private:
    /// Sets up a page label; a label passed in (an announced one) is set up instead of a plain one.
    QLabel* makeLabel(const char* name, const QRect& geometry, double pointSize,
                      QLabel* label = nullptr);

    QLabel* UpLeft;
    QLabel* UpRight;
    QLabel* OpLab;
    QLabel* DownLeft;
    QLabel* DownRight;
    QFrame* Line1;
    AnswerBox* AnsText;
    QLabel* WrongAns;
    SvgPicture* timedRunLogo;
    QLabel* NumLab;
    QLabel* DenLab;
};
