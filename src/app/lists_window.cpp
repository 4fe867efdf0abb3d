// The lists window.
#include "app/lists_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/gui_host.h"
#include "engine/runner.h"
#include "expr/list_text.h"
#include "expr/number_format.h"

namespace app {

using expr::ListStore;

ListsWindow::ListsWindow(engine::Runner& runner, GuiHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), runner_(runner), host_(host) {
    setObjectName("lijsten");
    setWindowTitle("Lijsten");
    auto* column = new QVBoxLayout(this);
    table_ = new QTableWidget(ListStore::kSize, ListStore::kLists, this);
    table_->setObjectName("lijstentabel");
    QStringList headers;
    for (int list = 1; list <= ListStore::kLists; ++list) headers << QString("L%1").arg(list);
    table_->setHorizontalHeaderLabels(headers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    column->addWidget(table_, 1);
    auto* buttons = new QHBoxLayout;
    auto* paste = new QPushButton("Plakken", this);
    paste->setObjectName("plakken");
    paste->setToolTip("Ctrl+V: een blok uit een rekenblad, vanaf de gekozen cel");
    auto* copy = new QPushButton("Kopi\u00EBren", this);
    copy->setObjectName("kopieren");
    copy->setToolTip("Ctrl+C: de gekozen cellen (of alles) als blok voor een rekenblad");
    buttons->addStretch(1);
    buttons->addWidget(copy);
    buttons->addWidget(paste);
    column->addLayout(buttons);

    auto pasteClipboard = [this] { Paste(QString::fromStdString(host_.ClipboardText())); };
    connect(paste, &QPushButton::clicked, this, pasteClipboard);
    auto* shortcut = new QShortcut(QKeySequence::Paste, table_);
    shortcut->setContext(Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, pasteClipboard);
    auto copyTable = [this] { host_.SetClipboardText(CopyText().toStdString()); };
    connect(copy, &QPushButton::clicked, this, copyTable);
    auto* copyShortcut = new QShortcut(QKeySequence::Copy, table_);
    copyShortcut->setContext(Qt::WidgetShortcut);
    connect(copyShortcut, &QShortcut::activated, this, copyTable);
    connect(table_, &QTableWidget::itemChanged, this, &ListsWindow::CellEdited);
    Refresh();
    resize(520, 480);
}

void ListsWindow::Refresh() {
    refreshing_ = true;
    for (int row = 0; row < ListStore::kSize; ++row) {
        for (int list = 1; list <= ListStore::kLists; ++list) {
            const QString text =
                QString::fromStdString(expr::FormatGeneral(runner_.Lists().Get(list, row + 1), 15));
            QTableWidgetItem* item = table_->item(row, list - 1);
            if (item == nullptr) {
                table_->setItem(row, list - 1, new QTableWidgetItem(text));
            } else if (item->text() != text) {
                item->setText(text);
            }
        }
    }
    refreshing_ = false;
}

QString ListsWindow::CopyText() const {
    int top = 0, left = 0, bottom = ListStore::kSize - 1, right = ListStore::kLists - 1;
    const auto ranges = table_->selectedRanges();
    if (!ranges.isEmpty()) {
        top = ranges.front().topRow();
        bottom = ranges.front().bottomRow();
        left = ranges.front().leftColumn();
        right = ranges.front().rightColumn();
    }
    const QString separator = QLocale::system().decimalPoint();
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int list = left + 1; list <= right + 1; ++list) {
            if (list > left + 1) text += '\t';
            text +=
                QString::fromStdString(expr::FormatGeneral(runner_.Lists().Get(list, row + 1), 15))
                    .replace('.', separator);
        }
        text += '\n';
    }
    return text;
}

void ListsWindow::CellEdited(QTableWidgetItem* item) {
    if (refreshing_) return;
    const int row = item->row(), list = item->column() + 1;
    const std::string text = item->text().toStdString();
    // An emptied cell is 0, as every list starts.
    const auto value = text.find_first_not_of(" ") == std::string::npos
                           ? std::optional<expr::Real>(0)
                           : expr::ReadListNumber(text);
    if (value) {
        runner_.Lists().Set(list, row + 1, *value);
    } else {
        host_.ShowMessage(engine::kAppCaption, "'" + text + "' is geen getal.",
                          engine::MessageIcon::Warning);
    }
    Refresh();
}

void ListsWindow::Paste(const QString& text) {
    const int firstRow = std::max(table_->currentRow(), 0);
    const int firstList = std::max(table_->currentColumn(), 0) + 1;
    expr::NumberTable block;
    try {
        block = expr::ReadNumberTable(text.toStdString(),
                                      static_cast<size_t>(ListStore::kSize - firstRow),
                                      static_cast<size_t>(ListStore::kLists - firstList + 1));
    } catch (const expr::EAnalysisError& error) {
        host_.ShowMessage(engine::kAppCaption, std::string(error.what()) + " Er is niets geplakt.",
                          engine::MessageIcon::Warning);
        return;
    }
    for (size_t r = 0; r < block.rows.size(); ++r) {
        for (size_t c = 0; c < block.rows[r].size(); ++c) {
            if (!block.rows[r][c]) continue;
            runner_.Lists().Set(firstList + static_cast<int>(c),
                                firstRow + static_cast<long long>(r) + 1, *block.rows[r][c]);
        }
    }
    Refresh();
    if (block.cut) {
        host_.ShowMessage(engine::kAppCaption,
                          "Het blok was groter dan de lijsten; wat buiten L1 .. L6 of na element "
                          "100 viel, is weggelaten.",
                          engine::MessageIcon::Information);
    }
}

}  // namespace app
