// The grid of one operation's facts: a square per fact in its colour with its mark, the top
// number down the side and the bottom number across. Each square can take the keyboard focus
// and tells a screen reader how the fact is going.
#pragma once

#include "facts/FactAttempt.h"

#include <QWidget>
#include <vector>

class FactBook;
class FactCell;

class FactGridView : public QWidget
{
    Q_OBJECT

public:
    explicit FactGridView(QWidget* parent = nullptr);

    /// Shows an operation's facts as the book has them; the focus, if it was in the grid,
    /// goes to the first square.
    void showFacts(FactOperation operation, const FactBook& book);
    FactOperation operation() const { return m_operation; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    friend class FactCell;
    int cellSide() const;
    void buildCells(FactOperation operation);
    void placeCells();
    /// Moves the focus from a square by rows and columns to the nearest square there.
    void moveFocus(const FactCell* from, int rowStep, int columnStep);
    void focusCell(FactCell* cell);

    FactOperation m_operation = FactOperation::Add;
    std::vector<std::int16_t> m_rowValues; ///< the top numbers, down the side
    std::vector<std::int16_t> m_columnValues; ///< the bottom numbers, across the top
    std::vector<FactCell*> m_cells;
    FactCell* m_current = nullptr; ///< the square Tab comes to
};
