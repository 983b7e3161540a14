// The club board: the members of one problem type, fastest first.
#include "records/ClubBoard.h"

#include "assets/DesignFonts.h"
#include "engine/DialogFrame.h"
#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "engine/SvgPicture.h"
#include "engine/Twips.h"
#include "records/ClubFile.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace {

// The grid's first row is its heading, as a fixed row: it scrolls with nothing and is written
// only once the file has been read.
void setCell(QTableWidget* grid, int row, int column, const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (row == 0) {
        item->setBackground(QColor(0xC0, 0xC0, 0xC0));
    }
    grid->setItem(row, column, item);
}

} // namespace

void ClubBoard::showModal(QWidget* parent, const GameState& basGlobals, const ClubFile& club)
{
    ClubBoard board(parent, basGlobals, club);
    board.exec();
}

ClubBoard::ClubBoard(QWidget* parent, const GameState& basGlobals, const ClubFile& club)
    : QDialog(parent)
    , m_club(club)
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
    for (const ProblemTypeInfo& type : ProblemTypes) {
        Combo1->addItem(QString::fromLatin1(type.name.data(), static_cast<qsizetype>(type.name.size())));
    }
    Combo1->setGeometry(QRect(twips(240), twips(240), twips(3975), Combo1->sizeHint().height()));
    Combo1->setAccessibleName(QStringLiteral("Problem type"));

    auto* Image1 = new SvgPicture(QStringLiteral(":/assets/club-banner.svg"), SvgPicture::Fit::Stretch, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(4440, 15, 3690, 900));

    MSFlexGrid1 = new QTableWidget(2, 2, this);
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
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(
        QFontMetrics(MSFlexGrid1->font()).height() + 6);

    auto* Command3 = new QPushButton(QStringLiteral("Close"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(twips(5280, 6120, 2775, 375));
    Command3->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, QFont::Bold));
    setButtonColour(Command3, QColor(0xE0, 0xE0, 0xE0));
    connect(Command3, &QPushButton::clicked, this, &QDialog::accept);

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

void ClubBoard::Combo1_Click()
{
    MSFlexGrid1->clearContents();
    MSFlexGrid1->setRowCount(2);
    LoadClubList(Combo1->currentText());
}

void ClubBoard::LoadClubList(const QString& typeName)
{
    const std::optional<std::vector<ClubRecord>> records = m_club.read();
    if (!records) {
        return;
    }
    setCell(MSFlexGrid1, 0, 0, QStringLiteral("Name"));
    setCell(MSFlexGrid1, 0, 1, QStringLiteral("Time"));

    std::vector<const ClubRecord*> members;
    for (const ClubRecord& record : *records) {
        if (record.type == typeName) {
            members.push_back(&record);
        }
    }
    // Fastest first: times are compared as texts, case-sensitively, which is time order for
    // every time that can join; equal times keep their file order.
    std::stable_sort(members.begin(), members.end(), [](const ClubRecord* a, const ClubRecord* b) {
        return QString::compare(a->time, b->time, Qt::CaseSensitive) < 0;
    });
    MSFlexGrid1->setUpdatesEnabled(false);
    MSFlexGrid1->setRowCount(static_cast<int>(members.size()) + 1);
    int row = 1;
    for (const ClubRecord* member : members) {
        setCell(MSFlexGrid1, row, 0, member->name.left(100));
        setCell(MSFlexGrid1, row, 1, member->time.left(100));
        ++row;
    }
    MSFlexGrid1->setUpdatesEnabled(true);
}
