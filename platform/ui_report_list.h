#pragma once
// The report list: a table model over byte cells and a view that behaves like
// a report-style list (whole rows, one selection, right-click on release).
#include <QAbstractTableModel>
#include <QTableView>
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

  void Clear();
  int AppendRow();
  bool SetCell(int row, int column, const Text& text);
  Text Cell(int row, int column) const;

 private:
  std::vector<Text> headers_;
  std::vector<std::vector<Text>> rows_;
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
