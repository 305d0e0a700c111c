#include "platform/ui/Grids.h"

#include <algorithm>

#include "platform/ui/Menus.h"

namespace nv {

NV_PUBLISH(TDrawGrid) {
  b.Prop("ColCount", &TDrawGrid::ColCount, &TDrawGrid::SetColCount).Default(5);
  PublishFontColor(b, clWindow);
  b.Prop("DefaultColWidth", &TDrawGrid::DefaultColWidth, &TDrawGrid::SetDefaultColWidth)
      .Default(64);
  b.Prop("DefaultDrawing", &TDrawGrid::DefaultDrawing, &TDrawGrid::SetDefaultDrawing).Default(true);
  b.Prop("DefaultRowHeight", &TDrawGrid::DefaultRowHeight, &TDrawGrid::SetDefaultRowHeight)
      .Default(24);
  b.Prop("FixedCols", &TDrawGrid::FixedCols, &TDrawGrid::SetFixedCols).Default(1);
  b.Prop("FixedRows", &TDrawGrid::FixedRows, &TDrawGrid::SetFixedRows).Default(1);
  b.Prop("Options", &TDrawGrid::Options, &TDrawGrid::SetOptions)
      .Default(
          TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
  b.Prop("RowCount", &TDrawGrid::RowCount, &TDrawGrid::SetRowCount).Default(5);
  PublishHintPopup(b);
  PublishFocusKeys(b, true);
  b.Prop("OnDrawCell", &TDrawGrid::OnDrawCell, &TDrawGrid::OnDrawCell);
  b.Prop("OnSelectCell", &TDrawGrid::OnSelectCell, &TDrawGrid::OnSelectCell);
  PublishMouseEvents(b);
}

TDrawGrid::TDrawGrid(TComponent* owner) : TWinControl(owner) {
  width_ = 320;
  height_ = 120;
  SetColor(clWindow);
  SetTabStop(true);
}

void TDrawGrid::SetColCount(int v) {
  colCount_ = std::max(1, v);
  fixedCols_ = std::min(fixedCols_, colCount_ - 1);
  col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
  Changed();
}

void TDrawGrid::SetRowCount(int v) {
  rowCount_ = std::max(1, v);
  fixedRows_ = std::min(fixedRows_, rowCount_ - 1);
  row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
  Changed();
}

void TDrawGrid::SetFixedCols(int v) {
  fixedCols_ = std::clamp(v, 0, colCount_ - 1);
  col_ = std::max(col_, fixedCols_);
}

void TDrawGrid::SetFixedRows(int v) {
  fixedRows_ = std::clamp(v, 0, rowCount_ - 1);
  row_ = std::max(row_, fixedRows_);
}

bool TDrawGrid::FocusCell(int col, int row) {
  col = std::clamp(col, fixedCols_, colCount_ - 1);
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  if (col == col_ && row == row_) return false;
  bool can = true;
  OnSelectCell(this, col, row, can);
  if (!can) return false;
  col_ = col;
  row_ = row;
  Changed();
  return true;
}

void TDrawGrid::SetDefaultColWidth(int v) {
  defaultColWidth_ = v;
  colWidths_.clear();
}

void TDrawGrid::SetDefaultRowHeight(int v) {
  defaultRowHeight_ = v;
  rowHeights_.clear();
}

int TDrawGrid::ColWidths(int col) const {
  auto it = colWidths_.find(col);
  return it == colWidths_.end() ? defaultColWidth_ : it->second;
}

void TDrawGrid::SetColWidths(int col, int width) {
  colWidths_[col] = width;
}

int TDrawGrid::RowHeights(int row) const {
  auto it = rowHeights_.find(row);
  return it == rowHeights_.end() ? defaultRowHeight_ : it->second;
}

void TDrawGrid::SetRowHeights(int row, int height) {
  rowHeights_[row] = height;
}

TRect TDrawGrid::CellRect(int col, int row) const {
  int x = 0, y = 0;
  for (int c = 0; c < col; ++c) x += ColWidths(c) + 1;
  for (int r = 0; r < row; ++r) y += RowHeights(r) + 1;
  return Bounds(x, y, ColWidths(col), RowHeights(row));
}

bool TDrawGrid::WantsKey(Word key, TShiftState shift) const {
  if (key == VK_TAB) return options_.Contains(goTabs);
  return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_HOME ||
         key == VK_END || key == VK_PRIOR || key == VK_NEXT;
}

void TDrawGrid::KeyDown(Word& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  switch (key) {
    case VK_LEFT:
      FocusCell(col_ - 1, row_);
      break;
    case VK_RIGHT:
      FocusCell(col_ + 1, row_);
      break;
    case VK_UP:
      FocusCell(col_, row_ - 1);
      break;
    case VK_DOWN:
      FocusCell(col_, row_ + 1);
      break;
    case VK_TAB:
      if (options_.Contains(goTabs)) FocusCell(shift.Contains(ssShift) ? col_ - 1 : col_ + 1, row_);
      break;
    default:
      break;
  }
}

NV_PUBLISH(TStringGrid) {}

std::string TStringGrid::Cells(int col, int row) const {
  auto it = cells_.find({col, row});
  return it == cells_.end() ? std::string() : it->second;
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (text.empty())
    cells_.erase({col, row});
  else
    cells_[{col, row}] = text;
  Changed();
}

std::vector<std::string> TStringGrid::Rows(int row) const {
  std::vector<std::string> out;
  for (int c = 0; c < ColCount(); ++c) out.push_back(Cells(c, row));
  return out;
}

void TStringGrid::SetRows(int row, const std::vector<std::string>& texts) {
  for (int c = 0; c < static_cast<int>(texts.size()); ++c) SetCells(c, row, texts[c]);
}

std::vector<std::string> TStringGrid::Cols(int col) const {
  std::vector<std::string> out;
  for (int r = 0; r < RowCount(); ++r) out.push_back(Cells(col, r));
  return out;
}

void TStringGrid::SetCols(int col, const std::vector<std::string>& texts) {
  for (int r = 0; r < static_cast<int>(texts.size()); ++r) SetCells(col, r, texts[r]);
}

void TStringGrid::SetColCount(int v) {
  TDrawGrid::SetColCount(v);
  std::erase_if(cells_, [this](const auto& kv) { return kv.first.first >= ColCount(); });
}

void TStringGrid::SetRowCount(int v) {
  TDrawGrid::SetRowCount(v);
  std::erase_if(cells_, [this](const auto& kv) { return kv.first.second >= RowCount(); });
}

}  // namespace nv
