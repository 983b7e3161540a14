// The exercise-book page: operands in tens and units columns, the rule and the answer box.
#include "page/ProblemPage.h"

#include "assets/DesignFonts.h"
#include "engine/DrillView.h"
#include "engine/ProblemTypes.h"
#include "engine/ProblemWords.h"
#include "page/AnnouncedLabel.h"
#include "page/AnswerBox.h"
#include "ui/DialogFrame.h"
#include "ui/Twips.h"

#include <QAccessible>
#include <QFrame>
#include <QLabel>

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

void setText(QLabel* label, const QString& text)
{
    if (label->text() != text) {
        label->setText(text);
    }
}

} // namespace

ProblemPage::ProblemPage(QWidget* parent)
    : SvgPicture(QStringLiteral(":/assets/page.svg"), Fit::NaturalSize, parent)
{
    setObjectName(QStringLiteral("Picture1"));

    timedRunLogo = new SvgPicture(QStringLiteral(":/assets/logo.svg"), Fit::Stretch, this);
    timedRunLogo->setObjectName(QStringLiteral("Label2"));
    timedRunLogo->setGeometry(twips(3360, 120, 2745, 1185));
    timedRunLogo->setAccessibleName(QStringLiteral("Sumdash! timed run"));
    timedRunLogo->hide();

    UpLeft = makeLabel("UpLeft", twips(1920, 840, 615, 855), 48);
    UpRight = makeLabel("UpRight", twips(2520, 840, 615, 855), 48);
    OpLab = makeLabel("OpLab", twips(1200, 1680, 615, 855), 48);
    DownLeft = makeLabel("DownLeft", twips(1920, 1680, 615, 855), 48);
    DownRight = makeLabel("DownRight", twips(2520, 1680, 615, 855), 48);

    // A line of border width 6 from (960, 2640) to (3120, 2640), centred on its y.
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(twips(960), twips(2640) - 3, twips(3120 - 960), 6);
    Line1->setAutoFillBackground(true);
    QPalette linePalette = Line1->palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    Line1->setPalette(linePalette);
    Line1->hide();

    AnsText = new AnswerBox(this);
    AnsText->setObjectName(QStringLiteral("AnsText"));
    AnsText->setGeometry(twips(960, 2760, 2175, 1155));
    AnsText->setFont(designFont(QStringLiteral("PellmoorFont"), 48));
    QPalette answerPalette = AnsText->palette();
    answerPalette.setColor(QPalette::Base, QColor(255, 255, 128));
    answerPalette.setColor(QPalette::Text, Qt::black);
    AnsText->setPalette(answerPalette);
    AnsText->setAccessibleName(QStringLiteral("Answer"));
    AnsText->hide();

    WrongAns = makeLabel("WrongAns", twips(3360, 2880, 735, 855), 48, new AnnouncedLabel(this));
    WrongAns->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    WrongAns->setText(QStringLiteral("X"));
    WrongAns->setAccessibleName(QStringLiteral("Wrong answer, try again"));
    setTextColour(WrongAns, QColor(255, 0, 0));

    NumLab = makeLabel("NumLab", twips(5400, 2400, 255, 255), 8.25);
    DenLab = makeLabel("DenLab", twips(5400, 3120, 255, 255), 8.25);
}

QLabel* ProblemPage::makeLabel(const char* name, const QRect& geometry, double pointSize,
                               QLabel* label)
{
    if (label == nullptr) {
        label = new QLabel(this);
    }
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setFont(designFont(QStringLiteral("PellmoorFont"), pointSize));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->hide();
    return label;
}

QString ProblemPage::displayedOperator(const QString& operatorText)
{
    if (operatorText == QLatin1String(OperatorText::Divide.data(), 1)) {
        return QStringLiteral("\u00F7");
    }
    return operatorText;
}

void ProblemPage::showView(const DrillView& view)
{
    setText(NumLab, fromStd(view.NumLab));
    setText(DenLab, fromStd(view.DenLab));
    const QString operatorText = fromStd(view.OpLab);
    OpLab->setProperty("operatorText", operatorText);
    setText(OpLab, displayedOperator(operatorText));
    // One text a screen reader can say, on the page and as the answer box's description.
    const QString words = fromStd(problemInWords(view.NumLab, view.OpLab, view.DenLab));
    if (accessibleName() != words) {
        setAccessibleName(words);
        AnsText->setAccessibleDescription(words);
    }
    setText(UpLeft, fromStd(view.UpLeft));
    setText(UpRight, fromStd(view.UpRight));
    setText(DownLeft, fromStd(view.DownLeft));
    setText(DownRight, fromStd(view.DownRight));
    for (QWidget* widget : { static_cast<QWidget*>(UpLeft), static_cast<QWidget*>(UpRight),
                             static_cast<QWidget*>(OpLab), static_cast<QWidget*>(DownLeft),
                             static_cast<QWidget*>(DownRight), static_cast<QWidget*>(Line1) }) {
        widget->setVisible(view.problemVisible);
    }
    AnsText->showAnswer(fromStd(view.AnsText));
    AnsText->setEnabled(view.AnsTextEnabled);
    AnsText->setVisible(view.AnsTextVisible);
    if (view.WrongAnsVisible && WrongAns->isHidden()) {
        WrongAns->setVisible(true);
        // The red X shows only while Enter is held; a screen reader hears it as an alert.
        QAccessibleEvent alert(WrongAns, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    } else {
        WrongAns->setVisible(view.WrongAnsVisible);
    }
    timedRunLogo->setVisible(view.timedRunLogoVisible);
}
