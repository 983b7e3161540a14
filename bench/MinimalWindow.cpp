// The yardstick Sumdash! is measured against: the smallest Qt Widgets main window worth the name.
#include "bench/MinimalWindow.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

MinimalWindow::MinimalWindow()
{
    setObjectName(QStringLiteral("minimalWindow"));
    setWindowTitle(QStringLiteral("Minimal"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Quit"), this, &QWidget::close);
    QToolBar* toolBar = addToolBar(QStringLiteral("Main"));
    toolBar->addAction(QStringLiteral("Go"));
    m_label = new QLabel(QStringLiteral("Hello"), this);
    setCentralWidget(m_label);
}

void MinimalWindow::keyPressEvent(QKeyEvent*)
{
    m_label->setText(QString::number(++m_keys));
}
