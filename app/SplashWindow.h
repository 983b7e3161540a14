// The splash window shown for three seconds at start-up.
#pragma once

#include <QDialog>

class QTimer;

/// frmLogo: borderless, not in the task bar, centred. It ignores clicks and keys; only its
/// timer logotime closes it, 3000 ms after it is shown.
class SplashWindow : public QDialog
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    /// Shows the splash and returns once its first frame is on screen (or after a second at
    /// most, should no window system put it there). The rest of the game is built after this,
    /// while the splash shows; exec() then waits for logotime to close it.
    void showAtOnce();

public slots:
    void logotime_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Form_Load();

    QTimer* logotime;
    bool m_timeIsUp = false;
};
