#pragma once
// The report list: a table model over byte cells and a view that behaves like
// a report-style list (whole rows, one selection, right-click on release).
#include <QAbstractTableModel>
#include <QTableView>
#include <QTimer>
#include <vector>

#include "text/text.h"

namespace ui::detail {

class ReportModel : public QAbstractTableModel {
 public:
  ReportModel(std::vector<Text> headers, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The operations work on every row at once; the view hears of new rows in
  // batches, so a worker adding rows one by one does not repaint the list
  // once per row.
  void Clear();
  int AppendRow();
  bool SetCell(int row, int column, const Text& text);
  Text Cell(int row, int column) const;
  int RowTotal() const { return static_cast<int>(rows_.size()); }
  // Tells the view of the rows added since the last batch.
  void ShowNewRows();

 private:
  std::vector<Text> headers_;
  std::vector<std::vector<Text>> rows_;
  int shownRows_ = 0;  // what the view has been told of
  QTimer batch_;
};

class ReportView : public QTableView {
 public:
  explicit ReportView(QWidget* parent);
  int SelectedRow() const;
  void SelectOnly(int row);  // -1, or a row that does not exist, clears

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool rightPressed_ = false;
};

}  // namespace ui::detail
