// The results window that closes every run: time, counts, percentage and the rewards.
#include "results/StatsWindow.h"

#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "records/ClubBoard.h"
#include "records/ClubFile.h"
#include "records/NameDialog.h"
#include "records/SettingsStore.h"
#include "records/TopTimes.h"
#include "records/TopTimesBoard.h"
#include "results/OnlineSubmission.h"
#include "ui/DialogFrame.h"
#include "ui/HeldEnterGuard.h"
#include "ui/LabelFit.h"
#include "ui/PictureButton.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"
#include "web/SiteDomain.h"
#include "web/WebPages.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {

const QColor ButtonFace(0xE0, 0xE0, 0xE0);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  double pointSize, Qt::Alignment alignment, const QColor& colour = QColor())
{
    auto* label = makeTextLabel(parent, QString::fromLatin1(name), text);
    label->setGeometry(geometry);
    label->setFont(designFont(QStringLiteral("Impact"), pointSize));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    if (colour.isValid()) {
        setTextColour(label, colour);
    }
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry)
{
    return makeCommandButton(parent, QString::fromLatin1(name), text, geometry, 9.75);
}

// A reward button: its picture above its caption; hidden until a qualifying run shows it.
QPushButton* makePictureButton(QWidget* parent, const char* name, const QString& text,
                               const QRect& geometry, const QString& picture,
                               const QSize& pictureSize)
{
    auto* button = new PictureButton(text, picture, pictureSize, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, QFont::Bold));
    setButtonColour(button, ButtonFace);
    button->hide();
    return button;
}

} // namespace

void StatsWindow::showModal(QWidget* parent, GameState& basGlobals, const RunResults& results,
                            RecordStores stores, WebSite site, FactTimesOpener factTimes)
{
    StatsWindow window(parent, basGlobals, results, stores, std::move(site), std::move(factTimes));
    // The results come up first, already modal; the name prompt, a failure to save and the
    // board open over them.
    window.setModal(true);
    window.show();
    window.recordTopTime();
    window.exec();
}

StatsWindow::StatsWindow(QWidget* parent, GameState& globals, const RunResults& results,
                         RecordStores stores, WebSite site, FactTimesOpener factTimes)
    : QDialog(parent)
    , basGlobals(globals)
    , m_results(results)
    , m_stores(stores)
    , m_site(std::move(site))
    , m_factTimes(std::move(factTimes))
{
    setObjectName(QStringLiteral("frmStats"));
    setUpDialogFrame(this, QStringLiteral("Sumdash! Stats:"), twipsSize(6615, 3855));

    timeCaption = makeLabel(this, "Label2", QStringLiteral("Time:"), twips(1440, 0, 2055, 855), 36,
                            Qt::AlignRight);
    ShowTime = makeLabel(this, "ShowTime", QStringLiteral("0:00"), twips(3600, 0, 1320, 900), 36,
                         Qt::AlignLeft, QColor(0x00, 0x00, 0x80));
    correctCaption = makeLabel(this, "Label1", QStringLiteral("Correct:"),
                               twips(1800, 720, 1695, 495), 24, Qt::AlignRight);
    CorrectLab = makeLabel(this, "CorrectLab", QStringLiteral("0"), twips(3600, 720, 1335, 495), 24,
                           Qt::AlignLeft, QColor(0x00, 0x80, 0x00));
    incorrectCaption = makeLabel(this, "Label3", QStringLiteral("Incorrect:"),
                                 twips(1440, 1200, 2055, 495), 24, Qt::AlignRight);
    IncorrectLab
        = makeLabel(this, "IncorrectLab", QStringLiteral("0"), twips(3600, 1200, 1455, 495), 24,
                    Qt::AlignLeft, QColor(0xC0, 0x00, 0x00));
    percentCaption = makeLabel(this, "Label4", QStringLiteral("Correct %:"),
                               twips(1440, 1680, 2055, 495), 24, Qt::AlignRight);
    PercentLab = makeLabel(this, "PercentLab", QStringLiteral("0%"), twips(3600, 1680, 1455, 495),
                           24, Qt::AlignLeft, QColor(0x00, 0x80, 0x00));

    trophyPicture
        = new SvgPicture(QStringLiteral(":/assets/stats.svg"), SvgPicture::Fit::Stretch, this);
    trophyPicture->setObjectName(QStringLiteral("Image1"));
    trophyPicture->setGeometry(twips(4680, 1920, 1545, 1845));
    trophyPicture->setAccessibleName(QStringLiteral("Trophy"));

    joinButton = makePictureButton(this, "Command4", QStringLiteral("Join Sumdash Club!"),
                                   twips(120, 2400, 1575, 1335),
                                   QStringLiteral(":/assets/join.svg"), QSize(48, 48));
    joinButton->setToolTip(QStringLiteral("Click here to join the Sumdash Club."));
    submitButton = makePictureButton(this, "Command1", QStringLiteral("Submit Time To Pellmoor!"),
                                     twips(1920, 2400, 1575, 1335),
                                     QStringLiteral(":/assets/submit.svg"), QSize(80, 48));
    submitButton->setToolTip(
        QStringLiteral("Click here to submit your time to %1.")
            .arg(QString::fromStdString(siteDomain(m_site.address.toStdString()))));
    clubButton = makeButton(this, "Command5", QStringLiteral("View Sumdash Club"),
                            twips(1920, 2400, 2775, 375));
    topTimesButton = makeButton(this, "Command2", QStringLiteral("View Top Times"),
                                twips(1920, 2880, 2775, 375));
    closeButton
        = makeButton(this, "Command3", QStringLiteral("Close"), twips(1920, 3360, 2775, 375));
    connect(submitButton, &QPushButton::clicked, this, &StatsWindow::onSubmit);
    connect(topTimesButton, &QPushButton::clicked, this, &StatsWindow::onViewTopTimes);
    connect(closeButton, &QPushButton::clicked, this, &StatsWindow::onClose);
    connect(joinButton, &QPushButton::clicked, this, &StatsWindow::onJoinClub);
    connect(clubButton, &QPushButton::clicked, this, &StatsWindow::onViewClub);
    // In the top left corner, which every layout leaves free, so the results' own buttons stay
    // where they are; last in the Tab order.
    factTimesButton
        = makeCommandButton(this, QStringLiteral("cmdFactTimes"), QStringLiteral("Fact Times"),
                            twips(60, 60, 1320, 330), 8.25);
    factTimesButton->setToolTip(QStringLiteral("Which facts are known, and which to practise"));
    factTimesButton->setVisible(static_cast<bool>(m_factTimes));
    connect(factTimesButton, &QPushButton::clicked, this, &StatsWindow::onFactTimes);

    new HeldEnterGuard(
        this,
        { submitButton, topTimesButton, closeButton, joinButton, clubButton, factTimesButton });
    setTabOrder(joinButton, submitButton);
    setTabOrder(submitButton, clubButton);
    setTabOrder(clubButton, topTimesButton);
    setTabOrder(topTimesButton, closeButton);
    setTabOrder(closeButton, factTimesButton);

    showResults();
}

void StatsWindow::showResults()
{
    if (basGlobals.TimedMode) {
        if (m_results.qualifies()) {
            joinButton->show();
            submitButton->show();
            for (QPushButton* button : { topTimesButton, closeButton, clubButton }) {
                button->move(twips(3720), button->y());
            }
        }
    } else {
        setWindowTitle(QStringLiteral("Sumdash! Stats (PRACTICE):"));
    }

    if (basGlobals.OnlyAllowCorrect || basGlobals.TimedMode) {
        for (QWidget* widget : { incorrectCaption, percentCaption, IncorrectLab, PercentLab,
                                 correctCaption, CorrectLab }) {
            widget->hide();
        }
        timeCaption->move(twips(1440 - 500), twips(600));
        ShowTime->move(twips(3600 - 500), twips(600));
        trophyPicture->move(trophyPicture->x(), twips(360));
    }

    CorrectLab->setText(QString::number(m_results.correct));
    IncorrectLab->setText(QString::number(m_results.incorrect));
    ShowTime->setText(m_results.clockText());
    fitLabelToText(ShowTime, ShowTime->geometry(), LabelAnchor::Left);
    PercentLab->setText(m_results.percentText());

    // The first visible button takes the focus, so Enter or Space works without the mouse.
    for (QPushButton* button : { joinButton, submitButton, clubButton }) {
        if (!button->isHidden()) {
            button->setFocus();
            break;
        }
    }
}

void StatsWindow::recordTopTime()
{
    if (!basGlobals.TimedMode || !m_results.qualifies()) {
        return;
    }
    const TopTimeRecording recording
        = ::recordTopTime(m_stores.topTimes, basGlobals.ProblemType, m_results.clockText(),
                          [this] { return NameDialog::ask(this, basGlobals); });
    basGlobals.TopTimeSlot = recording.slot;
    // A top time that cannot be kept is said so, never lost in silence.
    if (!recording.saved) {
        showMessage(this, QStringLiteral("Unable to save file."));
    }
    if (basGlobals.TopTimeSlot != NoTopTimeSlot) {
        onViewTopTimes();
    }
    // The keyboard comes back to Join, also where no window manager hands the focus back.
    activateWindow();
}

void StatsWindow::onSubmit()
{
    submitButton->hide();
    basGlobals.NamePromptTitle = submissionPrompt(m_site.address.toStdString());
    const QString name = NameDialog::ask(this, basGlobals, NameDialog::Banner::Hidden);
    const QString address
        = submissionAddress(m_site.address, name, basGlobals.ProblemType, m_results.clockText(),
                            QDate::currentDate(), QLocale());
    openWebAddress(this, m_site.browser, address);
    basGlobals.NamePromptTitle.clear();
    regainFocus();
}

void StatsWindow::onViewTopTimes()
{
    TopTimesBoard::showModal(this, basGlobals, m_stores.topTimes);
}

void StatsWindow::onClose()
{
    accept();
}

void StatsWindow::onFactTimes()
{
    if (m_factTimes && m_factTimes(this)) {
        accept(); // a practice run of the facts that need work begins
        return;
    }
    regainFocus();
}

void StatsWindow::onJoinClub()
{
    const ProblemTypeInfo* type = problemTypeInfo(basGlobals.ProblemType);
    const QString subject = type != nullptr
        ? QString::fromLatin1(type->name.data(), static_cast<qsizetype>(type->name.size()))
        : QString();
    joinButton->hide();
    basGlobals.NamePromptTitle = "You are in the Sumdash Club!";
    const QString name = NameDialog::ask(this, basGlobals);
    if (!m_stores.club.SaveClubRecord(clubRecordText(name, m_results.clockText(), subject))) {
        showMessage(this, QStringLiteral("Unable to save file."));
    }
    basGlobals.NamePromptTitle.clear();
    ClubBoard::showModal(this, basGlobals, m_stores.club);
    regainFocus();
}

void StatsWindow::onViewClub()
{
    ClubBoard::showModal(this, basGlobals, m_stores.club);
}

void StatsWindow::regainFocus()
{
    activateWindow();
    if (QApplication::focusWidget() == nullptr || !isAncestorOf(QApplication::focusWidget())) {
        focusNextChild();
    }
}
