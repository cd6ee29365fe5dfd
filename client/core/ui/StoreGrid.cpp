#include "client/core/ui/StoreGrid.h"

#include "client/core/GridSort.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace parlova {

StoreGrid::StoreGrid(const QStringList& headers, QWidget* parent) : QTableWidget(0, int(headers.size()), parent)
{
    setHorizontalHeaderLabels(headers);
    QFont bold = horizontalHeader()->font();
    bold.setBold(true);
    horizontalHeader()->setFont(bold);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setWordWrap(false);
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (row != previousRow)
                    Q_EMIT CurrentRowChanged(row + 1);
            });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &StoreGrid::HeaderClicked);
}

void StoreGrid::SetRows(int rows)
{
    const QSignalBlocker block(this);
    setRowCount(std::max(0, rows - 1));
}

QSize StoreGrid::minimumSizeHint() const
{
    constexpr int kRowsShown = 3;
    const int height = horizontalHeader()->sizeHint().height() +
                       kRowsShown * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
    return QTableWidget::minimumSizeHint().expandedTo(QSize(0, height));
}

void StoreGrid::FitColumns()
{
    for (int c = 0; c + 1 < columnCount(); ++c)
        resizeColumnToContents(c);
}

QString StoreGrid::TextMatrix(int row, int col) const
{
    if (row == 0) {
        const QTableWidgetItem* h = horizontalHeaderItem(col);
        return h ? h->text() : QString();
    }
    const QTableWidgetItem* cell = item(row - 1, col);
    return cell ? cell->text() : QString();
}

void StoreGrid::SetTextMatrix(int row, int col, const QString& text)
{
    const QSignalBlocker block(this);
    if (row == 0) {
        if (QTableWidgetItem* h = horizontalHeaderItem(col))
            h->setText(text);
        return;
    }
    if (QTableWidgetItem* cell = item(row - 1, col))
        cell->setText(text);
    else
        setItem(row - 1, col, new QTableWidgetItem(text));
}

void StoreGrid::SetRow(int row)
{
    const QSignalBlocker block(this);
    if (row >= 1 && row < Rows()) {
        setCurrentCell(row - 1, 0);
        selectRow(row - 1);
    } else {
        setCurrentIndex(QModelIndex());
        clearSelection();
    }
}

int StoreGrid::AddRow()
{
    const QSignalBlocker block(this);
    insertRow(rowCount());
    return rowCount();
}

void StoreGrid::RemoveRow(int row)
{
    if (row < 1 || row >= Rows())
        return;
    const QSignalBlocker block(this);
    removeRow(row - 1);
}

void StoreGrid::SortRows(int firstKey, int lastKey, qint32 order)
{
    QList<QStringList> rows;
    for (int r = 1; r < Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c)
            cells << TextMatrix(r, c);
        rows << cells;
    }
    GridSort::Sort(rows, firstKey, lastKey, order);
    const int current = Row();
    setUpdatesEnabled(false);
    for (int r = 1; r < Rows(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            SetTextMatrix(r, c, rows.at(r - 1).at(c));
    SetRow(current);
    setUpdatesEnabled(true);
}

int StoreGrid::RowAt(const QPoint& viewportPos) const
{
    return rowAt(viewportPos.y()) + 1;
}

void StoreGrid::SetColumnWidthTwips(int col, double twips)
{
    setColumnWidth(col, platform::TwipsToPixelsX(twips));
}

double StoreGrid::ColumnWidthTwips(int col) const
{
    return platform::PixelsToTwipsX(columnWidth(col));
}

void StoreGrid::mousePressEvent(QMouseEvent* event)
{
    // The right button never moves the selection by itself: the window
    // decides what a right click selects.
    if (event->button() == Qt::RightButton) {
        rightPressed_ = true;
        event->accept();
        return;
    }
    rightPressed_ = false;
    QTableWidget::mousePressEvent(event);
}

void StoreGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (rightPressed_)
            Q_EMIT RightClicked(RowAt(event->position().toPoint()), event->globalPosition().toPoint());
        rightPressed_ = false;
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void StoreGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int row = RowAt(event->position().toPoint());
        QTableWidget::mouseDoubleClickEvent(event);
        if (row > 0)
            Q_EMIT RowDoubleClicked(row);
        return;
    }
    event->accept();
}

}  // namespace parlova
