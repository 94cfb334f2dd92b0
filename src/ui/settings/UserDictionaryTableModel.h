// The user-dictionary editor's working copy: a table of words and their frequencies, both
// edited in place, that becomes the edited list when the editor saves. Main thread.
#pragma once

#include <QAbstractTableModel>
#include <QModelIndex>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <set>
#include <vector>

#include "engine/learning/UserDictionaryFormat.h"
#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom {

class UserDictionaryTableModel : public QAbstractTableModel {
 public:
  enum Column { wordColumn = 0, frequencyColumn = 1 };

  /// Creates a model holding `entries`, in that order, with headers in `language`.
  UserDictionaryTableModel(std::vector<UserDictionaryEntry> entries, InterfaceLanguage language,
                           QObject* parent = nullptr);

  /// Returns the frequency that `typed` stands for: its decimal value, or 1 when it is not a
  /// whole number or below 2. Spaces and tabs around it do not count.
  [[nodiscard]] static std::int64_t frequencyOf(const QString& typed);

  /// Returns the number of entries under the root, none under an entry.
  [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
  /// Returns 2 under the root: the word and the frequency.
  [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
  /// Returns the text of a cell for showing and editing; frequencies align to the right.
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  /// Returns the column titles.
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                    int role) const override;
  /// Makes every cell selectable and editable.
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
  /// Stores what was typed into a cell: a word trimmed of whitespace and line breaks (an
  /// empty word stays until the editor saves), a frequency as frequencyOf() reads it.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  /// Removes `count` rows from `row` on.
  bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

  /// Inserts an empty word of frequency 1 as the first row.
  void addEmptyRow();
  /// Removes exactly `rows`; rows outside the table are ignored.
  void removeRows(const std::set<int>& rows);

  /// Returns every entry of the working copy, empty words included, in row order.
  [[nodiscard]] const std::vector<UserDictionaryEntry>& entries() const { return entries_; }
  /// Returns the entries whose trimmed word is not empty, in row order: what Save hands on.
  [[nodiscard]] std::vector<UserDictionaryEntry> savedEntries() const;

 private:
  std::vector<UserDictionaryEntry> entries_;
  InterfaceLanguage language_;
};

}  // namespace yakdrom
