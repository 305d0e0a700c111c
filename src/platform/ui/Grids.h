#pragma once
// Grids: the draw grid (cells painted by the program) and the string grid (a text per cell).
#include <map>
#include <memory>
#include <vector>

#include "platform/rtti/StringList.h"
#include "platform/ui/Controls.h"

namespace nv {

NV_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
        goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
        goRowSelect, goAlwaysShowEditor, goThumbTracking)
using TGridOptions = TSet<TGridOption>;
NV_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed)
using TGridDrawState = TSet<TGridDrawStateItem>;

NV_EVENT_TYPE(TSelectCellEvent, TObject* /*Sender*/, int /*ACol*/, int /*ARow*/,
              bool& /*CanSelect*/);
NV_EVENT_TYPE(TDrawCellEvent, TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, TRect /*Rect*/,
              TGridDrawState /*State*/);

class TDrawGrid : public TWinControl {
  NV_CLASS(TDrawGrid, TWinControl)
 public:
  explicit TDrawGrid(TComponent* owner);
  int ColCount() const { return colCount_; }
  virtual void SetColCount(int v);
  int RowCount() const { return rowCount_; }
  virtual void SetRowCount(int v);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int v);
  int Col() const { return col_; }
  void SetCol(int v) { FocusCell(v, row_); }
  int Row() const { return row_; }
  void SetRow(int v) { FocusCell(col_, v); }
  // Moves the current cell; OnSelectCell may refuse. Returns whether it moved.
  bool FocusCell(int col, int row);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int v);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int v);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions v) { options_ = v; }
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool v) { defaultDrawing_ = v; }
  // The cell's rectangle in the grid's coordinates.
  TRect CellRect(int col, int row) const;
  bool WantsKey(Word key, TShiftState shift) const override;
  void KeyDown(Word& key, TShiftState shift) override;

  TSelectCellEvent OnSelectCell;
  TDrawCellEvent OnDrawCell;

 private:
  int colCount_ = 5;
  int rowCount_ = 5;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int col_ = 1;
  int row_ = 1;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  std::map<int, int> colWidths_;
  std::map<int, int> rowHeights_;
  TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  bool defaultDrawing_ = true;
};

class TStringGrid : public TDrawGrid {
  NV_CLASS(TStringGrid, TDrawGrid)
 public:
  explicit TStringGrid(TComponent* owner) : TDrawGrid(owner) {}
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  // The texts of one row or column, as a list (a copy; write back with SetRows/SetCols).
  std::vector<std::string> Rows(int row) const;
  void SetRows(int row, const std::vector<std::string>& texts);
  std::vector<std::string> Cols(int col) const;
  void SetCols(int col, const std::vector<std::string>& texts);
  void SetColCount(int v) override;
  void SetRowCount(int v) override;

 private:
  std::map<std::pair<int, int>, std::string> cells_;
};

}  // namespace nv
