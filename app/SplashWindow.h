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

    /// Shows the splash and returns when logotime has closed it.
    static void showModal(QWidget* parent);

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
