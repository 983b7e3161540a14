// The practice options dialog: number of problems, largest operand and three switches.
#include "setup/OptionsDialog.h"

#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "setup/PracticeOptions.h"
#include "ui/DialogFrame.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int LowestMaximum = 10;
constexpr int TypedCountLength = 3;
constexpr int HighestMaximum = 30;

} // namespace

void OptionsDialog::showModal(QWidget* parent, GameState& basGlobals, CountsRowSink showCountsRow)
{
    OptionsDialog dialog(parent, basGlobals, std::move(showCountsRow));
    dialog.exec();
}

OptionsDialog::OptionsDialog(QWidget* parent, GameState& globals, CountsRowSink showCountsRow)
    : QDialog(parent)
    , basGlobals(globals)
    , m_showCountsRow(std::move(showCountsRow))
{
    setObjectName(QStringLiteral("frmOptions"));
    setUpDialogFrame(this, QStringLiteral("Practice Options"), twipsSize(4455, 3735));
    const QFont font = designFont(QStringLiteral("MS Sans Serif"), 9.75, QFont::Bold);

    auto* gearsPicture
        = new SvgPicture(QStringLiteral(":/assets/options.svg"), SvgPicture::Fit::Stretch, this);
    gearsPicture->setObjectName(QStringLiteral("Image1"));
    gearsPicture->setGeometry(twips(720, 120, 3075, 3015));
    gearsPicture->setAccessibleName(QStringLiteral("Gears and a pencil"));

    auto addCheck = [this, &font](const char* name, const QRect& geometry) {
        auto* check = new QCheckBox(this);
        check->setObjectName(QString::fromLatin1(name));
        check->setGeometry(geometry);
        check->setFont(font);
        return check;
    };
    // Each check box is captioned by the label beside it; clicking the label ticks the box too.
    auto addLabel = [this, &font](const char* name, const QString& text, const QRect& geometry,
                                  QWidget* buddy) {
        auto* label = makeTextLabel(this, QString::fromLatin1(name), text);
        label->setGeometry(geometry);
        label->setFont(font);
        label->setWordWrap(true);
        label->setAttribute(Qt::WA_TranslucentBackground);
        if (buddy != nullptr) {
            label->setBuddy(buddy);
            buddy->setAccessibleName(text);
            label->installEventFilter(this);
        }
        return label;
    };

    hideTimeBox = addCheck("Check1", twips(360, 360, 255, 375));
    addLabel("Label5", QStringLiteral("Hide Time"), twips(600, 420, 3375, 255), hideTimeBox);
    hideCountsBox = addCheck("Check2", twips(360, 840, 255, 495));
    addLabel("Label4", QStringLiteral("Hide Number Correct/Incorrect"), twips(600, 960, 3375, 255),
             hideCountsBox);
    onlyCorrectBox = addCheck("Check3", twips(360, 1320, 255, 495));
    addLabel("Label3", QStringLiteral("Only Allow Correct Ansers"), twips(600, 1440, 3135, 255),
             onlyCorrectBox);
    addLabel("Label2", QStringLiteral("Maximum value of numerator and denominator:"),
             twips(360, 2040, 3135, 495), nullptr);

    maxOperandBox = new QComboBox(this);
    maxOperandBox->setObjectName(QStringLiteral("Combo1"));
    maxOperandBox->setGeometry(twips(3360, 2040, 735, 360));
    maxOperandBox->setFont(font);
    maxOperandBox->setEditable(false);
    for (int value = LowestMaximum; value <= HighestMaximum; ++value) {
        maxOperandBox->addItem(QString::number(value));
    }
    maxOperandBox->setAccessibleName(QStringLiteral("Maximum value of numerator and denominator:"));

    addLabel("Label1", QStringLiteral("Number Of Problems:"), twips(1080, 2640, 2295, 255),
             nullptr);
    problemCountBox = new QLineEdit(this);
    problemCountBox->setObjectName(QStringLiteral("Text1"));
    problemCountBox->setGeometry(twips(3360, 2640, 735, 315));
    problemCountBox->setFont(font);
    // Typing makes the count at most three characters long; a longer count already chosen
    // (1000, set as "1e3") is shown whole, and the limit comes back once the player shortens it.
    connect(problemCountBox, &QLineEdit::textChanged, this, [this](const QString& text) {
        problemCountBox->setMaxLength(std::max(TypedCountLength, static_cast<int>(text.size())));
    });
    problemCountBox->setAccessibleName(QStringLiteral("Number Of Problems:"));

    okButton = makeCommandButton(this, QStringLiteral("Command1"), QStringLiteral("OK"),
                                 twips(1200, 3240, 2055, 375), 8.25);
    // No default button: Enter presses OK only when OK has the focus, never from the count.
    okButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::onOk);

    setTabOrder(hideTimeBox, hideCountsBox);
    setTabOrder(hideCountsBox, onlyCorrectBox);
    setTabOrder(onlyCorrectBox, problemCountBox);
    setTabOrder(problemCountBox, okButton);
    setTabOrder(okButton, maxOperandBox);

    Form_Load();
    hideTimeBox->setFocus();
}

void OptionsDialog::Form_Load()
{
    basGlobals.DialogResult = -1;
    onlyCorrectBox->setChecked(basGlobals.OnlyAllowCorrect);
    hideCountsBox->setChecked(basGlobals.HideCounts);
    hideTimeBox->setChecked(basGlobals.HideTime);
    problemCountBox->setText(QString::number(basGlobals.PracticeProblemCount));
    maxOperandBox->setCurrentIndex(
        std::clamp(static_cast<int>(basGlobals.MaxOperand), LowestMaximum, HighestMaximum)
        - LowestMaximum);
}

void OptionsDialog::onOk()
{
    basGlobals.OnlyAllowCorrect = onlyCorrectBox->isChecked();
    basGlobals.HideCounts = hideCountsBox->isChecked();
    basGlobals.HideTime = hideTimeBox->isChecked();
    // The switches reach the main window even when the number is rejected below.
    if (m_showCountsRow) {
        m_showCountsRow(
            countsRowFor(basGlobals.OnlyAllowCorrect, basGlobals.HideCounts, basGlobals.HideTime));
    }

    const std::optional<std::int16_t> count = parsePracticeCount(problemCountBox->text());
    if (!count) {
        showMessage(this, QStringLiteral("Please enter a valid number of problems."));
        activateWindow(); // typing goes on here, also where no window manager hands focus back
        problemCountBox->setFocus();
        problemCountBox->setSelection(0, static_cast<int>(problemCountBox->text().size()));
        return;
    }
    basGlobals.PracticeProblemCount = *count;
    basGlobals.MaxOperand = static_cast<std::int16_t>(maxOperandBox->currentText().toInt());
    basGlobals.DialogResult = 0;
    accept();
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        auto* check = label ? qobject_cast<QCheckBox*>(label->buddy()) : nullptr;
        if (check != nullptr && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            check->toggle();
            check->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
