// The answer box: its text changes only through the key rules, never by itself.
#include "page/AnswerBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int BorderWidth = 1;

/// Layouts type digits in their own script on the top row (Persian, Arabic, Devanagari, ...):
/// a key that types any decimal digit gives the answer that digit's value. A digit that only
/// looks like one (a superscript two) types nothing.
QString asAsciiDigit(const QString& typed)
{
    if (typed.size() == 1 && typed[0].unicode() < 0x80) {
        return typed;
    }
    const QList<uint> characters = typed.toUcs4();
    if (characters.size() == 1 && QChar::category(characters[0]) == QChar::Number_DecimalDigit) {
        return QString(QChar(u'0' + QChar::digitValue(characters[0])));
    }
    return typed;
}

} // namespace

AnswerBox::AnswerBox(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setMaxLength(4);
    // The box draws its own square border: the style's rounded, smoothed one is drawn again
    // with every answer, by Qt's thread pool, which costs more than the rest of the keystroke.
    setFrame(false);
    setTextMargins(BorderWidth + 1, BorderWidth, BorderWidth + 1, BorderWidth);
}

void AnswerBox::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QColor border
        = hasFocus() ? palette().color(QPalette::Highlight) : palette().color(QPalette::Mid);
    const QRect box = rect();
    painter.fillRect(QRect(box.left(), box.top(), box.width(), BorderWidth), border);
    painter.fillRect(QRect(box.left(), box.bottom() - BorderWidth + 1, box.width(), BorderWidth),
                     border);
    painter.fillRect(QRect(box.left(), box.top(), BorderWidth, box.height()), border);
    painter.fillRect(QRect(box.right() - BorderWidth + 1, box.top(), BorderWidth, box.height()),
                     border);
}

void AnswerBox::showAnswer(const QString& text)
{
    if (this->text() != text) {
        setText(text);
    }
    setCursorPosition(static_cast<int>(text.size()));
}

bool AnswerBox::event(QEvent* event)
{
    // A line edit claims Ctrl+E, Ctrl+V and friends before the menus see them; here no key
    // edits anything, so the window's shortcut keys work while the player types.
    if (event->type() == QEvent::ShortcutOverride) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void AnswerBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
    } else {
        emit keyDown(asAsciiDigit(event->text()), event->key() == Qt::Key_Backspace);
    }
    event->accept();
}

void AnswerBox::keyReleaseEvent(QKeyEvent* event)
{
    // Holding a key repeats press and release; the mark stays until the key is really let go.
    if (!event->isAutoRepeat()) {
        emit keyUp();
    }
    event->accept();
}

void AnswerBox::inputMethodEvent(QInputMethodEvent* event)
{
    event->ignore();
}

void AnswerBox::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    setCursorPosition(static_cast<int>(text().size()));
    event->accept();
}

void AnswerBox::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void AnswerBox::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void AnswerBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void AnswerBox::dragEnterEvent(QDragEnterEvent* event)
{
    event->ignore();
}

void AnswerBox::dropEvent(QDropEvent* event)
{
    event->ignore();
}
