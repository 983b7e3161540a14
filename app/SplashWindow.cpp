// The splash window shown for three seconds at start-up.
#include "app/SplashWindow.h"

#include "ui/DialogFrame.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

namespace {

// Longest wait for the window system to show the splash before the game goes on regardless.
constexpr int ExposeWaitMs = 1000;

class ExposeWatcher : public QObject
{
public:
    explicit ExposeWatcher(QEventLoop& loop)
        : m_loop(loop)
    {
    }

    bool eventFilter(QObject* window, QEvent* event) override
    {
        if (event->type() == QEvent::Expose) {
            QMetaObject::invokeMethod(&m_loop, [this, window] {
                if (static_cast<QWindow*>(window)->isExposed()) {
                    m_loop.quit();
                }
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QEventLoop& m_loop;
};

} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogo"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(twipsSize(8130, 3600));
    setModal(true);
    setAccessibleName(QStringLiteral("Pellmoor presents Sumdash!"));

    auto* Image1 = new SvgPicture(QStringLiteral(":/assets/splash.svg"), SvgPicture::Fit::Stretch, this);
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
    show();
    if (windowHandle()->isExposed()) {
        return;
    }
    // The first expose is handled by painting the window and handing the frame over; the loop
    // ends on the call queued behind that handling.
    QEventLoop waiting;
    ExposeWatcher watcher(waiting);
    windowHandle()->installEventFilter(&watcher);
    QTimer::singleShot(ExposeWaitMs, &waiting, &QEventLoop::quit);
    waiting.exec();
    windowHandle()->removeEventFilter(&watcher);
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
