// The main window: menus, toolbar, the count and clock row, the banner and the page.
#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/SplashWindow.h"
#include "app/WoodBackground.h"
#include "assets/ArtIcons.h"
#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "engine/RunClock.h"
#include "facts/FactHistory.h"
#include "facts/FactTimesWindow.h"
#include "page/AnswerBox.h"
#include "page/ProblemPage.h"
#include "records/ClubBoard.h"
#include "records/TopTimesBoard.h"
#include "results/StatsWindow.h"
#include "setup/OptionsDialog.h"
#include "setup/SelectDialog.h"
#include "ui/DialogFrame.h"
#include "ui/LabelFit.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"
#include "web/WebPages.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

void setLabelText(QLabel* label, const QString& text)
{
    if (label->text() != text) {
        label->setText(text);
    }
}

QLabel* makeImpactLabel(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry, Qt::Alignment alignment, const QColor& colour = {})
{
    auto* label = makeTextLabel(parent, QString::fromLatin1(name), text);
    label->setGeometry(geometry);
    label->setFont(designFont(QStringLiteral("Impact"), 24));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    if (colour.isValid()) {
        setTextColour(label, colour);
    }
    label->hide();
    return label;
}

struct ToolbarButton
{
    const char* key;
    const char* toolTip;
};

// Positions 4 and 7 are separators.
constexpr std::array<ToolbarButton, 8> ToolbarButtons { {
    { "dash", "Begin Sumdash!" },
    { "practice", "Practice Mode" },
    { "stop", "Stop Game" },
    { nullptr, nullptr },
    { "club", "View Sumdash Club" },
    { "toptime", "View Top Times" },
    { nullptr, nullptr },
    { "web", "Pellmoor On The Web" },
} };

// The clock sits at the window's right edge: past 9:59 it grows to the left.
constexpr QRect ShowTimeGeometry = twips(7800, 840, 855, 585);

void showClock(QLabel* ShowTime, const QString& text)
{
    setLabelText(ShowTime, text);
    fitLabelToText(ShowTime, ShowTimeGeometry, LabelAnchor::Right);
}

} // namespace

MainWindow::MainWindow(GameState& globals, RandomSource& random, RunClock& runClock,
                       RecordStores stores, FactHistory& facts, DesktopServices desktop)
    : basGlobals(globals)
    , m_runClock(runClock)
    , m_stores(stores)
    , m_desktop(desktop)
    , m_facts(facts)
    , m_run(globals, random)
{
    m_run.setAnswerListener([this](const JudgedAnswer& answer) { m_facts.answered(answer); });
    connect(&m_facts, &FactHistory::problemFound, this, &MainWindow::tellFactProblem);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pellmoor - Sumdash!"));
    setWindowIcon(applicationIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* client = new WoodBackground(this);
    m_wood = client;
    client->setFixedSize(twipsSize(8775, 6240));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    buildMenus();
    buildToolbar(client);
    buildCountsRow(client);

    auto* pencilPicture
        = new SvgPicture(QStringLiteral(":/assets/pencil.svg"), SvgPicture::Fit::Stretch, client);
    pencilPicture->setObjectName(QStringLiteral("Image1"));
    pencilPicture->setAccessibleName(QStringLiteral("Pencil"));
    pencilPicture->setGeometry(twips(600, 1920, 810, 3495));

    page = new ProblemPage(client);
    page->setGeometry(twips(2280, 1560, 6495, 4695));
    connect(page, &SvgPicture::clicked, this, &MainWindow::onPageClicked);
    AnswerBox* AnsText = page->answerBox();
    connect(AnsText, &AnswerBox::keyDown, this, &MainWindow::AnsText_KeyDown);
    connect(AnsText, &AnswerBox::enterPressed, this, &MainWindow::onAnswerEntered);
    connect(AnsText, &AnswerBox::keyUp, this, &MainWindow::AnsText_KeyUp);

    buildBanner(client); // after the page, so the banner covers it

    // Precise timers keep their one-second rhythm instead of drifting by a few milliseconds a
    // tick; the clock also reads the stopwatch, so a late tick cannot cost the player a second.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    Timer2->setTimerType(Qt::PreciseTimer);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);

    centreOnScreen(this);
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::addMenuItem(QMenu* menu, const char* name, const QString& caption,
                                 const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto addSeparator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuDash = addMenuItem(mnuFile, "mnuDash", QStringLiteral("Sum&dash!"), Qt::Key_F5);
    mnuStart = addMenuItem(mnuFile, "mnuStart", QStringLiteral("&Practice Mode"), Qt::Key_F6);
    mnuStop = addMenuItem(mnuFile, "mnuStop", QStringLiteral("&Stop"), Qt::CTRL | Qt::Key_S);
    addSeparator(mnuFile, "mnuBreak1");
    mnuOptions = addMenuItem(mnuFile, "mnuOptions", QStringLiteral("Practice Mode &Options"),
                             Qt::CTRL | Qt::Key_O);
    addSeparator(mnuFile, "mnuBreak3");
    mnuExit = addMenuItem(mnuFile, "mnuExit", QStringLiteral("&Exit"), Qt::CTRL | Qt::Key_E);

    mnuTools = bar->addMenu(QStringLiteral("&Top Times"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    mnuBestTimes
        = addMenuItem(mnuTools, "mnuBestTimes", QStringLiteral("&View Top Times"), Qt::Key_F7);
    mnuViewClub
        = addMenuItem(mnuTools, "mnuViewClub", QStringLiteral("View &Sumdash Club"), Qt::Key_F8);
    mnuOnlineTimes = addMenuItem(mnuTools, "mnuOnlineTimes", QStringLiteral("O&nline Top Times"),
                                 Qt::CTRL | Qt::Key_T);
    mnuFactTimes = addMenuItem(mnuTools, "mnuFactTimes", QStringLiteral("&Fact Times"), Qt::Key_F9);

    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuPellmoorOnWeb = mnuHelp->addMenu(QStringLiteral("Pellmoor On The &Web"));
    mnuPellmoorOnWeb->setObjectName(QStringLiteral("mnuPellmoorOnWeb"));
    mnuSumdashOnline
        = addMenuItem(mnuPellmoorOnWeb, "mnuSumdashOnline", QStringLiteral("Sum&dash!"));
    mnuHome = addMenuItem(mnuPellmoorOnWeb, "mnuHome", QStringLiteral("Pellmoor &Homepage"));
    addSeparator(mnuPellmoorOnWeb, "pgu");
    mnuOnSupport = addMenuItem(mnuPellmoorOnWeb, "mnuOnSupport", QStringLiteral("Online &Support"));
    addSeparator(mnuHelp, "mnuBreak2");
    mnuAbout = addMenuItem(mnuHelp, "mnuAbout", QStringLiteral("&About Sumdash!"));

    connect(mnuDash, &QAction::triggered, this, &MainWindow::mnuDash_Click);
    connect(mnuStart, &QAction::triggered, this, &MainWindow::mnuStart_Click);
    connect(mnuStop, &QAction::triggered, this, &MainWindow::mnuStop_Click);
    connect(mnuOptions, &QAction::triggered, this, &MainWindow::mnuOptions_Click);
    connect(mnuExit, &QAction::triggered, this, &MainWindow::mnuExit_Click);
    connect(mnuBestTimes, &QAction::triggered, this, &MainWindow::mnuBestTimes_Click);
    connect(mnuViewClub, &QAction::triggered, this, &MainWindow::mnuViewClub_Click);
    connect(mnuOnlineTimes, &QAction::triggered, this, &MainWindow::mnuOnlineTimes_Click);
    connect(mnuFactTimes, &QAction::triggered, this, &MainWindow::mnuFactTimes_Click);
    connect(mnuSumdashOnline, &QAction::triggered, this, &MainWindow::mnuSumdashOnline_Click);
    connect(mnuHome, &QAction::triggered, this, &MainWindow::mnuHome_Click);
    connect(mnuOnSupport, &QAction::triggered, this, &MainWindow::mnuOnSupport_Click);
    connect(mnuAbout, &QAction::triggered, this, &MainWindow::mnuAbout_Click);
}

void MainWindow::buildToolbar(QWidget* client)
{
    Toolbar1 = new QToolBar(client);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setGeometry(twips(0, 0, 8775, 840));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(48, 48));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setAutoFillBackground(true);

    for (const ToolbarButton& button : ToolbarButtons) {
        if (button.key == nullptr) {
            Toolbar1->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(button.key);
        QAction* action
            = Toolbar1->addAction(toolbarIcon(key), QString::fromLatin1(button.toolTip));
        action->setToolTip(QString::fromLatin1(button.toolTip));
        action->setObjectName(QStringLiteral("Toolbar1_") + key);
        Toolbar1->widgetForAction(action)->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        m_toolbarButtons[key] = action;
    }
}

void MainWindow::buildCountsRow(QWidget* client)
{
    correctCaption = makeImpactLabel(client, "Label1", QStringLiteral("Correct:"),
                                     twips(240, 840, 1695, 495), Qt::AlignRight);
    CorrectLab
        = makeImpactLabel(client, "CorrectLab", QStringLiteral("0"), twips(2040, 840, 855, 495),
                          Qt::AlignLeft, QColor(0x00, 0x80, 0x00));
    incorrectCaption = makeImpactLabel(client, "Label3", QStringLiteral("Incorrect:"),
                                       twips(2880, 840, 2055, 495), Qt::AlignRight);
    IncorrectLab
        = makeImpactLabel(client, "IncorrectLab", QStringLiteral("0"), twips(5040, 840, 1215, 495),
                          Qt::AlignLeft, QColor(0xC0, 0x00, 0x00));
    ShowTime = makeImpactLabel(client, "ShowTime", QStringLiteral("0:00"), ShowTimeGeometry,
                               Qt::AlignLeft, QColor(0x00, 0x00, 0xC0));
}

void MainWindow::buildBanner(QWidget* client)
{
    pbStatus = new SvgPicture(QStringLiteral(":/assets/banner.svg"), SvgPicture::Fit::NaturalSize,
                              client);
    pbStatus->setObjectName(QStringLiteral("pbStatus"));
    pbStatus->setGeometry(twips(720, 2280, 7335, 2055));
    lblStatus = makeTextLabel(pbStatus, QStringLiteral("lblStatus"), QStringLiteral("Ready..."));
    lblStatus->setGeometry(twips(120, 120, 6975, 1815));
    lblStatus->setFont(designFont(QStringLiteral("Impact"), 72, QFont::Bold, QFont::StyleItalic));
    lblStatus->setAlignment(Qt::AlignCenter);
    lblStatus->setAttribute(Qt::WA_TranslucentBackground);
    pbStatus->hide();
}

void MainWindow::Form_Load(Splash splash)
{
    if (splash == Splash::Show) {
        SplashWindow frmLogo;
        frmLogo.showAtOnce();
        Form_Load(frmLogo);
        return;
    }
    basGlobals.PracticeProblemCount = 100;
    basGlobals.MaxOperand = 12;
    show();
    ResetGameDisplay();
}

void MainWindow::Form_Load(SplashWindow& frmLogo)
{
    // Closing the splash must not count as the last window closing: the main window appears
    // only after it.
    const bool quitOnLastWindow = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    // The desk is drawn while the splash is up, not after it.
    QTimer::singleShot(200, m_wood, &WoodBackground::prepare);
    if (frmLogo.isVisible()) {
        frmLogo.exec();
    }
    QApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
    Form_Load(Splash::Skip);
}

void MainWindow::mnuDash_Click()
{
    basGlobals.TimedMode = true;
    BeginRun();
}

void MainWindow::mnuStart_Click()
{
    basGlobals.TimedMode = false;
    OptionsDialog::showModal(this, basGlobals, [this](const CountsRowVisibility& row) {
        m_run.setCountsRow(row);
        showView();
    });
    regainFocus();
    if (basGlobals.DialogResult == 0) {
        BeginRun();
    }
}

void MainWindow::mnuStop_Click()
{
    StopRun();
}

void MainWindow::mnuOptions_Click()
{
    OptionsDialog::showModal(this, basGlobals, [this](const CountsRowVisibility& row) {
        m_run.setCountsRow(row);
        showView();
    });
    regainFocus();
}

void MainWindow::mnuExit_Click()
{
    close();
}

void MainWindow::mnuBestTimes_Click()
{
    TopTimesBoard::showModal(this, basGlobals, m_stores.topTimes);
    regainFocus();
}

void MainWindow::mnuViewClub_Click()
{
    ClubBoard::showModal(this, basGlobals, m_stores.club);
    regainFocus();
}

void MainWindow::mnuOnlineTimes_Click()
{
    OpenWebPage(this, m_desktop.site, QStringLiteral("/cgi-bin/toptimes.pl"));
}

void MainWindow::mnuSumdashOnline_Click()
{
    OpenWebPage(this, m_desktop.site, QStringLiteral("/sumdash.htm"));
}

void MainWindow::mnuHome_Click()
{
    OpenWebPage(this, m_desktop.site, QStringLiteral("/"));
}

void MainWindow::mnuOnSupport_Click()
{
    OpenWebPage(this, m_desktop.site, QStringLiteral("/contact.htm"));
}

void MainWindow::mnuAbout_Click()
{
    AboutBox::showModal(this, m_desktop.systemInfo);
    regainFocus();
}

void MainWindow::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("dash")) {
        mnuDash_Click();
    } else if (key == QLatin1String("practice")) {
        mnuStart_Click();
    } else if (key == QLatin1String("stop")) {
        mnuStop_Click();
    } else if (key == QLatin1String("club")) {
        mnuViewClub_Click();
    } else if (key == QLatin1String("toptime")) {
        mnuBestTimes_Click();
    } else if (key == QLatin1String("web")) {
        mnuHome_Click();
    }
}

void MainWindow::BeginRun()
{
    SelectDialog::showModal(this, basGlobals);
    regainFocus();
    if (basGlobals.DialogResult != 0) {
        return;
    }
    m_run.setPracticeProblems({});
    startCountdown();
}

void MainWindow::startCountdown()
{
    m_run.startCountdown();
    showView();
    // A start while a countdown is already going ("Set..." on show) begins a fresh one: every
    // step keeps its whole second, however far the old countdown had come.
    Timer2->start();
}

void MainWindow::mnuFactTimes_Click()
{
    tellUntoldFactProblem();
    std::optional<FactPracticeRequest> practice
        = FactTimesWindow::showModal(this, m_facts, basGlobals.ProblemType);
    regainFocus();
    if (practice) {
        practiseFacts(std::move(*practice));
    }
}

void MainWindow::practiseFacts(FactPracticeRequest request)
{
    // A practice run with the practice options as they are set, of the chosen operation, its
    // problems drawn from the facts that need work.
    basGlobals.TimedMode = false;
    basGlobals.ProblemType = static_cast<std::int16_t>(static_cast<int>(request.operation) + 1);
    auto deck = std::make_shared<PracticeDeck>(std::move(request.deck));
    m_run.setPracticeProblems([deck](RandomSource& random) { return deck->draw(random); });
    startCountdown();
}

void MainWindow::tellFactProblem(const QString& message)
{
    m_untoldFactProblem = message;
    tellUntoldFactProblem();
}

// Never over a run or another window: the child plays on, and the message waits for the end of
// the run, the results window closing, or the Fact Times window opening.
void MainWindow::tellUntoldFactProblem()
{
    if (m_untoldFactProblem.isEmpty() || QApplication::activeModalWidget() != nullptr
        || Timer1->isActive() || Timer2->isActive() || !isVisible()) {
        return;
    }
    showMessage(this, std::exchange(m_untoldFactProblem, QString()));
    regainFocus();
}

void MainWindow::ResetGameDisplay()
{
    m_run.ResetGameDisplay();
    showView();
}

void MainWindow::StopRun()
{
    m_run.StopRun();
    m_facts.runEnded();
    showView();
    tellUntoldFactProblem();
}

void MainWindow::FinishRun()
{
    m_run.FinishRun(m_runClock.elapsedMs());
    m_facts.runEnded();
    showView();
    // Heard by a screen reader before the results window takes over.
    page->setAccessibleDescription(QStringLiteral("Finished! Time %1").arg(ShowTime->text()));
    QAccessibleEvent finished(page, QAccessible::Alert);
    QAccessible::updateAccessibility(&finished);
    std::optional<FactPracticeRequest> practice;
    StatsWindow::showModal(
        this, basGlobals, RunResults::of(basGlobals), m_stores, m_desktop.site, [&](QWidget* over) {
            practice = FactTimesWindow::showModal(over, m_facts, basGlobals.ProblemType);
            return practice.has_value();
        });
    regainFocus();
    if (practice) {
        practiseFacts(std::move(*practice));
        return;
    }
    tellUntoldFactProblem();
}

// When a dialog closes, the keyboard comes straight back here, so the next key (F5, a digit)
// is not lost even on a desktop whose window manager does not hand the focus back.
void MainWindow::regainFocus()
{
    if (isVisible()) {
        activateWindow();
    }
}

void MainWindow::Timer2_Timer()
{
    if (m_run.countdownStep()) {
        m_runClock.restart();
        m_facts.runStarted(basGlobals.TimedMode, basGlobals.MaxOperand,
                           basGlobals.OnlyAllowCorrect);
    }
    showView();
}

void MainWindow::Timer1_Timer()
{
    m_run.clockStep(m_runClock.elapsedMs());
    showClock(ShowTime, fromStd(m_run.view().ShowTime));
}

void MainWindow::AnsText_KeyDown(const QString& typedText, bool isBackspace)
{
    m_run.answerKeyDown(typedText.toStdString(), isBackspace, m_runClock.elapsedMs());
    page->showView(m_run.view());
}

void MainWindow::onAnswerEntered()
{
    if (m_run.answerEnter(m_runClock.elapsedMs()) == AnswerOutcome::RunFinished) {
        FinishRun();
        return;
    }
    showView();
}

void MainWindow::AnsText_KeyUp()
{
    m_run.answerKeyUp();
    page->showView(m_run.view());
}

void MainWindow::onPageClicked()
{
    AnswerBox* AnsText = page->answerBox();
    if (AnsText->isVisible() && AnsText->isEnabled()) {
        AnsText->setFocus(Qt::MouseFocusReason);
    }
}

void MainWindow::showView()
{
    const DrillView& view = m_run.view();
    page->showView(view);

    setLabelText(CorrectLab, fromStd(view.CorrectLab));
    setLabelText(IncorrectLab, fromStd(view.IncorrectLab));
    showClock(ShowTime, fromStd(view.ShowTime));
    correctCaption->setVisible(view.countsRow.correctCaption);
    CorrectLab->setVisible(view.countsRow.CorrectLab);
    incorrectCaption->setVisible(view.countsRow.incorrectCaption);
    IncorrectLab->setVisible(view.countsRow.IncorrectLab);
    ShowTime->setVisible(view.countsRow.ShowTime);

    setLabelText(lblStatus, fromStd(view.lblStatus));
    const QColor statusColour(view.lblStatusColour.red, view.lblStatusColour.green,
                              view.lblStatusColour.blue);
    if (lblStatus->palette().color(QPalette::WindowText) != statusColour) {
        setTextColour(lblStatus, statusColour);
    }
    pbStatus->setVisible(view.pbStatusVisible);

    if (view.Timer2Enabled != Timer2->isActive()) {
        view.Timer2Enabled ? Timer2->start() : Timer2->stop();
    }
    if (view.Timer1Enabled != Timer1->isActive()) {
        view.Timer1Enabled ? Timer1->start() : Timer1->stop();
    }

    const EnabledCommands& commands = view.commands;
    mnuDash->setEnabled(commands.mnuDash);
    m_toolbarButtons.at(QStringLiteral("dash"))->setEnabled(commands.mnuDash);
    mnuStart->setEnabled(commands.mnuStart);
    m_toolbarButtons.at(QStringLiteral("practice"))->setEnabled(commands.mnuStart);
    mnuOptions->setEnabled(commands.mnuOptions);
    // A locked menu takes its items' shortcut keys with it.
    mnuTools->setEnabled(commands.mnuTools);
    for (QAction* item : mnuTools->actions()) {
        item->setEnabled(commands.mnuTools);
    }
    m_toolbarButtons.at(QStringLiteral("club"))->setEnabled(commands.mnuTools);
    m_toolbarButtons.at(QStringLiteral("toptime"))->setEnabled(commands.mnuTools);

    if (m_run.takeFocusRequest()) {
        page->answerBox()->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    Timer2->stop();
    m_facts.runEnded(); // a practice run cut short by closing keeps what was answered
    QMainWindow::closeEvent(event);
}
