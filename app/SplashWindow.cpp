// The splash window shown for three seconds at start-up.
#include "app/SplashWindow.h"

#include "ui/DialogFrame.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

namespace {

// Longest wait for the window system to show the splash before the game goes on regardless.
constexpr int ExposeWaitMs = 1000;

} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogo"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(twipsSize(8130, 3600));
    setModal(true);
    setAccessibleName(QStringLiteral("Pellmoor presents Sumdash!"));

    auto* Image1
        = new SvgPicture(QStringLiteral(":/assets/splash.svg"), SvgPicture::Fit::Stretch, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(0, 0, 8130, 3600));
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Drawn on another core while the window system puts the window up.
    Image1->renderAhead();

    logotime = new QTimer(this);
    logotime->setObjectName(QStringLiteral("logotime"));
    logotime->setInterval(3000);
    logotime->setSingleShot(true);
    connect(logotime, &QTimer::timeout, this, &SplashWindow::logotime_Timer);
    centreOnScreen(this);
}

void SplashWindow::showAtOnce()
{
    // QSplashScreen's way, show and then handle the events queued so far once, left the
    // splash's first frame until after the whole game was built in 11 of 50 starts measured
    // (QSplashScreen itself also draws its picture before showing: 27 to 37 ms to build the
    // splash against 3 ms, as the picture here is drawn on another core). So events are handled
    // until the window system has exposed the window; Qt handles the expose by painting the
    // window and handing the frame over before processEvents() returns.
    show();
    QTimer giveUp;
    giveUp.setSingleShot(true);
    giveUp.start(ExposeWaitMs);
    while (!windowHandle()->isExposed() && giveUp.isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_timeIsUp && !logotime->isActive()) {
        Form_Load();
    }
}

void SplashWindow::Form_Load()
{
    logotime->start();
}

void SplashWindow::logotime_Timer()
{
    logotime->stop();
    m_timeIsUp = true;
    accept();
}

void SplashWindow::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void SplashWindow::closeEvent(QCloseEvent* event)
{
    if (m_timeIsUp) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

void SplashWindow::reject()
{
    // Escape and the window manager's close do nothing: the splash leaves on its timer alone.
}
