// The frame the setup and results dialogs share: white, fixed size, close box, centred.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

class QDialog;
class QLabel;
class QWidget;
class QPushButton;

/// A fixed tool-window frame without minimise and maximise boxes, a white client area of the
/// given size, centred on the screen.
void setUpDialogFrame(QDialog* dialog, const QString& caption, const QSize& clientSize);

/// A flat "graphical" button face in the given colour.
void setButtonColour(QPushButton* button, const QColor& colour);

/// A command button as the windows have them: light grey (#E0E0E0), "MS Sans Serif" bold at
/// the given size, named for tests and accessibility tools.
QPushButton* makeCommandButton(QWidget* parent, const QString& name, const QString& text,
                               const QRect& geometry, double pointSize);

/// A label named for tests and accessibility tools. Its text is always plain: a name a player
/// typed or a store holds ("<img src=...>", "<h1>") is shown as typed, never read as markup.
QLabel* makeTextLabel(QWidget* parent, const QString& name, const QString& text);

/// The colour a label's text is drawn in.
void setTextColour(QWidget* widget, const QColor& colour);

/// A message box with the text, an OK button only and the application's title.
void showMessage(QWidget* parent, const QString& text);

/// A question with Yes and No, No the default; true for Yes.
bool askYesNo(QWidget* parent, const QString& text);

/// Centres a window on the screen it is shown on.
void centreOnScreen(QWidget* window);
