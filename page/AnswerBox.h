// The answer box: its text changes only through the key rules, never by itself.
#pragma once

#include <QLineEdit>

/// Reports keys instead of editing: the main window applies the key rules and writes the text
/// back. Paste, drag and drop, the context menu, middle-click and input methods put nothing in.
class AnswerBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit AnswerBox(QWidget* parent = nullptr);

    /// Shows the answer text with the caret after its last character.
    void showAnswer(const QString& text);

signals:
    /// A key went down; typedText is what it types with the current layout and Shift state.
    void keyDown(const QString& typedText, bool isBackspace);
    /// Return or the keypad's Enter.
    void enterPressed();
    void keyUp();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
