#include "ui/settings/UserDictionaryTableModel.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "ui/LocalizedText.h"

namespace yakdrom {
namespace {

struct ColumnTitle {
  std::string_view chinese;
  std::string_view english;
};

constexpr ColumnTitle kColumnTitles[] = {{"词条", "Word"}, {"频次", "Frequency"}};

std::string_view trimmedWord(std::string_view word) {
  return UserDictionaryFormat::trimWord(word, true);
}

}  // namespace

UserDictionaryTableModel::UserDictionaryTableModel(std::vector<UserDictionaryEntry> entries,
                                                   InterfaceLanguage language, QObject* parent)
    : QAbstractTableModel(parent), entries_(std::move(entries)), language_(language) {}

std::int64_t UserDictionaryTableModel::frequencyOf(const QString& typed) {
  const QByteArray bytes = typed.toUtf8();
  std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return 1;
  text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return 1;
  return std::max<std::int64_t>(value, 1);
}

int UserDictionaryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int UserDictionaryTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::size(kColumnTitles));
}

QVariant UserDictionaryTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const UserDictionaryEntry& entry = entries_[static_cast<std::size_t>(index.row())];
  const bool frequency = index.column() == frequencyColumn;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      // Text in both roles, so the cell edits in a line edit that takes anything typed.
      return frequency ? QString::number(entry.freq) : QString::fromStdString(entry.word);
    case Qt::TextAlignmentRole:
      return frequency ? static_cast<int>(Qt::AlignRight | Qt::AlignVCenter)
                       : static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant UserDictionaryTableModel::headerData(int section, Qt::Orientation orientation,
                                              int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= columnCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  const ColumnTitle& title = kColumnTitles[section];
  return localizedText(language_, title.chinese, title.english);
}

Qt::ItemFlags UserDictionaryTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool UserDictionaryTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return false;
  UserDictionaryEntry& entry = entries_[static_cast<std::size_t>(index.row())];
  const QString typed = value.toString();
  if (index.column() == frequencyColumn) {
    entry.freq = frequencyOf(typed);
  } else {
    entry.word = std::string(trimmedWord(typed.toStdString()));
  }
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

bool UserDictionaryTableModel::removeRows(int row, int count, const QModelIndex& parent) {
  if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount()) return false;
  beginRemoveRows({}, row, row + count - 1);
  const auto first = entries_.begin() + row;
  entries_.erase(first, first + count);
  endRemoveRows();
  return true;
}

void UserDictionaryTableModel::addEmptyRow() {
  beginInsertRows({}, 0, 0);
  entries_.insert(entries_.begin(), UserDictionaryEntry{"", 1});
  endInsertRows();
}

void UserDictionaryTableModel::removeRows(const std::set<int>& rows) {
  // From the last row up, so that the rows still to go keep their numbers.
  std::for_each(rows.rbegin(), rows.rend(), [this](int row) { removeRows(row, 1); });
}

std::vector<UserDictionaryEntry> UserDictionaryTableModel::savedEntries() const {
  std::vector<UserDictionaryEntry> saved;
  std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(saved),
               [](const UserDictionaryEntry& entry) { return !trimmedWord(entry.word).empty(); });
  return saved;
}

}  // namespace yakdrom
