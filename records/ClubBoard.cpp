// The club board: the members of one problem type, fastest first.
#include "records/ClubBoard.h"

#include "assets/DesignFonts.h"
#include "ui/DialogFrame.h"
#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"
#include "records/ClubFile.h"
#include "records/ClubGridModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace {

/// The items of Combo1, in order: item index = problem type - 1.
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

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(false);
    Combo1->setFont(designFont(QStringLiteral("Impact"), 20.25));
    QPalette comboPalette = Combo1->palette();
    comboPalette.setColor(QPalette::ButtonText, QColor(0x00, 0x80, 0x00));
    comboPalette.setColor(QPalette::Text, QColor(0x00, 0x80, 0x00));
    Combo1->setPalette(comboPalette);
    Combo1->addItems(problemTypeNames());
    Combo1->setGeometry(QRect(twips(240), twips(240), twips(3975), Combo1->sizeHint().height()));
    Combo1->setAccessibleName(QStringLiteral("Problem type"));

    auto* Image1 = new SvgPicture(QStringLiteral(":/assets/club-banner.svg"), SvgPicture::Fit::Stretch, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(4440, 15, 3690, 900));
    Image1->setAccessibleName(QStringLiteral("Sumdash Club"));

    // The first row is the grid's heading row, written only once the file has been read.
    m_rows = new ClubGridModel(this);
    MSFlexGrid1 = new QTableView(this);
    MSFlexGrid1->setModel(m_rows);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setGeometry(twips(240, 960, 7815, 5055));
    MSFlexGrid1->setFont(designFont(QStringLiteral("Impact"), 18, QFont::Bold));
    MSFlexGrid1->horizontalHeader()->hide();
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->setColumnWidth(0, twips(5460));
    MSFlexGrid1->setColumnWidth(1, twips(2000));
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    MSFlexGrid1->setAccessibleName(QStringLiteral("Sumdash Club members"));
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(
        QFontMetrics(MSFlexGrid1->font()).height() + 6);
    MSFlexGrid1->setFocusPolicy(Qt::StrongFocus);

    QPushButton* Command3 = makeCommandButton(this, QStringLiteral("Command3"), QStringLiteral("Close"),
                                              twips(5280, 6120, 2775, 375), 9.75);
    connect(Command3, &QPushButton::clicked, this, &QDialog::accept);

    m_listing.load(club);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &ClubBoard::Combo1_Click);
    // Form_Load: the run's type, or Addition before any run.
    const int index = problemTypeInfo(basGlobals.ProblemType) ? basGlobals.ProblemType - 1 : 0;
    if (Combo1->currentIndex() == index) {
        Combo1_Click();
    } else {
        Combo1->setCurrentIndex(index);
    }
    Combo1->setFocus();
}

ClubBoard::~ClubBoard()
{
    // The grid's rows point into the listing, which goes before the grid and its model do.
    m_rows->clearAll();
}

void ClubBoard::Combo1_Click()
{
    m_rows->clearAll();
    LoadClubList(Combo1->currentText());
}

void ClubBoard::LoadClubList(const QString& typeName)
{
    // Members of every type were read, sorted, when the board opened.
    if (m_listing.state() != ClubListing::State::Read) {
        return;
    }
    m_rows->showMembers(m_listing, m_listing.typeIndex(typeName));
}
