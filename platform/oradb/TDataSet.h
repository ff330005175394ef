#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "rtl/TDateTime.h"

enum class TFieldType { ftUnknown, ftString, ftInteger, ftFloat, ftDate, ftDateTime, ftBoolean };

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// A value handed to Locate: NULL, text, number, integer or date-time.
using TVariant = std::variant<std::monostate, std::string, double, long long, TDateTime>;

// One column's definition.
struct TFieldDef {
  std::string Name;  // upper case
  TFieldType DataType = TFieldType::ftString;
  int Size = 0;  // texts: width in characters (0 = unbounded)
  bool Required = false;
};

class TDataSet;

// A column of the current row. Values are kept as text (as the server sends them) and converted
// on access: numbers read as their shortest decimal text, dates as "dd/mm/yyyy[ hh:nn:ss]".
class TField {
 public:
  TField(TDataSet& dataset, std::size_t index) : FDataSet(&dataset), FIndex(index) {}

  [[nodiscard]] const std::string& FieldName() const;
  [[nodiscard]] TFieldType DataType() const;
  [[nodiscard]] int Size() const;
  [[nodiscard]] bool IsNull() const;
  [[nodiscard]] std::string AsString() const;
  [[nodiscard]] double AsFloat() const;        // NULL reads 0
  [[nodiscard]] long long AsInteger() const;   // NULL reads 0; a fraction is rounded
  [[nodiscard]] TDateTime AsDateTime() const;  // NULL reads 0
  [[nodiscard]] bool AsBoolean() const;

  // Only in dsEdit/dsInsert. Empty text is stored as NULL.
  void SetAsString(const std::string& value);
  void SetAsFloat(double value);
  void SetAsInteger(long long value);
  void SetAsDateTime(TDateTime value);
  void SetAsBoolean(bool value);
  void Clear();

  // The value the row had before the current edit (for OLD_ binds of an update statement).
  [[nodiscard]] std::optional<std::string> OldValue() const;
  [[nodiscard]] const std::optional<std::string>& RawValue() const;

 private:
  [[nodiscard]] const TFieldDef& Def() const;
  [[nodiscard]] std::string Label() const;

  TDataSet* FDataSet;
  std::size_t FIndex;
};

// Rows in memory with a cursor, client-side filter, edits and look-ups. Base of queries and
// client datasets.
class TDataSet {
 public:
  using TRow = std::vector<std::optional<std::string>>;

  TDataSet();
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  [[nodiscard]] bool Active() const noexcept { return FState != TDataSetState::dsInactive; }
  [[nodiscard]] TDataSetState State() const noexcept { return FState; }
  virtual void Close();

  // Navigation over the visible rows (those the filter admits).
  void First();
  void Next();
  void Prior();
  void Last();
  [[nodiscard]] bool Eof() const noexcept;
  [[nodiscard]] bool Bof() const noexcept;
  [[nodiscard]] bool IsEmpty() const;
  // Visible rows held in memory (for a unidirectional query: those of the current chunk).
  [[nodiscard]] std::size_t RecordCount() const;
  // 1-based position among the visible rows, 0 when none.
  [[nodiscard]] std::size_t RecNo() const;

  [[nodiscard]] std::size_t FieldCount() const noexcept { return FFieldDefs.size(); }
  [[nodiscard]] const std::vector<TFieldDef>& FieldDefs() const noexcept { return FFieldDefs; }
  // Case-insensitive. Throws Exception("Campo 'X' não encontrado.") when missing.
  [[nodiscard]] TField FieldByName(std::string_view name);
  [[nodiscard]] std::optional<TField> FindField(std::string_view name);
  [[nodiscard]] TField Fields(std::size_t index);

  // Client-side filter such as "STATUS_PARCEIRO = 'A'" or "CODCONTA = 10 AND VALOR > 0":
  // comparisons (=, <>, <, <=, >, >=, IS [NOT] NULL, LIKE with %) joined by AND/OR/NOT and
  // parentheses; literals are 'text' or numbers. A malformed filter throws Exception.
  void SetFilter(const std::string& filter);
  [[nodiscard]] const std::string& Filter() const noexcept { return FFilter; }
  void SetFiltered(bool filtered);
  [[nodiscard]] bool Filtered() const noexcept { return FFiltered; }

  // Moves to the first visible row whose fields ("A;B") equal `values`; false leaves the cursor.
  bool Locate(const std::string& key_fields, const std::vector<TVariant>& values, bool case_insensitive = false);

  // Edits. Post validates required fields and text widths (Exception with a Portuguese text).
  // Moving the cursor, filtering or locating while editing posts the edit first. Edit of an empty
  // dataset appends.
  virtual void Edit();
  virtual void Append();
  virtual void Post();
  virtual void Cancel();
  virtual void Delete();

 protected:
  friend class TField;

  // Replaces definitions and rows (a freshly opened result); cursor on the first visible row.
  void Load(std::vector<TFieldDef> defs, std::vector<TRow> rows);
  void SetState(TDataSetState state) noexcept { FState = state; }
  [[nodiscard]] std::vector<TRow>& Rows() noexcept { return FRows; }
  [[nodiscard]] std::vector<TFieldDef>& MutableFieldDefs() noexcept { return FFieldDefs; }
  [[nodiscard]] std::optional<std::size_t> CurrentRowIndex() const;
  [[nodiscard]] const TRow* EditBuffer() const noexcept;
  [[nodiscard]] const TRow* OldRow() const noexcept;

  // Hooks for datasets backed by a server: write the posted row / delete the current one.
  virtual void DoPostEdit(const TRow& old_row, const TRow& new_row);
  virtual void DoPostInsert(const TRow& new_row);
  virtual void DoDelete(const TRow& row);
  // Unidirectional datasets fetch more rows when the cursor reaches the end of what is loaded.
  virtual bool FetchMore(std::vector<TRow>& rows);
  // A forward-only dataset keeps one chunk of rows in memory: each FetchMore replaces the last,
  // and First/Prior/Last back over dropped rows are refused.
  void SetForwardOnly(bool forward_only) noexcept { FForwardOnly = forward_only; }
  [[nodiscard]] bool ForwardOnly() const noexcept { return FForwardOnly; }

 private:
  struct FilterNode;
  [[nodiscard]] std::optional<std::size_t> FieldIndex(std::string_view name) const;
  [[nodiscard]] std::size_t RequireField(std::string_view name) const;
  [[nodiscard]] const std::optional<std::string>& Cell(std::size_t field_index) const;
  void SetCell(std::size_t field_index, std::optional<std::string> value);
  [[nodiscard]] bool Visible(std::size_t row_index) const;
  // The first visible row at or after `from` (direction 1) or at or before it (-1).
  [[nodiscard]] std::optional<std::size_t> FindVisible(std::size_t from, int direction) const;
  // Loads the next chunk of a forward-only dataset; false when the source is exhausted.
  bool LoadNextChunk();
  // Posts a pending edit before the cursor moves, as a browse operation requires.
  void CheckBrowseMode();
  void CheckActive() const;
  void PlaceAfterChange(std::size_t row_index);

  std::vector<TFieldDef> FFieldDefs;
  std::vector<TRow> FRows;
  std::size_t FCursor = 0;  // index into FRows of the current row; FRows.size() when there is none
  bool FEof = true;
  bool FBof = true;
  TDataSetState FState = TDataSetState::dsInactive;
  TRow FEditBuffer;
  TRow FOldRow;
  std::string FFilter;
  bool FFiltered = false;
  std::shared_ptr<const FilterNode> FFilterTree;
  bool FForwardOnly = false;
  std::size_t FPassedRows = 0;  // forward-only: visible rows of the chunks already dropped
};
