#pragma once

#include <string>
#include <vector>

#include "oradb/TDataSet.h"

// An in-memory dataset: defined field by field (CreateDataSet) or copied from an open dataset
// as a provider would. Edits are logged so CancelUpdates can discard them.
class TClientDataSet : public TDataSet {
 public:
  TClientDataSet() = default;

  void AddFieldDef(const std::string& name, TFieldType type, int size = 0, bool required = false);
  void ClearFieldDefs() noexcept { FDefs.clear(); }
  [[nodiscard]] const std::vector<TFieldDef>& PendingFieldDefs() const noexcept { return FDefs; }
  void CreateDataSet();
  // Removes all rows; keeps the fields.
  void EmptyDataSet();

  // Copies fields and visible rows from an open dataset (a provider on an open query).
  void CopyFrom(TDataSet& source);

  // Discards the edits since CreateDataSet / CopyFrom / the last MergeChangeLog.
  void CancelUpdates();
  void MergeChangeLog();
  [[nodiscard]] bool HasChanges() const noexcept { return FChanged; }

 protected:
  void DoPostEdit(const TRow& old_row, const TRow& new_row) override;
  void DoPostInsert(const TRow& new_row) override;
  void DoDelete(const TRow& row) override;

 private:
  std::vector<TFieldDef> FDefs;
  std::vector<TRow> FSnapshot;
  bool FChanged = false;
};
