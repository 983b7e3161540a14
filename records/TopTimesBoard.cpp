// The top-times board: the five best times and names of one problem type at a time.
#include "records/TopTimesBoard.h"

#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "records/BoardText.h"
#include "ui/DialogFrame.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QColor Selected(0xC0, 0xC0, 0xC0);
const QColor Unselected(0xE0, 0xE0, 0xE0);
const QColor RowBackground(0xE0, 0xE0, 0xE0);

constexpr std::array<int, 5> RowTops { 1680, 2400, 3000, 3600, 4200 };
constexpr std::array<int, 5> ButtonTops { 120, 600, 1080, 1560, 2040 };

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                  const QFont& font, Qt::Alignment alignment, const QColor& colour = {})
{
    auto* label = makeTextLabel(parent, name, text);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, RowBackground);
    if (colour.isValid()) {
        palette.setColor(QPalette::WindowText, colour);
    }
    label->setPalette(palette);
    return label;
}

} // namespace

void TopTimesBoard::showModal(QWidget* parent, const GameState& basGlobals,
                              const SettingsStore& store)
{
    TopTimesBoard board(parent, basGlobals, store);
    board.exec();
}

TopTimesBoard::TopTimesBoard(QWidget* parent, const GameState& basGlobals,
                             const SettingsStore& store)
    : QDialog(parent)
    , m_problemType(problemTypeInfo(basGlobals.ProblemType) ? basGlobals.ProblemType : 1)
{
    setObjectName(QStringLiteral("frmHighScores"));
    setUpDialogFrame(this, QStringLiteral("Sumdash! Top Times:"), twipsSize(9735, 4815));

    makeLabel(this, QStringLiteral("Label5"), QStringLiteral("Top Sumdash! Times"),
              twips(120, 120, 6855, 735), designFont(QStringLiteral("Impact"), 26.25),
              Qt::AlignHCenter, QColor(0x00, 0x00, 0x80));
    typeHeading
        = makeLabel(this, QStringLiteral("Label4"), QString(), twips(120, 960, 6855, 615),
                    designFont(QStringLiteral("Impact"), 24, QFont::Normal, QFont::StyleItalic),
                    Qt::AlignHCenter, QColor(0x00, 0x00, 0xFF));

    for (int place = 0; place < 5; ++place) {
        const bool first = place == 0;
        const int height = first ? 615 : 495;
        const QFont font = designFont(QStringLiteral("Impact"), first ? 21.75 : 18);
        makeLabel(this, QStringLiteral("Label2_%1").arg(place), QString::number(place + 1),
                  twips(120, RowTops[place], 405, height), font, Qt::AlignHCenter);
        timeLabels[place]
            = makeLabel(this, QStringLiteral("Label1_%1").arg(place), QString(),
                        twips(720, RowTops[place], 1695, height), font, Qt::AlignLeft);
        nameLabels[place]
            = makeLabel(this, QStringLiteral("Label3_%1").arg(place), QString(),
                        twips(2640, RowTops[place], 4335, height), font, Qt::AlignLeft);
    }

    for (int index = 0; index < 5; ++index) {
        const ProblemTypeInfo& type = ProblemTypes[static_cast<std::size_t>(index)];
        QPushButton* button = makeCommandButton(
            this, QStringLiteral("Command1_%1").arg(index),
            QString::fromLatin1(type.name.data(), static_cast<qsizetype>(type.name.size())),
            twips(7080, ButtonTops[static_cast<std::size_t>(index)], 2535, 375), 12);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { onTypeChosen(index); });
        typeButtons[static_cast<std::size_t>(index)] = button;
    }
    QPushButton* closeButton
        = makeCommandButton(this, QStringLiteral("Command2"), QStringLiteral("Close"),
                            twips(7080, 4320, 2535, 375), 12);
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* podiumPicture
        = new SvgPicture(QStringLiteral(":/assets/toptimes.svg"), SvgPicture::Fit::Stretch, this);
    podiumPicture->setObjectName(QStringLiteral("Image1"));
    podiumPicture->setGeometry(twips(7440, 2445, 1545, 1845));
    podiumPicture->setAccessibleName(QStringLiteral("Winners' podium"));
    podiumPicture->lower();

    Form_Load(store);
}

void TopTimesBoard::Form_Load(const SettingsStore& store)
{
    m_tables = loadTopTimes(store);
    showTable(m_problemType - 1);
}

void TopTimesBoard::onTypeChosen(int index)
{
    showTable(index);
    // The keyboard stays on the chosen type, also when it was pressed without taking the focus
    // (a screen reader's press), so Tab walks on from there.
    typeButtons[static_cast<std::size_t>(index)]->setFocus(Qt::OtherFocusReason);
}

void TopTimesBoard::showTable(int index)
{
    for (QPushButton* button : typeButtons) {
        setButtonColour(button, Unselected);
    }
    const ProblemTypeInfo& type = ProblemTypes[static_cast<std::size_t>(index)];
    typeHeading->setText(
        QString::fromLatin1(type.name.data(), static_cast<qsizetype>(type.name.size())));
    setButtonColour(typeButtons[static_cast<std::size_t>(index)], Selected);
    const TopTimeTable& table = m_tables.tables[static_cast<std::size_t>(index)];
    for (std::size_t place = 0; place < 5; ++place) {
        showStoredText(timeLabels[place], table.times[place]);
        showStoredText(nameLabels[place], table.names[place]);
    }
}

void TopTimesBoard::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    typeButtons[static_cast<std::size_t>(m_problemType - 1)]->setFocus(Qt::OtherFocusReason);
}
