// The splash window shown for three seconds at start-up.
#include "app/SplashWindow.h"

#include "engine/DialogFrame.h"
#include "engine/SvgPicture.h"
#include "engine/Twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

SplashWindow::SplashWindow(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogo"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(twipsSize(8130, 3600));
    setAccessibleName(QStringLiteral("Pellmoor presents Sumdash!"));

    auto* Image1 = new SvgPicture(QStringLiteral(":/assets/splash.svg"), SvgPicture::Fit::Stretch, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(0, 0, 8130, 3600));
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    logotime = new QTimer(this);
    logotime->setObjectName(QStringLiteral("logotime"));
    logotime->setInterval(3000);
    logotime->setSingleShot(true);
    connect(logotime, &QTimer::timeout, this, &SplashWindow::logotime_Timer);
    centreOnScreen(this);
}

void SplashWindow::showModal(QWidget* parent)
{
    SplashWindow splash(parent);
    splash.exec();
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
