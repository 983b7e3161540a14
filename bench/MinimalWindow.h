// The yardstick Sumdash! is measured against: the smallest Qt Widgets main window worth the name.
#pragma once

#include <QMainWindow>

class QLabel;

/// A menu bar with one menu, a toolbar with one action and a label in the middle, nothing
/// else: no style, fonts or pictures of its own. A key press writes a count into the label, so
/// a keystroke has something to repaint, as an answer does in the game.
class MinimalWindow : public QMainWindow
{
public:
    MinimalWindow();

    QLabel* label() const { return m_label; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_label = nullptr;
    int m_keys = 0;
};
