// The frame the setup and results dialogs share: white, fixed size, close box, centred.
#include "ui/DialogFrame.h"

#include "assets/DesignFonts.h"
#include "ui/ApplicationTitle.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

void setUpDialogFrame(QDialog* dialog, const QString& caption, const QSize& clientSize)
{
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(clientSize);
    dialog->setAutoFillBackground(true);
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, Qt::white);
    dialog->setPalette(palette);
    dialog->setSizeGripEnabled(false);
    centreOnScreen(dialog);
}

void setButtonColour(QPushButton* button, const QColor& colour)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, colour);
    button->setPalette(palette);
}

QPushButton* makeCommandButton(QWidget* parent, const QString& name, const QString& text,
                               const QRect& geometry, double pointSize)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(designFont(QStringLiteral("MS Sans Serif"), pointSize, QFont::Bold));
    setButtonColour(button, QColor(0xE0, 0xE0, 0xE0));
    return button;
}

QLabel* makeTextLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame(QPoint(0, 0), window->size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void showMessage(QWidget* parent, const QString& text)
{
    QMessageBox message(QMessageBox::NoIcon, QString::fromLatin1(ApplicationTitle), text,
                        QMessageBox::Ok, parent);
    message.setTextFormat(Qt::PlainText);
    message.exec();
}

bool askYesNo(QWidget* parent, const QString& text)
{
    QMessageBox question(QMessageBox::Question, QString::fromLatin1(ApplicationTitle), text,
                         QMessageBox::Yes | QMessageBox::No, parent);
    question.setTextFormat(Qt::PlainText);
    question.setDefaultButton(QMessageBox::No); // a held Enter never deletes anything
    return question.exec() == QMessageBox::Yes;
}
