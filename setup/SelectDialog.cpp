// The problem-type selector asked before every run.
#include "setup/SelectDialog.h"

#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "ui/DialogFrame.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QPushButton>

void SelectDialog::showModal(QWidget* parent, GameState& basGlobals)
{
    SelectDialog dialog(parent, basGlobals);
    dialog.exec();
}

SelectDialog::SelectDialog(QWidget* parent, GameState& globals)
    : QDialog(parent)
    , basGlobals(globals)
{
    setObjectName(QStringLiteral("frmSelect"));
    setUpDialogFrame(this, QStringLiteral("Select Problem Type:"), twipsSize(5655, 4455));

    static constexpr std::array<int, 5> Tops { 240, 1080, 1920, 2760, 3600 };
    for (std::size_t index = 0; index < typeButtons.size(); ++index) {
        const ProblemTypeInfo& type = ProblemTypes[index];
        QPushButton* button = makeCommandButton(
            this, QStringLiteral("Command1_%1").arg(index),
            QString::fromLatin1(type.name.data(), static_cast<qsizetype>(type.name.size())),
            twips(120, Tops[index], 2175, 615), 12);
        const int typeIndex = static_cast<int>(index);
        connect(button, &QPushButton::clicked, this,
                [this, typeIndex] { onTypeChosen(typeIndex); });
        typeButtons[index] = button;
    }
    // The tab order is the button order, which creation order already gives.

    auto* blocksPicture
        = new SvgPicture(QStringLiteral(":/assets/select.svg"), SvgPicture::Fit::Stretch, this);
    blocksPicture->setObjectName(QStringLiteral("Image1"));
    blocksPicture->setGeometry(twips(2400, 120, 3165, 4215));
    blocksPicture->setToolTip(
        QStringLiteral("Click the type of problem from the list on the left."));
    blocksPicture->setAccessibleName(
        QStringLiteral("Blocks showing plus, minus, times and divide"));

    Form_Load();
    typeButtons[0]->setFocus();
}

void SelectDialog::Form_Load()
{
    basGlobals.DialogResult = -1;
}

void SelectDialog::onTypeChosen(int index)
{
    basGlobals.DialogResult = 0;
    basGlobals.ProblemType = static_cast<std::int16_t>(index + 1);
    accept();
}
