// The "Lijsten" window: L1 .. L6 as a table of six columns and 100 rows. Edits
// and pasted blocks go straight into the runner's lists, so the next run sees them.
#pragma once

#include <QWidget>

class QTableWidget;
class QTableWidgetItem;

namespace engine {
class Runner;
}

namespace app {

class GuiHost;

class ListsWindow : public QWidget {
public:
    ListsWindow(engine::Runner& runner, GuiHost& host, QWidget* parent = nullptr);

    // Shows the lists as they are now (after a run, an import).
    void Refresh();
    // A block as a spreadsheet copies it (tabs between columns, a line per row,
    // decimal comma or point), from the current cell on. Nothing changes when a
    // value is no number.
    void Paste(const QString& text);
    // The selected cells (the whole table when nothing is selected) as such a block,
    // with the person's own decimal separator.
    QString CopyText() const;
    QTableWidget& Table() { return *table_; }

private:
    void CellEdited(QTableWidgetItem* item);

    engine::Runner& runner_;
    GuiHost& host_;
    QTableWidget* table_ = nullptr;
    bool refreshing_ = false;
};

}  // namespace app
