#pragma once
// The grid of the store windows: a header row over body rows of text cells,
// whole-row single selection, numbered as the windows count them: row 0 is
// the header, body row r is the table's row r - 1, and "row 0 current" is
// no current row. The user's changes of the current row are signalled; the
// window's own changes (SetRow, AddRow, RemoveRow, SortRows) are not, so the
// window runs its own handling once after them.
#include <QStringList>
#include <QTableWidget>

namespace parlova {

class StoreGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit StoreGrid(const QStringList& headers, QWidget* parent = nullptr);

    // The header and body rows together.
    int Rows() const { return rowCount() + 1; }
    // Cuts or grows the body to rows - 1 rows; new rows are empty.
    void SetRows(int rows);
    // An unset cell reads "". Row 0 is the header.
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);
    // The current row, 0 when none.
    int Row() const { return currentRow() + 1; }
    // Makes row current and selected; 0 (or a row not there) leaves none.
    void SetRow(int row);
    // Adds an empty row at the end and returns its number.
    int AddRow();
    void RemoveRow(int row);
    // Sorts every body row by columns firstKey to lastKey in the order of
    // GridSort; the current row keeps its number.
    void SortRows(int firstKey, int lastKey, qint32 order);
    // The body row under a point of the viewport, 0 when none is.
    int RowAt(const QPoint& viewportPos) const;
    // Every column but the last as wide as its header and cells; the last
    // one stretches over what is left. For the window to call after its
    // rows changed.
    void FitColumns();
    void SetColumnWidthTwips(int col, double twips);
    double ColumnWidthTwips(int col) const;

    // Room for the header and a few rows, however small the window.
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The user made row current (0: none).
    void CurrentRowChanged(int row);
    // A left click on a header section.
    void HeaderClicked(int col);
    // A right click in the body: the row under the pointer, 0 below the
    // rows; the selection is left as it was.
    void RightClicked(int row, const QPoint& globalPos);
    // A left double click on a body row.
    void RowDoubleClicked(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool rightPressed_ = false;
};

}  // namespace parlova
