#include "platform/ui_report_list.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>

#include "platform/ui_internal.h"

namespace ui::detail {

ReportModel::ReportModel(std::vector<Text> headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)) {
  // Long enough to gather a run of rows into one repaint, short enough that
  // nobody sees the rows come late.
  batch_.setSingleShot(true);
  batch_.setInterval(30);
  connect(&batch_, &QTimer::timeout, this, &ReportModel::ShowNewRows);
}

int ReportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int ReportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return DisplayText(Cell(index.row(), index.column()), false);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return DisplayText(headers_[section], false);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ReportModel::Clear() {
  batch_.stop();
  beginResetModel();
  rows_.clear();
  shownRows_ = 0;
  endResetModel();
}

int ReportModel::AppendRow() {
  rows_.emplace_back(headers_.size());
  if (!batch_.isActive()) batch_.start();
  return RowTotal() - 1;
}

void ReportModel::ShowNewRows() {
  batch_.stop();
  if (shownRows_ >= RowTotal()) return;
  beginInsertRows({}, shownRows_, RowTotal() - 1);
  shownRows_ = RowTotal();
  endInsertRows();
}

bool ReportModel::SetCell(int row, int column, const Text& text) {
  if (row < 0 || row >= RowTotal() || column < 0 || column >= columnCount()) return false;
  rows_[row][column] = text;
  if (row < shownRows_) {
    QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
  }
  return true;
}

Text ReportModel::Cell(int row, int column) const {
  if (row < 0 || row >= RowTotal() || column < 0 || column >= columnCount()) return Text();
  return rows_[row][column];
}

ReportView::ReportView(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setShowGrid(true);
  setWordWrap(false);
  setTabKeyNavigation(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  QHeaderView* header = horizontalHeader();
  header->setSectionsMovable(false);
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setSortIndicatorShown(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The selection shows only while the list has the focus.
  QPalette colours = palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Base));
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   colours.color(QPalette::Active, QPalette::Text));
  setPalette(colours);
}

int ReportView::SelectedRow() const {
  if (!selectionModel()) return -1;
  int first = -1;
  for (const QModelIndex& index : selectionModel()->selectedIndexes())
    if (first < 0 || index.row() < first) first = index.row();
  return first;
}

void ReportView::SelectOnly(int row) {
  if (auto* rows = dynamic_cast<ReportModel*>(model())) rows->ShowNewRows();
  if (!model() || row < 0 || row >= model()->rowCount()) {
    clearSelection();
    return;
  }
  QModelIndex index = model()->index(row, 0);
  selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
  // A press on empty space deselects, as a report list does; a right press
  // selects the row under it so that its menu is for that row.
  QModelIndex under = indexAt(event->position().toPoint());
  if (event->button() == Qt::RightButton) {
    setFocus(Qt::MouseFocusReason);
    SelectOnly(under.isValid() ? under.row() : -1);
    rightPressed_ = true;
    event->accept();
    return;
  }
  if (!under.isValid()) clearSelection();
  QTableView::mousePressEvent(event);
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    bool report = rightPressed_ && viewport()->rect().contains(event->position().toPoint());
    rightPressed_ = false;
    event->accept();
    if (report) RunRightClickHandler();
    return;
  }
  QTableView::mouseReleaseEvent(event);
}

void ReportView::contextMenuEvent(QContextMenuEvent* event) {
  // The right-button release is the list's one menu trigger.
  event->accept();
}

}  // namespace ui::detail

namespace ui::detail {

QWidget* MakeReportList(const WindowSpec& spec, Control control, QWidget* parent) {
  std::vector<Text> headers;
  for (const ColumnSpec& column : spec.columns) headers.push_back(column.header);
  auto* view = new ReportView(parent);
  auto* model = new ReportModel(std::move(headers), view);
  view->setModel(model);
  for (size_t i = 0; i < spec.columns.size(); ++i)
    view->setColumnWidth(static_cast<int>(i), spec.columns[i].width);
  ControlSlot* slot = &State()->controls[control];
  slot->widget = view;
  slot->model = model;
  slot->view = view;
  return view;
}

}  // namespace ui::detail
