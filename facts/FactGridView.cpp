// The grid of one operation's facts, drawn square by square, each square focusable and spoken.
#include "facts/FactGridView.h"

#include "facts/FactBook.h"
#include "facts/FactGrid.h"
#include "facts/FactMarks.h"
#include "facts/FactWords.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <algorithm>

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// The latest answers of a fact, one line each, for its tool tip.
QString answersToolTip(const FactKey& fact, const FactRecord* record)
{
    QStringList lines { fromUtf8(factText(fact)) };
    if (record == nullptr || record->recent.empty()) {
        lines << QObject::tr("No answers yet");
        return lines.join(QLatin1Char('\n'));
    }
    const QLocale locale;
    for (const FactAnswer& answer : record->recent) {
        const QDateTime when
            = QDateTime::fromMSecsSinceEpoch(answer.whenUtcMs, Qt::UTC).toLocalTime();
        lines << QStringLiteral("%1: %2 in %3")
                     .arg(locale.toString(when, QLocale::ShortFormat),
                          answer.right ? QStringLiteral("right") : QStringLiteral("wrong"),
                          fromUtf8(secondsInWords(answer.msToEnter)));
    }
    return lines.join(QLatin1Char('\n'));
}

QAccessibleInterface* cellAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("FactCell") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Cell);
    }
    return nullptr;
}

} // namespace

/// One fact's square.
class FactCell : public QWidget
{
    Q_OBJECT

public:
    FactCell(FactGridView* grid, const FactKey& fact, int row, int column)
        : QWidget(grid)
        , m_grid(grid)
        , m_fact(fact)
        , m_row(row)
        , m_column(column)
    {
        setFocusPolicy(Qt::ClickFocus);
    }

    void setVerdict(const FactVerdict& verdict, const FactRecord* record)
    {
        m_state = verdict.state;
        setAccessibleName(fromUtf8(verdictInWords(m_fact, verdict)));
        setToolTip(answersToolTip(m_fact, record));
        update();
    }

    const FactKey& fact() const { return m_fact; }
    int row() const { return m_row; }
    int column() const { return m_column; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
        painter.fillRect(box, stateColour(m_state));
        paintStateMark(painter, box, m_state);
        if (hasFocus()) {
            painter.setPen(QPen(QColor(0x10, 0x10, 0x80), 3));
            painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
        }
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QWidget::focusInEvent(event);
        m_grid->focusCell(this);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QWidget::focusOutEvent(event);
        update();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Left:
            m_grid->moveFocus(this, 0, -1);
            break;
        case Qt::Key_Right:
            m_grid->moveFocus(this, 0, 1);
            break;
        case Qt::Key_Up:
            m_grid->moveFocus(this, -1, 0);
            break;
        case Qt::Key_Down:
            m_grid->moveFocus(this, 1, 0);
            break;
        case Qt::Key_Home:
            m_grid->moveFocus(this, 0, -100);
            break;
        case Qt::Key_End:
            m_grid->moveFocus(this, 0, 100);
            break;
        default:
            QWidget::keyPressEvent(event);
        }
    }

private:
    FactGridView* m_grid;
    FactKey m_fact;
    int m_row;
    int m_column;
    FactState m_state = FactState::NotYet;
};

FactGridView::FactGridView(QWidget* parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(cellAccessible);
        return true;
    }();
    (void)factoryInstalled;
    setAccessibleName(tr("Fact grid"));
    // Tab stops at the grid, which hands the keyboard to its current square: squares made later
    // than the window's other controls still come right after the grid in the Tab order.
    setFocusPolicy(Qt::TabFocus);
}

void FactGridView::focusInEvent(QFocusEvent* event)
{
    if (event->reason() == Qt::BacktabFocusReason) {
        focusPreviousChild(); // Shift+Tab from a square: on to what comes before the grid
        return;
    }
    if (m_current != nullptr) {
        m_current->setFocus(event->reason());
    }
}

int FactGridView::cellSide() const
{
    return std::max(24, fontMetrics().height() * 2);
}

QSize FactGridView::sizeHint() const
{
    const int side = cellSide();
    return QSize(side * static_cast<int>(m_columnValues.size() + 1) + 1,
                 side * static_cast<int>(m_rowValues.size() + 1) + 1);
}

void FactGridView::showFacts(FactOperation operation, const FactBook& book)
{
    if (m_cells.empty() || operation != m_operation) {
        buildCells(operation);
    }
    for (FactCell* cell : m_cells) {
        cell->setVerdict(book.verdict(cell->fact()), book.find(cell->fact()));
    }
}

void FactGridView::buildCells(FactOperation operation)
{
    const bool hadFocus = std::any_of(m_cells.begin(), m_cells.end(),
                                      [](const FactCell* cell) { return cell->hasFocus(); });
    m_operation = operation;
    const std::vector<FactKey> facts = gridFacts(operation);
    m_rowValues.clear();
    m_columnValues.clear();
    for (const FactKey& fact : facts) {
        if (m_rowValues.empty() || m_rowValues.back() != fact.top) {
            m_rowValues.push_back(fact.top);
        }
        m_columnValues.push_back(fact.bottom);
    }
    std::sort(m_columnValues.begin(), m_columnValues.end());
    m_columnValues.erase(std::unique(m_columnValues.begin(), m_columnValues.end()),
                         m_columnValues.end());

    m_current = nullptr;
    for (FactCell* cell : m_cells) {
        delete cell; // called from the tabs or the window, never from a square's own event
    }
    m_cells.clear();
    for (const FactKey& fact : facts) {
        const auto row
            = std::find(m_rowValues.begin(), m_rowValues.end(), fact.top) - m_rowValues.begin();
        const auto column = std::find(m_columnValues.begin(), m_columnValues.end(), fact.bottom)
            - m_columnValues.begin();
        auto* cell = new FactCell(this, fact, static_cast<int>(row), static_cast<int>(column));
        cell->setObjectName(QStringLiteral("fact_%1_%2").arg(fact.top).arg(fact.bottom));
        m_cells.push_back(cell);
    }
    // The squares follow the grid in the Tab order, and only one of them takes Tab: at first
    // the first square, later the one the keyboard was last on. The arrows move between them.
    QWidget* previous = this;
    for (FactCell* cell : m_cells) {
        setTabOrder(previous, cell);
        previous = cell;
    }
    m_current = m_cells.empty() ? nullptr : m_cells.front();
    if (m_current != nullptr) {
        m_current->setFocusPolicy(Qt::StrongFocus);
    }
    placeCells();
    for (FactCell* cell : m_cells) {
        cell->show();
    }
    updateGeometry();
    update();
    if (hadFocus && !m_cells.empty()) {
        m_cells.front()->setFocus(Qt::OtherFocusReason);
    }
}

void FactGridView::placeCells()
{
    const int side = cellSide();
    for (FactCell* cell : m_cells) {
        cell->setGeometry((cell->column() + 1) * side, (cell->row() + 1) * side, side, side);
    }
}

void FactGridView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        placeCells();
        updateGeometry();
    }
}

void FactGridView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int side = cellSide();
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::WindowText));
    const std::string_view op = operatorText(m_operation);
    const QString corner = m_operation == FactOperation::Divide ? QStringLiteral("\u00F7")
        : m_operation == FactOperation::Multiply
        ? QStringLiteral("\u00D7")
        : QString::fromLatin1(op.data(), static_cast<qsizetype>(op.size()));
    painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, corner);
    for (std::size_t column = 0; column < m_columnValues.size(); ++column) {
        painter.drawText(QRect(static_cast<int>(column + 1) * side, 0, side, side), Qt::AlignCenter,
                         QString::number(m_columnValues[column]));
    }
    for (std::size_t row = 0; row < m_rowValues.size(); ++row) {
        painter.drawText(QRect(0, static_cast<int>(row + 1) * side, side, side), Qt::AlignCenter,
                         QString::number(m_rowValues[row]));
    }
}

void FactGridView::focusCell(FactCell* cell)
{
    // One square at a time is in the Tab order: the one the keyboard was last on.
    for (FactCell* other : m_cells) {
        other->setFocusPolicy(other == cell ? Qt::StrongFocus : Qt::ClickFocus);
    }
    m_current = cell;
    cell->update();
}

void FactGridView::moveFocus(const FactCell* from, int rowStep, int columnStep)
{
    // Up and down: the nearest row that way, and in it the nearest column. Left and right stay
    // in the row; Home and End (a long step) go to its far end.
    FactCell* best = nullptr;
    int bestScore = 0;
    for (FactCell* cell : m_cells) {
        const int rows = cell->row() - from->row();
        const int columns = cell->column() - from->column();
        int score = 0;
        if (rowStep != 0) {
            if (rows == 0 || (rows > 0) != (rowStep > 0)) {
                continue;
            }
            score = std::abs(rows) * 1000 + std::abs(columns);
        } else {
            if (rows != 0 || columns == 0 || (columns > 0) != (columnStep > 0)) {
                continue;
            }
            score = std::abs(columnStep) > 1 ? -std::abs(columns) : std::abs(columns);
        }
        if (best == nullptr || score < bestScore) {
            best = cell;
            bestScore = score;
        }
    }
    if (best != nullptr) {
        best->setFocus(Qt::OtherFocusReason);
    }
}

#include "FactGridView.moc"
