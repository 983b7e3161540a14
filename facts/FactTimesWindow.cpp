// The Fact Times window: for each operation, which facts a child knows, which are coming and
// which to practise, with a way to practise exactly those.
#include "facts/FactTimesWindow.h"

#include "facts/FactGrid.h"
#include "facts/FactGridView.h"
#include "facts/FactMarks.h"
#include "facts/FactWords.h"
#include "facts/KnownChart.h"
#include "ui/DialogFrame.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>

namespace {

constexpr std::array<std::pair<FactOperation, const char*>, 4> OperationNames { {
    { FactOperation::Add, "Addition" },
    { FactOperation::Subtract, "Subtraction" },
    { FactOperation::Multiply, "Multiplication" },
    { FactOperation::Divide, "Division" },
} };

/// How many bigger facts from practice are listed by name.
constexpr std::size_t BiggerFactsListed = 12;

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString operationName(FactOperation operation)
{
    for (const auto& [each, name] : OperationNames) {
        if (each == operation) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}

/// A legend's sample square: the state's colour and mark, as the grid draws them.
class StateSample : public QWidget
{
public:
    StateSample(QWidget* parent, FactState state)
        : QWidget(parent)
        , m_state(state)
    {
        const int side = fontMetrics().height() + 6;
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), stateColour(m_state));
        paintStateMark(painter, QRectF(rect()), m_state);
    }

private:
    FactState m_state;
};

QWidget* makeLegend(QWidget* parent)
{
    auto* legend = new QWidget(parent);
    auto* layout = new QGridLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::array<std::pair<FactState, QString>, 4> rows { {
        { FactState::KnowIt, QStringLiteral("Know it: right within 3 seconds") },
        { FactState::GettingThere, QStringLiteral("Getting there: right within 6 seconds") },
        { FactState::Practise, QStringLiteral("Practise: a miss, or slower than 6 seconds") },
        { FactState::NotYet, QStringLiteral("Not yet: fewer than 2 answers") },
    } };
    int row = 0;
    for (const auto& [state, text] : rows) {
        layout->addWidget(new StateSample(legend, state), row, 0);
        layout->addWidget(makeTextLabel(legend, QString(), text), row, 1);
        ++row;
    }
    return legend;
}

QLabel* makeWrappedLabel(QWidget* parent, const QString& name)
{
    QLabel* label = makeTextLabel(parent, name, QString());
    label->setWordWrap(true);
    return label;
}

} // namespace

std::optional<FactPracticeRequest> FactTimesWindow::showModal(QWidget* parent, FactHistory& history,
                                                              std::int16_t problemType)
{
    const FactOperation operation = problemType >= 1 && problemType <= 4
        ? static_cast<FactOperation>(problemType - 1)
        : FactOperation::Multiply;
    FactTimesWindow window(parent, history, operation);
    window.exec();
    return window.practiceRequest();
}

FactTimesWindow::FactTimesWindow(QWidget* parent, FactHistory& history, FactOperation operation)
    : QDialog(parent)
    , m_history(history)
{
    setObjectName(QStringLiteral("frmFactTimes"));
    setWindowTitle(QStringLiteral("Fact Times"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    operationTabs = new QTabBar(this);
    operationTabs->setObjectName(QStringLiteral("tabOperation"));
    operationTabs->setAccessibleName(QStringLiteral("Facts of"));
    for (const auto& [each, name] : OperationNames) {
        operationTabs->addTab(QString::fromLatin1(name));
    }
    operationTabs->setCurrentIndex(static_cast<int>(operation));

    knownSentence = makeTextLabel(this, QStringLiteral("lblKnown"), QString());
    QFont big = knownSentence->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    knownSentence->setFont(big);
    practiseNextSentence = makeWrappedLabel(this, QStringLiteral("lblPractiseNext"));

    grid = new FactGridView(this);
    grid->setObjectName(QStringLiteral("gridFacts"));

    QLabel* hint = makeWrappedLabel(this, QStringLiteral("lblHint"));
    hint->setText(QStringLiteral(
        "A square gets its colour after two answers. Each fact comes up about once in a run of "
        "100 problems, so it takes a few runs before most squares have a colour."));

    QLabel* chartCaption = makeTextLabel(this, QStringLiteral("lblChart"),
                                         QStringLiteral("Facts known, day by day:"));
    knownChart = new KnownChart(this);
    knownChart->setObjectName(QStringLiteral("chartKnown"));
    chartCaption->setBuddy(knownChart);

    biggerFacts = makeWrappedLabel(this, QStringLiteral("lblBiggerFacts"));

    keepHistoryBox = new QCheckBox(QStringLiteral("&Keep fact history on this computer"), this);
    keepHistoryBox->setObjectName(QStringLiteral("chkKeepHistory"));
    keepExplained = makeWrappedLabel(this, QStringLiteral("lblKeepExplained"));

    practiseButton = new QPushButton(QStringLiteral("&Practise these"), this);
    practiseButton->setObjectName(QStringLiteral("cmdPractise"));
    clearButton = new QPushButton(QStringLiteral("C&lear history"), this);
    clearButton->setObjectName(QStringLiteral("cmdClearHistory"));
    closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* button : { practiseButton, clearButton, closeButton }) {
        button->setAutoDefault(false);
    }

    auto* right = new QVBoxLayout;
    right->addWidget(knownSentence);
    right->addWidget(practiseNextSentence);
    right->addSpacing(8);
    right->addWidget(makeLegend(this));
    right->addSpacing(8);
    right->addWidget(hint);
    right->addSpacing(8);
    right->addWidget(chartCaption);
    right->addWidget(knownChart);
    right->addWidget(biggerFacts);
    right->addStretch(1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(grid, 0, Qt::AlignTop);
    middle->addSpacing(12);
    middle->addLayout(right, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(practiseButton);
    buttons->addWidget(clearButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(operationTabs);
    layout->addLayout(middle);
    layout->addWidget(line);
    layout->addWidget(keepHistoryBox);
    layout->addWidget(keepExplained);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(operationTabs, grid);
    setTabOrder(grid, knownChart);
    setTabOrder(knownChart, keepHistoryBox);
    setTabOrder(keepHistoryBox, practiseButton);
    setTabOrder(practiseButton, clearButton);
    setTabOrder(clearButton, closeButton);

    keepHistoryBox->setChecked(m_history.keeping());
    showKeepExplanation();
    connect(operationTabs, &QTabBar::currentChanged, this, &FactTimesWindow::showOperation);
    connect(keepHistoryBox, &QCheckBox::toggled, this, &FactTimesWindow::onKeepToggled);
    connect(clearButton, &QPushButton::clicked, this, &FactTimesWindow::onClearHistory);
    connect(practiseButton, &QPushButton::clicked, this, &FactTimesWindow::onPractise);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    reload();
    operationTabs->setFocus(Qt::OtherFocusReason);
}

void FactTimesWindow::reload()
{
    m_data = m_history.load();
    showOperation();
}

void FactTimesWindow::showOperation()
{
    const auto operation
        = static_cast<FactOperation>(std::clamp(operationTabs->currentIndex(), 0, 3));
    const KnownCount known = knownCount(m_data.book, operation);
    knownSentence->setText(fromUtf8(::knownSentence(known)));
    practiseNextSentence->setText(
        fromUtf8(::practiseNextSentence(practiseNext(m_data.book, operation))));
    grid->showFacts(operation, m_data.book);
    const auto days = m_data.knownByDay.find(operation);
    knownChart->showDays(days == m_data.knownByDay.end() ? std::vector<DayKnown> {} : days->second,
                         known.total);

    QStringList bigger;
    std::size_t count = 0;
    for (const FactKey& fact : m_data.book.extraFacts()) {
        if (fact.operation != operation) {
            continue;
        }
        if (++count <= BiggerFactsListed) {
            const FactRecord* record = m_data.book.find(fact);
            bigger << QStringLiteral("%1 (%2 of %3 right)")
                          .arg(fromUtf8(factText(fact)))
                          .arg(record->right)
                          .arg(record->attempts);
        }
    }
    if (count > BiggerFactsListed) {
        bigger << QStringLiteral("and %1 more").arg(count - BiggerFactsListed);
    }
    biggerFacts->setText(bigger.isEmpty() ? QString()
                                          : QStringLiteral("Bigger facts from practice: %1")
                                                .arg(bigger.join(QStringLiteral(", "))));
    biggerFacts->setVisible(!bigger.isEmpty());
}

void FactTimesWindow::showKeepExplanation()
{
    keepExplained->setText(
        m_history.keeping()
            ? QStringLiteral(
                  "Kept on this computer only, in %1: for each answer the problem, the answer "
                  "typed, right or wrong, how long it took and when. Nothing is sent anywhere.")
                  .arg(QDir::toNativeSeparators(m_history.filePath()))
            : QStringLiteral(
                "Answers are kept only until Sumdash! closes. Turn this on to keep them on "
                "this computer: for each answer the problem, the answer typed, right or "
                "wrong, how long it took and when. Nothing is sent anywhere."));
}

void FactTimesWindow::onKeepToggled(bool on)
{
    if (on == m_history.keeping()) {
        return;
    }
    const bool removeToo = !on
        && askYesNo(this, QStringLiteral("Delete the fact history kept on this computer too?"));
    if (!m_history.setKeeping(on)) {
        const QSignalBlocker blocker(keepHistoryBox);
        keepHistoryBox->setChecked(!on);
        showMessage(this, QStringLiteral("The switch could not be saved, so nothing was changed."));
        return;
    }
    if (removeToo) {
        const FactHistoryOutcome removed = m_history.removeFile();
        if (!removed.done) {
            showMessage(this,
                        QStringLiteral("The fact history could not be deleted: ")
                            + factHistoryMessage(removed));
        }
    }
    showKeepExplanation();
    reload();
}

void FactTimesWindow::onClearHistory()
{
    if (!askYesNo(this,
                  QStringLiteral("Clear every fact time, including this session's answers? "
                                 "This cannot be undone."))) {
        return;
    }
    const FactHistoryOutcome cleared = m_history.clear();
    if (!cleared.done) {
        showMessage(this,
                    QStringLiteral("The fact history could not be cleared: ")
                        + factHistoryMessage(cleared));
    }
    reload();
}

void FactTimesWindow::onPractise()
{
    const FactOperation operation = grid->operation();
    const std::array<FactOperation, 1> chosen { operation };
    PracticeDeck deck(m_data.book, chosen);
    if (deck.empty()) {
        showMessage(
            this,
            QStringLiteral("Nothing in %1 needs practice right now. Play a few runs, and the "
                           "facts to practise will show here.")
                .arg(operationName(operation)));
        return;
    }
    m_request = FactPracticeRequest { operation, std::move(deck) };
    accept();
}
