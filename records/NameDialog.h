// The name prompt: asks a fast finisher for their name, under a heading the caller chooses.
#pragma once

#include <QDialog>

struct GameState;
class QLabel;
class QLineEdit;
class SvgPicture;

/// frmTopTime. Shows NamePromptTitle (or its own heading when that is empty) and a name box
/// holding "Your Name", all selected. The player leaves it only with OK or Enter: it has no
/// close box and Escape does nothing.
class NameDialog : public QDialog
{
    Q_OBJECT

public:
    /// Whether the stars-and-medal banner tops the prompt: not when the time is only being
    /// sent to the web site.
    enum class Banner { Shown, Hidden };

    /// Loads the prompt, waits for the player and returns the name as they left it.
    static QString ask(QWidget* parent, const GameState& basGlobals, Banner banner = Banner::Shown);

    void reject() override;

private:
    NameDialog(QWidget* parent, const GameState& basGlobals, Banner banner);
    void Form_Load(const GameState& basGlobals, Banner banner);
    void onOk();

    SvgPicture* bannerPicture;
    QLabel* heading;
    QLineEdit* nameBox;
};
