// The name prompt: asks a fast finisher for their name, under a heading the caller chooses.
#include "records/NameDialog.h"

#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "ui/DialogFrame.h"
#include "ui/HeldEnterGuard.h"
#include "ui/LabelFit.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <algorithm>
#include <vector>

namespace {

constexpr int NameLength = 20;

/// Keeps a name to twenty characters as a reader counts them: an emoji, a flag or a letter with
/// its accents is one character, kept or refused whole, never cut in half. Like a length limit,
/// what would not fit of a new entry is left out, and the rest of the name stays.
class NameLengthValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override
    {
        std::vector<qsizetype> boundaries { 0 };
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, input);
        while (characters.toNextBoundary() != -1) {
            boundaries.push_back(characters.position());
        }
        const auto count = static_cast<qsizetype>(boundaries.size()) - 1;
        if (count <= NameLength) {
            return Acceptable;
        }
        const qsizetype excess = count - NameLength;
        // The characters just before the cursor are the ones this edit added.
        const auto atCursor = std::upper_bound(boundaries.begin(), boundaries.end(), position) - 1;
        const qsizetype end = *atCursor;
        const qsizetype cut = atCursor - boundaries.begin() >= excess ? *(atCursor - excess) : -1;
        if (cut < 0) {
            input.truncate(boundaries[NameLength]);
            position = std::min(position, static_cast<int>(input.size()));
        } else {
            input.remove(cut, end - cut);
            position = static_cast<int>(cut);
        }
        return Acceptable;
    }
};

QLabel* makeGreenLabel(QWidget* parent, const char* name, const QString& text,
                       const QRect& geometry)
{
    auto* label = makeTextLabel(parent, QString::fromLatin1(name), text);
    label->setGeometry(geometry);
    label->setFont(designFont(QStringLiteral("Impact"), 20.25));
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    setTextColour(label, QColor(0x00, 0x80, 0x00));
    return label;
}

} // namespace

QString NameDialog::ask(QWidget* parent, const GameState& basGlobals, Banner banner)
{
    NameDialog dialog(parent, basGlobals, banner);
    dialog.exec();
    return dialog.nameBox->text();
}

NameDialog::NameDialog(QWidget* parent, const GameState& basGlobals, Banner banner)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTopTime"));
    setUpDialogFrame(this, QStringLiteral("Great Time!"), twipsSize(5055, 3135));
    // No close box: the name is always asked for.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    bannerPicture = new SvgPicture(QStringLiteral(":/assets/name-banner.svg"),
                                   SvgPicture::Fit::Stretch, this);
    bannerPicture->setObjectName(QStringLiteral("Image1"));
    bannerPicture->setGeometry(twips(600, 0, 3870, 585));
    bannerPicture->setAccessibleName(QStringLiteral("Stars and a medal"));

    heading = makeGreenLabel(this, "Label2", QStringLiteral("You have a top 5 time!"),
                             twips(0, 600, 5055, 495));
    makeGreenLabel(this, "Label1", QStringLiteral("Please enter your name:"),
                   twips(240, 1200, 4575, 495));

    nameBox = new QLineEdit(QStringLiteral("Your Name"), this);
    nameBox->setObjectName(QStringLiteral("Text1"));
    nameBox->setGeometry(twips(240, 1800, 4575, 585));
    nameBox->setFont(designFont(QStringLiteral("Impact"), 20.25));
    nameBox->setValidator(new NameLengthValidator(nameBox));
    nameBox->setAccessibleName(QStringLiteral("Please enter your name:"));

    QPushButton* okButton = makeCommandButton(
        this, QStringLiteral("Command1"), QStringLiteral("OK"), twips(3120, 2520, 1695, 495), 8.25);
    okButton->setDefault(true); // Enter in the name box acts as OK
    connect(okButton, &QPushButton::clicked, this, &NameDialog::onOk);
    setTabOrder(nameBox, okButton);
    new HeldEnterGuard(this, { nameBox, okButton });

    Form_Load(basGlobals, banner);
    nameBox->setFocus();
}

void NameDialog::Form_Load(const GameState& basGlobals, Banner banner)
{
    const QString title = QString::fromStdString(basGlobals.NamePromptTitle);
    if (!title.isEmpty()) {
        heading->setText(title);
        shrinkLabelToText(heading);
    }
    if (banner == Banner::Hidden) {
        bannerPicture->hide();
    }
    nameBox->setSelection(0, static_cast<int>(nameBox->text().size()));
}

void NameDialog::onOk()
{
    accept();
}

void NameDialog::reject()
{
    // Escape does not close the prompt: the caller always gets a name.
}
