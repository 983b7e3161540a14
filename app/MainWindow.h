// The main window: menus, toolbar, the count and clock row, the banner and the page.
#pragma once

#include "engine/DrillRun.h"
#include "records/RecordStores.h"
#include "web/WebSite.h"

class SystemInfoLauncher;

/// What the main window reaches outside the program through: the maker's site in a browser, a
/// system tool.
struct DesktopServices
{
    WebSite site;
    SystemInfoLauncher& systemInfo;
};

#include <QMainWindow>
#include <map>

class SplashWindow;
class FactHistory;
struct FactPracticeRequest;

struct GameState;
class ProblemPage;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class RandomSource;
class RunClock;
class SvgPicture;
class WoodBackground;

/// frmMain. A thin shell over DrillRun: handlers pass commands, ticks and keys to the engine
/// and show its view; the dialogs are opened from here.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    enum class Splash { Show, Skip };

    /// The window is built hidden; Form_Load runs the start-up and shows it.
    MainWindow(GameState& basGlobals, RandomSource& random, RunClock& runClock, RecordStores stores,
               FactHistory& facts, DesktopServices desktop);
    ~MainWindow() override;

    /// Start-up: practice defaults, the splash for three seconds (tests skip it), then the
    /// window itself with a reset display.
    void Form_Load(Splash splash);
    /// The start-up with the splash already on screen (SplashWindow::showAtOnce()): waits for
    /// it to close, then shows the main window.
    void Form_Load(SplashWindow& frmLogo);

public slots:
    void mnuDash_Click();
    void mnuStart_Click();
    void mnuStop_Click();
    void mnuOptions_Click();
    void mnuExit_Click();
    void mnuBestTimes_Click();
    void mnuViewClub_Click();
    void mnuOnlineTimes_Click();
    void mnuFactTimes_Click();
    void mnuSumdashOnline_Click();
    void mnuHome_Click();
    void mnuOnSupport_Click();
    void mnuAbout_Click();
    void Toolbar1_ButtonClick(const QString& key);
    void Timer1_Timer();
    void Timer2_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar(QWidget* client);
    void buildCountsRow(QWidget* client);
    void buildBanner(QWidget* client);
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut = {});

    void BeginRun();
    void startCountdown();
    /// "Practise these" in the Fact Times window: a practice run of the facts that need work.
    void practiseFacts(FactPracticeRequest request);
    /// A problem with the fact history file, told when no other window is in the way.
    void tellFactProblem(const QString& message);
    void tellUntoldFactProblem();
    void ResetGameDisplay();
    void StopRun();
    void FinishRun();
    void AnsText_KeyDown(const QString& typedText, bool isBackspace);
    void onAnswerEntered();
    void AnsText_KeyUp();
    void onPageClicked();

    void regainFocus();
    /// Brings every control in line with the engine's view of the run.
    void showView();

    GameState& basGlobals;
    RunClock& m_runClock;
    RecordStores m_stores;
    DesktopServices m_desktop;
    FactHistory& m_facts;
    DrillRun m_run;
    QString m_untoldFactProblem;

    QMenu* mnuFile = nullptr;
    QMenu* mnuTools = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* mnuPellmoorOnWeb = nullptr;
    QAction* mnuDash = nullptr;
    QAction* mnuStart = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuBestTimes = nullptr;
    QAction* mnuViewClub = nullptr;
    QAction* mnuOnlineTimes = nullptr;
    QAction* mnuFactTimes = nullptr;
    QAction* mnuSumdashOnline = nullptr;
    QAction* mnuHome = nullptr;
    QAction* mnuOnSupport = nullptr;
    QAction* mnuAbout = nullptr;

    WoodBackground* m_wood = nullptr;
    QToolBar* Toolbar1 = nullptr;
    std::map<QString, QAction*> m_toolbarButtons;

    QLabel* correctCaption = nullptr;
    QLabel* CorrectLab = nullptr;
    QLabel* incorrectCaption = nullptr;
    QLabel* IncorrectLab = nullptr;
    QLabel* ShowTime = nullptr;
    SvgPicture* pbStatus = nullptr;
    QLabel* lblStatus = nullptr;
    ProblemPage* page = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};
