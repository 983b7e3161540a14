// The client area's background: the wood texture stretched to the screen, top-left part shown.
#pragma once

#include <QPixmap>
#include <QWidget>

class WoodBackground : public QWidget
{
    Q_OBJECT

public:
    explicit WoodBackground(QWidget* parent = nullptr);

    /// Draws the texture ahead of the first paint (while the splash is up), so the main window
    /// appears at once.
    void prepare();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ensureDrawn();

    QPixmap m_cache;
    QSize m_screenSize;
};
