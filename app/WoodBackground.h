// The client area's background: the wood texture stretched to the screen, top-left part shown.
#pragma once

#include <QPixmap>
#include <QWidget>

class WoodBackground : public QWidget
{
    Q_OBJECT

public:
    explicit WoodBackground(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_cache;
    QSize m_screenSize;
};
