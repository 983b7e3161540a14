// The club board: the members of one problem type, fastest first.
#include "records/ClubBoard.h"

#include "assets/DesignFonts.h"
#include "engine/DialogFrame.h"
#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "engine/SvgPicture.h"
#include "engine/Twips.h"
#include "records/ClubFile.h"
#include "records/ClubGridModel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include <algorithm>


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
    m_rows->clearAll();
    LoadClubList(Combo1->currentText());
}

void ClubBoard::LoadClubList(const QString& typeName)
{
    const std::optional<std::vector<ClubRecord>> records = m_club.read();
    if (!records) {
        return;
    }
    std::vector<std::pair<QString, QString>> members;
    for (const ClubRecord& record : *records) {
        if (record.type == typeName) {
            members.emplace_back(record.name.left(100), record.time.left(100));
        }
    }
    // Fastest first: times are compared as texts, case-sensitively, which is time order for
    // every time that can join; equal times keep their file order.
    std::stable_sort(members.begin(), members.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.second, b.second, Qt::CaseSensitive) < 0;
    });
    m_rows->showMembers(std::move(members));
}
