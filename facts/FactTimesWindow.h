// The Fact Times window: for each operation, which facts a child knows, which are coming and
// which to practise, with a way to practise exactly those.
#pragma once

#include "facts/FactHistory.h"
#include "facts/PracticeDeck.h"

#include <QDialog>
#include <optional>

class FactGridView;
class KnownChart;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabBar;

/// What "Practise these" asks the game for: a practice run of one operation, drawn from its deck.
struct FactPracticeRequest
{
    FactOperation operation;
    PracticeDeck deck;
};

class FactTimesWindow : public QDialog
{
    Q_OBJECT

public:
    /// Opens the window on the operation of the problem type (Multiplication for Random or
    /// none); returns what "Practise these" asked for, if it was pressed.
    static std::optional<FactPracticeRequest> showModal(QWidget* parent, FactHistory& history,
                                                        std::int16_t problemType);

    FactTimesWindow(QWidget* parent, FactHistory& history, FactOperation operation);

    const std::optional<FactPracticeRequest>& practiceRequest() const { return m_request; }

private:
    void reload();
    void showOperation();
    void onKeepToggled(bool on);
    void onClearHistory();
    void onPractise();
    void showKeepExplanation();

    FactHistory& m_history;
    FactTimesData m_data;
    std::optional<FactPracticeRequest> m_request;

    QTabBar* operationTabs = nullptr;
    QLabel* knownSentence = nullptr;
    QLabel* practiseNextSentence = nullptr;
    FactGridView* grid = nullptr;
    KnownChart* knownChart = nullptr;
    QLabel* biggerFacts = nullptr;
    QCheckBox* keepHistoryBox = nullptr;
    QLabel* keepExplained = nullptr;
    QPushButton* practiseButton = nullptr;
    QPushButton* clearButton = nullptr;
    QPushButton* closeButton = nullptr;
};
