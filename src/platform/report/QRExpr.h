#pragma once
// The expressions layouts print: field references ("ClientDataSet1.TD001", or a bare field
// of the report's data set), string literals ('text', '' for a quote), numbers, "+" (sum of
// numbers, otherwise joined as text), "-", comparisons (= <> < > <= >=), parentheses and
// the report functions (PAGENUMBER, REPORTTITLE, ...). The evaluator knows no report: names
// are resolved through the environment, so it is tested on its own.
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/SysUtils.h"

namespace nv {

NV_DECLARE_EXCEPTION(EQRExprError, Exception);

struct TQRValue {
  enum Kind { Number, String, Boolean } Type = String;
  double Num = 0;
  std::string Str;
  bool Bool = false;

  static TQRValue OfNumber(double v);
  static TQRValue OfString(std::string v);
  static TQRValue OfBoolean(bool v);
  // As a printed text: numbers as FloatToStr writes them, booleans True/False.
  std::string AsText() const;
  friend bool operator==(const TQRValue&, const TQRValue&) = default;
};

struct TQRExprEnv {
  // dataSet is empty for a bare name; return false when the name is unknown.
  std::function<bool(std::string_view dataSet, std::string_view field, TQRValue& value)> Field;
  std::function<bool(std::string_view name, TQRValue& value)> Function;
};

// Raises EQRExprError naming the expression and what is wrong where.
TQRValue EvaluateExpression(std::string_view expression, const TQRExprEnv& env);

}  // namespace nv
