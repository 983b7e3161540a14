// The club board: the members of one problem type, fastest first.
#include "records/ClubBoard.h"

#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "records/ClubFile.h"
#include "records/ClubGridModel.h"
#include "ui/DialogFrame.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace {

/// The type box's items, in order: item index = problem type - 1.
QStringList problemTypeNames()
{
    QStringList names;
    for (const ProblemTypeInfo& type : ProblemTypes) {
        names << QString::fromLatin1(type.name.data(), static_cast<qsizetype>(type.name.size()));
    }
    return names;
}

} // namespace

void ClubBoard::showModal(QWidget* parent, const GameState& basGlobals, const ClubFile& club)
{
    ClubBoard board(parent, basGlobals, club);
    if (board.m_listing.state() == ClubListing::State::TooLarge) {
        showMessage(parent, QStringLiteral("The club list is too big to show."));
    }
    board.exec();
}

ClubBoard::ClubBoard(QWidget* parent, const GameState& basGlobals, const ClubFile& club)
    : QDialog(parent)
    , m_listing(problemTypeNames())
{
    setObjectName(QStringLiteral("frmClub"));
    setUpDialogFrame(this, QStringLiteral("Sumdash Club:"), twipsSize(8295, 6615));

    typeBox = new QComboBox(this);
    typeBox->setObjectName(QStringLiteral("Combo1"));
    typeBox->setEditable(false);
    typeBox->setFont(designFont(QStringLiteral("Impact"), 20.25));
    QPalette comboPalette = typeBox->palette();
    comboPalette.setColor(QPalette::ButtonText, QColor(0x00, 0x80, 0x00));
    comboPalette.setColor(QPalette::Text, QColor(0x00, 0x80, 0x00));
    typeBox->setPalette(comboPalette);
    typeBox->addItems(problemTypeNames());
    typeBox->setGeometry(QRect(twips(240), twips(240), twips(3975), typeBox->sizeHint().height()));
    typeBox->setAccessibleName(QStringLiteral("Problem type"));

    auto* bannerPicture = new SvgPicture(QStringLiteral(":/assets/club-banner.svg"),
                                         SvgPicture::Fit::Stretch, this);
    bannerPicture->setObjectName(QStringLiteral("Image1"));
    bannerPicture->setGeometry(twips(4440, 15, 3690, 900));
    bannerPicture->setAccessibleName(QStringLiteral("Sumdash Club"));

    // The first row is the grid's heading row, written only once the file has been read.
    m_rows = new ClubGridModel(this);
    membersGrid = new QTableView(this);
    membersGrid->setModel(m_rows);
    membersGrid->setObjectName(QStringLiteral("MSFlexGrid1"));
    membersGrid->setGeometry(twips(240, 960, 7815, 5055));
    membersGrid->setFont(designFont(QStringLiteral("Impact"), 18, QFont::Bold));
    membersGrid->horizontalHeader()->hide();
    membersGrid->verticalHeader()->hide();
    membersGrid->setColumnWidth(0, twips(5460));
    membersGrid->setColumnWidth(1, twips(2000));
    membersGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    membersGrid->setSelectionMode(QAbstractItemView::NoSelection);
    membersGrid->setAccessibleName(QStringLiteral("Sumdash Club members"));
    membersGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    membersGrid->verticalHeader()->setDefaultSectionSize(QFontMetrics(membersGrid->font()).height()
                                                         + 6);
    membersGrid->setFocusPolicy(Qt::StrongFocus);

    QPushButton* closeButton
        = makeCommandButton(this, QStringLiteral("Command3"), QStringLiteral("Close"),
                            twips(5280, 6120, 2775, 375), 9.75);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    m_listing.load(club);
    connect(typeBox, &QComboBox::currentIndexChanged, this, &ClubBoard::onTypeChosen);
    // Form_Load: the run's type, or Addition before any run.
    const int index = problemTypeInfo(basGlobals.ProblemType) ? basGlobals.ProblemType - 1 : 0;
    if (typeBox->currentIndex() == index) {
        onTypeChosen();
    } else {
        typeBox->setCurrentIndex(index);
    }
    typeBox->setFocus();
}

ClubBoard::~ClubBoard()
{
    // The grid's rows point into the listing, which goes before the grid and its model do.
    m_rows->clearAll();
}

void ClubBoard::onTypeChosen()
{
    m_rows->clearAll();
    LoadClubList(typeBox->currentText());
}

void ClubBoard::LoadClubList(const QString& typeName)
{
    // Members of every type were read, sorted, when the board opened.
    if (m_listing.state() != ClubListing::State::Read) {
        return;
    }
    m_rows->showMembers(m_listing, m_listing.typeIndex(typeName));
}
